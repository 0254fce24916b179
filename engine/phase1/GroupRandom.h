// Random numbers of the Phase 1 draws. Every group of a pass has a generator of its own, seeded
// from the run seed, the pass and the group's position, so a run with a given seed gives the
// same species for every tree whatever order or thread the groups are computed in.
#pragma once

#include <cstdint>
#include <random>

#include "core/RandomStreams.h"

namespace orr::phase1 {

using orr::mix;

// Seed of the generator of the group at 0-based `position` among the groups of the LiDAR height
// file of `pass` (1 or 2).
inline std::uint64_t groupSeed(std::uint64_t runSeed, int pass, std::uint64_t position) {
    return streamSeed(runSeed, 0x700, pass, position);
}

// A uniform number in [0, 1) from the top 53 bits of one output.
inline double uniform(std::mt19937_64& g) {
    return uniform01(g);
}

}  // namespace orr::phase1
