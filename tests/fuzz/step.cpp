// Step FUZZED_STEP (5 to 9, set by the build) with one of its input files made of the fuzzer's
// bytes: it completes or stops with a message, never crashes, and leaves no temporary or changed
// file when it stops.
#include "tests/fuzz/StepFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return orr::fuzz::fuzzStep(FUZZED_STEP, data, size);
}
