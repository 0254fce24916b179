// The step fuzz targets: a small valid data set, made once, whose files are written into a fresh
// application directory for every input; the fuzzer's bytes replace one of the step's input files
// and the step runs with a host that answers nothing (trees without a product code are dropped,
// the parameters are never changed).
#pragma once

#include <cstddef>
#include <cstdint>

namespace orr::fuzz {

// Runs step `step` (5 to 9) on the data set with one input replaced. The first byte chooses the
// file (its low four bits), the model set (bit 4) and the height adjustment (bit 5); when bit 6 is
// set, the next 16 bytes are
// parameters (PACF, MaxSpec, MaxProd, MaxItern as 16-bit integers, PTIP and STIP as 32-bit
// floats, little-endian) that replace the data set's, and the step runs only when they are in
// range, as the window and the command line start it only then. The rest becomes the file.
// Aborts when the step lets an exception out, leaves a temporary file behind, changes a file when
// it did not complete, or writes a number that is not finite. A step that takes too long is
// found by the per-input timeout of the fuzzer (and of the replay).
int fuzzStep(int step, const std::uint8_t* data, std::size_t size);

}  // namespace orr::fuzz
