#include "engine/phase1/TreeCache.h"

#include <bit>

#include "core/RandomStreams.h"

namespace orr::phase1 {

namespace {

// Beyond this many distinct trees per thread (heights in many decimals) new trees are computed
// without being kept, so the memory stays bounded.
constexpr std::size_t kMostKept = 1 << 20;

}  // namespace

std::size_t TreeCache::KeyHash::operator()(const Key& key) const {
    const std::uint64_t codes =
        (static_cast<std::uint64_t>(static_cast<std::uint32_t>(key.species)) << 32) |
        static_cast<std::uint32_t>(key.plotAge);
    return static_cast<std::size_t>(mix(key.height ^ mix(codes)));
}

std::optional<GroundTree> TreeCache::compute(int species, double h, int plotAge) {
    // 0.0 and -0.0 are the same height; any other height has one bit pattern.
    const Key key{std::bit_cast<std::uint64_t>(h + 0.0), species, plotAge};
    if (const auto found = known_.find(key); found != known_.end()) return found->second;
    const std::optional<GroundTree> tree = rule_->compute(species, h, plotAge);
    if (known_.size() < kMostKept) known_.emplace(key, tree);
    return tree;
}

}  // namespace orr::phase1
