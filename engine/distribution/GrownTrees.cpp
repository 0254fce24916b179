#include "engine/distribution/GrownTrees.h"

#include <bit>

#include "core/RandomStreams.h"

namespace orr::distribution {

std::uint64_t GrownTrees::codesKey(int species, int treeAge) {
    return mix((static_cast<std::uint64_t>(static_cast<std::uint32_t>(species)) << 32) |
               static_cast<std::uint32_t>(treeAge));
}

// 0.0 and -0.0 are the same height; any other height has one bit pattern.
std::size_t GrownTrees::slotIndex(std::uint64_t codesKey, double h) {
    return static_cast<std::size_t>(mix(std::bit_cast<std::uint64_t>(h + 0.0) ^ codesKey)) &
           (kSlots - 1);
}

GrownTrees::Slot& GrownTrees::slotAt(std::size_t index, int species, int treeAge, double h) {
    const auto height = std::bit_cast<std::uint64_t>(h + 0.0);
    Slot& at = slots_[index];
    if (!at.grown || at.height != height || at.species != species || at.treeAge != treeAge) {
        at = Slot{};
        at.height = height;
        at.species = species;
        at.treeAge = treeAge;
    }
    return at;
}

void GrownTrees::growAll(int species, int age, std::span<const double> heights,
                         std::vector<LidarTree>& trees, std::vector<std::uint32_t>& slots) {
    if (!slots_) slots_ = std::make_unique<Slot[]>(kSlots);
    const int treeAge = lidarTreeAge(*rule_.params, age);
    const std::uint64_t codes = codesKey(species, treeAge);
    const std::size_t first = slots.size();
    for (const double h : heights) {
        const std::size_t index = slotIndex(codes, h);
        __builtin_prefetch(&slots_[index]);
        slots.push_back(static_cast<std::uint32_t>(index));
    }
    for (std::size_t i = 0; i < heights.size(); ++i) {
        Slot& kept = slotAt(slots[first + i], species, treeAge, heights[i]);
        if (!kept.grown) {
            kept.tree = growLidarTree(rule_, species, age, heights[i]);
            kept.grown = true;
        }
        trees.push_back(kept.tree);
    }
}

double GrownTrees::volumeAt(std::uint32_t slot, int species, int age, double h,
                            const LidarTree& tree) {
    Slot& kept = slotAt(slot, species, lidarTreeAge(*rule_.params, age), h);
    if (!kept.grown) {
        // Another tree took the slot since this one was grown: it is kept again.
        kept.tree = tree;
        kept.grown = true;
    }
    if (!kept.measured) {
        kept.volume = lidarTreeVolume(rule_, species, tree);
        kept.measured = true;
    }
    return kept.volume;
}

}  // namespace orr::distribution
