// The random numbers of step 6: one generator per plot and data-set pass, so that every plot
// draws the same numbers whatever the order in which plots are computed.
#pragma once

#include <cstdint>
#include <random>

#include "core/RandomStreams.h"

namespace orr::distribution {

using orr::mix;
// Seed of the generator of the plot at `position` (0-based, in _PH2Plot.csv) in pass 1 or 2.
inline std::uint64_t plotSeed(std::uint64_t runSeed, int pass, std::uint64_t position) {
    return streamSeed(runSeed, 0x600, pass, position);
}

class DrawStream {
  public:
    DrawStream(std::uint64_t runSeed, int pass, std::uint64_t position)
        : generator_(plotSeed(runSeed, pass, position)) {}
    // Uniform in [0, 1), 53 random bits.
    double next() { return uniform01(generator_); }

  private:
    std::mt19937_64 generator_;
};

}  // namespace orr::distribution
