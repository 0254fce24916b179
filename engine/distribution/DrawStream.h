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
    // Uniform in [0, 1), 53 random bits.
    double next() { return uniform01(generator_); }

  private:
    MersenneTwister64 generator_;
};

}  // namespace orr::distribution
