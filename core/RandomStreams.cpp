#include "core/RandomStreams.h"

#include <chrono>

namespace orr {

void MersenneTwister64::twistBlock() {
    // From here on blocks are twisted whole: the words of the first block were twisted one by one
    // as they were drawn, or are twisted in this call (nextBlock on a generator that drew nothing).
    firstBlock_ = false;
    twistWords(kWords);
}

std::uint64_t clockSeed() {
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    return mix(static_cast<std::uint64_t>(ticks)) & ((std::uint64_t{1} << 53) - 1);
}

}  // namespace orr
