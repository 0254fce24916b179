#include "engine/distribution/GrownTrees.h"

#include <bit>

#include "core/RandomStreams.h"

namespace orr::distribution {

GrownTrees::Slot& GrownTrees::slot(int species, int age, double h) {
    if (!slots_) slots_ = std::make_unique<Slot[]>(kSlots);
    // 0.0 and -0.0 are the same height; any other height has one bit pattern.
    const auto height = std::bit_cast<std::uint64_t>(h + 0.0);
    const std::uint64_t codes =
        (static_cast<std::uint64_t>(static_cast<std::uint32_t>(species)) << 32) |
        static_cast<std::uint32_t>(age);
    Slot& at = slots_[static_cast<std::size_t>(mix(height ^ mix(codes))) & (kSlots - 1)];
    if (!at.grown || at.height != height || at.species != species || at.age != age) {
        at = Slot{};
        at.height = height;
        at.species = species;
        at.age = age;
    }
    return at;
}

LidarTree GrownTrees::grow(int species, int age, double h) {
    Slot& kept = slot(species, age, h);
    if (!kept.grown) {
        kept.tree = growLidarTree(rule_, species, age, h);
        kept.grown = true;
    }
    return kept.tree;
}

double GrownTrees::volume(int species, int age, double h, const LidarTree& tree) {
    Slot& kept = slot(species, age, h);
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
