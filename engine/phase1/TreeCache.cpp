#include "engine/phase1/TreeCache.h"

#include <bit>

#include "core/RandomStreams.h"

namespace orr::phase1 {

TreeCache::TreeCache(const LidarTreeRule& rule) : rule_(&rule), slots_(new Slot[kSlots]) {}

// A copy starts empty: what a thread has computed stays its own.
TreeCache::TreeCache(const TreeCache& other) : TreeCache(*other.rule_) {}

std::optional<GroundTree> TreeCache::compute(int species, double h, int plotAge) {
    // 0.0 and -0.0 are the same height; any other height has one bit pattern.
    const std::uint64_t height = std::bit_cast<std::uint64_t>(h + 0.0);
    const std::uint64_t codes =
        (static_cast<std::uint64_t>(static_cast<std::uint32_t>(species)) << 32) |
        static_cast<std::uint32_t>(plotAge);
    const std::size_t home = static_cast<std::size_t>(mix(height ^ mix(codes))) & (kSlots - 1);
    std::size_t free = kSlots;
    for (std::size_t i = 0; i < kProbes; ++i) {
        const Slot& slot = slots_[(home + i) & (kSlots - 1)];
        if (slot.plotAge == kEmpty) {
            free = (home + i) & (kSlots - 1);
            break;
        }
        if (slot.height == height && slot.species == species && slot.plotAge == plotAge) {
            if (!slot.counted) return std::nullopt;
            return slot.tree;
        }
    }
    const std::optional<GroundTree> tree = rule_->compute(species, h, plotAge);
    if (free == kSlots) {
        free = (home + nextVictim_) & (kSlots - 1);
        nextVictim_ = (nextVictim_ + 1) % kProbes;
    }
    Slot& slot = slots_[free];
    slot.height = height;
    slot.species = species;
    slot.plotAge = plotAge;
    slot.counted = tree.has_value();
    slot.tree = tree.value_or(GroundTree{});
    return tree;
}

}  // namespace orr::phase1
