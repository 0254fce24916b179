// The random numbers of step 6: one generator per plot and data-set pass, so that every plot
// draws the same numbers whatever the order in which plots are computed and on which thread.
#pragma once

#include <cstdint>

#include "core/RandomStreams.h"

namespace orr::distribution {

// The salt that sets the LiDAR distribution's streams apart from those of other steps.
inline constexpr std::uint64_t kDistributionSalt = 0x600;

class DrawStream {
  public:
    // The stream of the plot at 0-based `position` in _PH2Plot.csv, in pass 1 or 2.
    DrawStream(std::uint64_t runSeed, int pass, std::uint64_t position)
        : generator_(streamSeed(runSeed, kDistributionSalt, pass, position)) {}
    // Uniform in [0, 1), 53 random bits: uniform01 of the generator's next number. A plot draws
    // thousands, made a block of the generator at a time.
    double next() {
        if (at_ == kBlock) refill();
        return draws_[at_++];
    }

  private:
    static constexpr int kBlock = MersenneTwister64::kWords;
    void refill() {
        generator_.nextBlock(words_);
        for (int i = 0; i < kBlock; ++i) draws_[i] = uniform01(words_[i]);
        at_ = 0;
    }

    MersenneTwister64 generator_;
    int at_ = kBlock;
    std::uint64_t words_[kBlock];
    double draws_[kBlock];
};

}  // namespace orr::distribution
