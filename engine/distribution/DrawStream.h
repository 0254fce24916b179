// The random numbers of step 6: one generator per plot and data-set pass, so that every plot
// draws the same numbers whatever the order in which plots are computed and on which thread.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/RandomStreams.h"

namespace orr::distribution {

// The salt that sets the LiDAR distribution's streams apart from those of other steps.
inline constexpr std::uint64_t kDistributionSalt = 0x600;

// The least draw m (drawBits of a DrawStream number) whose m / 2^53 lies above `bound`, a number in
// [0, 1]: m / 2^53 > bound exactly when m >= this. bound * 2^53 is exact (a power of two), and a
// whole number lies above it when it is at least its floor plus one.
inline std::uint64_t drawAbove(double bound) {
    return static_cast<std::uint64_t>(std::floor(std::ldexp(bound, 53))) + 1;
}

class DrawStream {
  public:
    // The stream of the plot at 0-based `position` in _PH2Plot.csv, in pass 1 or 2.
    DrawStream(std::uint64_t runSeed, int pass, std::uint64_t position)
        : generator_(streamSeed(runSeed, kDistributionSalt, pass, position)) {}
    // The generator's next numbers, at most `most` of them (at least one when `most` is not 0),
    // valid until the next call. A draw is the 53 random bits m of a number (drawBits): it is
    // uniform01 of the number, m / 2^53 in [0, 1), which is compared with a bound in whole
    // numbers (drawAbove). A plot draws thousands, made a block of the generator at a time and
    // taken as many at once as the block holds.
    std::span<const std::uint64_t> take(std::size_t most) {
        if (at_ == kBlock) refill();
        const auto count = std::min<std::size_t>(most, static_cast<std::size_t>(kBlock - at_));
        const std::span<const std::uint64_t> numbers(words_ + at_, count);
        at_ += static_cast<int>(count);
        return numbers;
    }

  private:
    static constexpr int kBlock = MersenneTwister64::kWords;
    void refill() {
        generator_.nextBlock(words_);
        at_ = 0;
    }

    MersenneTwister64 generator_;
    int at_ = kBlock;
    std::uint64_t words_[kBlock];
};

}  // namespace orr::distribution
