// The ground terms of a Phase 1 tree depend only on its species, its LiDAR height and its plot's
// stratum age, and LiDAR heights come in few distinct values (tenths of a foot): each thread keeps
// the trees it has computed, so the equations (the taper search above all) run once per distinct
// tree instead of once per tree. The result is the same as computing every tree afresh.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>

#include "engine/phase1/LidarTreeRule.h"

namespace orr::phase1 {

class TreeCache {
  public:
    explicit TreeCache(const LidarTreeRule& rule) : rule_(&rule) {}

    // LidarTreeRule::compute, remembered. Throws as it does (a stop is never remembered).
    std::optional<GroundTree> compute(int species, double h, int plotAge);

  private:
    struct Key {
        std::uint64_t height;  // the bits of the LiDAR height
        std::int32_t species;
        std::int32_t plotAge;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };

    const LidarTreeRule* rule_;
    std::unordered_map<Key, std::optional<GroundTree>, KeyHash> known_;
};

}  // namespace orr::phase1
