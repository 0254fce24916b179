// The ground terms of a Phase 1 tree depend only on its species, its LiDAR height and its plot's
// stratum age. LiDAR heights in tenths of a foot come in few distinct values: each thread keeps the
// trees it has computed, so the equations (the taper search above all) run once per distinct tree
// instead of once per tree. Heights in hundredths are nearly all distinct; then most trees are
// computed afresh, and the table only has to cost little when it misses.
//
// The table is a fixed array of slots (no allocation per tree, its memory bounded): a tree is
// looked for in a few slots after the one its key hashes to, and a tree not found takes the
// first empty one of them, or else the one of them that was filled longest ago. The result is the
// same as computing every tree afresh.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>

#include "engine/phase1/LidarTreeRule.h"

namespace orr::phase1 {

class TreeCache {
  public:
    explicit TreeCache(const LidarTreeRule& rule);
    TreeCache(const TreeCache& other);
    TreeCache& operator=(const TreeCache&) = delete;
    TreeCache(TreeCache&&) noexcept = default;

    // LidarTreeRule::compute, remembered. Throws as it does (a stop is never remembered).
    std::optional<GroundTree> compute(int species, double h, int plotAge);

  private:
    // 2^17 slots of 56 bytes a thread, about 7 MB.
    static constexpr std::size_t kSlots = std::size_t{1} << 17;
    static constexpr std::size_t kProbes = 8;
    static constexpr std::int32_t kEmpty = std::numeric_limits<std::int32_t>::min();
    struct Slot {
        std::uint64_t height = 0;  // the bits of the LiDAR height
        std::int32_t species = 0;
        std::int32_t plotAge = kEmpty;  // kEmpty: the slot holds no tree
        GroundTree tree;
        bool counted = false;  // false: the tree is not counted (nullopt)
    };

    const LidarTreeRule* rule_;
    std::unique_ptr<Slot[]> slots_;
    std::size_t nextVictim_ = 0;  // which of the probed slots a new tree replaces
};

}  // namespace orr::phase1
