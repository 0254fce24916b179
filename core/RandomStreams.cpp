#include "core/RandomStreams.h"

#include <chrono>

namespace orr {

void MersenneTwister64::twistBlock() {
    if (firstBlock_) {
        // Every number of the first block was drawn, so every word of it was twisted.
        firstBlock_ = false;
    }
    // Three runs without a dependence inside any of them, which the compiler can do several
    // words at a time.
    for (int i = 0; i < kWords - kShift; ++i) x_[i] = twisted(x_[i], x_[i + 1], x_[i + kShift]);
    for (int i = kWords - kShift; i < kWords - 1; ++i)
        x_[i] = twisted(x_[i], x_[i + 1], x_[i + kShift - kWords]);
    x_[kWords - 1] = twisted(x_[kWords - 1], x_[0], x_[kShift - 1]);
}

std::uint64_t clockSeed() {
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    return mix(static_cast<std::uint64_t>(ticks)) & ((std::uint64_t{1} << 53) - 1);
}

}  // namespace orr
