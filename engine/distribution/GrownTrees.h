// The trees of step 6 depend on a LiDAR height, a species and (with ModelSet 1's equations) the
// plot's stratum age alone, in one data-set pass (lidarTreeAge), and the Phase 2 plots share their
// heights when these come in tenths of a foot: each thread keeps the trees it has grown and the
// volumes it was asked for, so that the equations run once per distinct tree of its plots rather
// than once in every plot. The table has a fixed number of slots (a tree takes the slot of its
// hash, in place of the one there), so heights that seldom repeat cost it little memory. The trees
// and volumes are those the rule gives.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "engine/distribution/LidarTree.h"

namespace orr::distribution {

class GrownTrees {
  public:
    explicit GrownTrees(const TreeRuleSetup& rule) : rule_(rule) {}

    // growLidarTree(rule, species, age, h) for each of the heights, remembered, appended to
    // `trees` in their order; the slot of each is appended to `slots`, for volumeAt. The slots of
    // the heights are fetched from memory side by side rather than one after the other.
    void growAll(int species, int age, std::span<const double> heights,
                 std::vector<LidarTree>& trees, std::vector<std::uint32_t>& slots);
    // lidarTreeVolume(rule, species, tree) of the tree that growAll gave for (species, age, h) in
    // `slot`, remembered (the tree is kept in its slot again when another tree has taken it since).
    double volumeAt(std::uint32_t slot, int species, int age, double h, const LidarTree& tree);

  private:
    struct Slot {
        std::uint64_t height = 0;  // the bits of the LiDAR height
        std::int32_t species = 0;
        std::int32_t treeAge = 0;  // lidarTreeAge of the plot's stratum age
        LidarTree tree;
        double volume = 0;
        bool grown = false;     // the slot holds a tree
        bool measured = false;  // and its volume
    };
    static constexpr std::size_t kSlots = std::size_t{1} << 14;  // 1.2 MB
    // The slot at `index` (of a table growAll has made), emptied for the tree when another tree
    // held it.
    Slot& slotAt(std::size_t index, int species, int treeAge, double h);
    static std::uint64_t codesKey(int species, int treeAge);
    static std::size_t slotIndex(std::uint64_t codesKey, double h);

    TreeRuleSetup rule_;
    std::unique_ptr<Slot[]> slots_;  // made when first needed
};

}  // namespace orr::distribution
