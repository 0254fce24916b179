// Random numbers of the Phase 1 draws. Every group of a pass has a generator of its own, seeded
// from the run seed, the pass and the group's position, so a run with a given seed gives the
// same species for every tree whatever order or thread the groups are computed in.
#pragma once

#include <cstdint>
#include <random>

namespace orr::phase1 {

// SplitMix64's finaliser.
inline std::uint64_t mix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// Seed of the generator of the group at 0-based `position` among the groups of the LiDAR height
// file of `pass` (1 or 2).
inline std::uint64_t groupSeed(std::uint64_t runSeed, int pass, std::uint64_t position) {
    return mix(mix(runSeed ^ (0x700ULL + static_cast<std::uint64_t>(pass))) ^ position);
}

// A uniform number in [0, 1) from the top 53 bits of one output.
inline double uniform(std::mt19937_64& g) {
    return static_cast<double>(g() >> 11) * 0x1p-53;
}

}  // namespace orr::phase1
