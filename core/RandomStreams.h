// Random numbers of the random steps. Every plot (or plot group) of a data-set pass draws from a
// std::mt19937_64 of its own, seeded from the run seed mixed with a salt of the step, the pass
// and the plot's position by SplitMix64's finaliser. So a run with a given seed gives the same
// files on every machine, whatever the order or the thread in which plots are computed.
#pragma once

#include <cstdint>
#include <random>

namespace orr {

// SplitMix64's finaliser.
inline std::uint64_t mix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// Seed of the generator at 0-based `position` in pass 1 or 2 of a step whose salt is `stepSalt`
// (0x600 for the LiDAR distribution, 0x700 for the Phase 1 computation).
inline std::uint64_t streamSeed(std::uint64_t runSeed, std::uint64_t stepSalt, int pass,
                                std::uint64_t position) {
    return mix(mix(runSeed ^ (stepSalt + static_cast<std::uint64_t>(pass))) ^ position);
}

// A uniform number in [0, 1) from the top 53 bits of one output.
inline double uniform01(std::mt19937_64& g) {
    return static_cast<double>(g() >> 11) * 0x1p-53;
}

// A run seed from the clock, below 2^53 so that its decimal text gives it back exactly.
std::uint64_t clockSeed();

}  // namespace orr
