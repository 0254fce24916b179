// The step fuzz targets: a small valid data set, made once, whose files are written into a fresh
// application directory for every input; the fuzzer's bytes replace one of the step's input files
// and the step runs with a host that answers nothing (trees without a product code are dropped,
// the parameters are never changed).
#pragma once

#include <cstddef>
#include <cstdint>

namespace orr::fuzz {

// Runs step `step` (5 to 9) on the data set with one input replaced. The first byte chooses the
// file (and the model set and height adjustment); the rest becomes the file. Aborts when the
// step lets an exception out, leaves a temporary file behind, changes a file when it did not
// complete, or writes a number that is not finite.
int fuzzStep(int step, const std::uint8_t* data, std::size_t size);

}  // namespace orr::fuzz
