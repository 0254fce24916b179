#include "engine/distribution/DrawStream.h"

namespace orr::distribution {

std::uint64_t mix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

std::uint64_t plotSeed(std::uint64_t runSeed, int pass, std::uint64_t position) {
    const auto passSalt = static_cast<std::uint64_t>(0x600 + pass);
    return mix(mix(runSeed ^ passSalt) ^ position);
}

}  // namespace orr::distribution
