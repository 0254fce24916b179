// The ground terms of a Phase 1 tree depend only on its species, its LiDAR height and its plot's
// stratum age. LiDAR heights come in hundredths or tenths of a foot and repeat across the plots of
// a stratum: each thread keeps the trees it has computed, so the equations (the taper search above
// all) run once per distinct tree instead of once per tree. The result is the same as computing
// every tree afresh.
//
// A height with a slot (heightSlot: tenths or hundredths of a foot) is looked up by it, in
// pages of 256 slots per species and stratum age, made when first needed: the trees of a plot
// group share the age and a few species, so their pages stay in the processor's cache, and a
// tree costs no hashing and no allocation.
// Any other height goes to a table of fixed slots by a hash of its bits (no allocation either):
// looked for in a few slots after the one it hashes to, a tree not found takes the first empty one
// of them, or else the one filled longest ago.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "engine/phase1/HeightPages.h"
#include "engine/phase1/LidarTreeRule.h"

namespace orr::phase1 {

class TreeCache {
  public:
    explicit TreeCache(const LidarTreeRule& rule);
    TreeCache(const TreeCache& other);
    TreeCache& operator=(const TreeCache&) = delete;
    TreeCache(TreeCache&&) noexcept = default;
    ~TreeCache();

  private:
    enum class Known : std::uint8_t { No, Counted, NotCounted };
    struct Entry {
        GroundTree tree;
        Known known = Known::No;
    };
    using Page = std::unique_ptr<Entry[]>;

  public:
    // The pages of one species at one stratum age, by height slot.
    using SpeciesPages = std::vector<Page>;

    // LidarTreeRule::compute, remembered. Throws as it does (a stop is never remembered).
    std::optional<GroundTree> compute(int species, double h, int plotAge) {
        return compute(pagesOf(species, plotAge), species, h, plotAge);
    }
    // The same with the pages pagesOf(species, plotAge) gave, for a run of trees that share them.
    std::optional<GroundTree> compute(SpeciesPages* pages, int species, double h, int plotAge) {
        if (pages) {
            if (const std::optional<std::size_t> slot = heightSlot(h)) {
                Page& page = (*pages)[*slot / kSlotsPerPage];
                if (page) {
                    const Entry& entry = page[*slot % kSlotsPerPage];
                    if (entry.known == Known::Counted) return entry.tree;
                    if (entry.known == Known::NotCounted) return std::nullopt;
                }
                return paged(page, *slot % kSlotsPerPage, species, h, plotAge);
            }
        }
        return hashed(species, h, plotAge);
    }
    // The pages of the species at plotAge, made when first needed (they stay where they are);
    // nullptr for a species code that is negative or unusually large.
    SpeciesPages* pagesOf(int species, int plotAge);

  private:
    static constexpr std::size_t kPages = kHeightSlots / kSlotsPerPage;
    // Pages made in all, beyond which further heights are computed without being kept, so that
    // the memory stays bounded (about 80 MB a thread) whatever the heights.
    static constexpr std::size_t kMostPages = 8192;

    std::optional<GroundTree> hashed(int species, double h, int plotAge);
    // The tree of entry `at` of `page`, not known yet (or its page not made yet): computed and
    // kept.
    std::optional<GroundTree> paged(Page& page, std::size_t at, int species, double h, int plotAge);

    static constexpr std::size_t kSlots = std::size_t{1} << 15;
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
    // [plotAge][species]: the pages, by stratum age and species code.
    std::unordered_map<int, std::vector<std::unique_ptr<SpeciesPages>>> byAge_;
    int lastAge_ = kEmpty;  // the age of the last look-up, and its species' pages
    std::vector<std::unique_ptr<SpeciesPages>>* lastAgePages_ = nullptr;
    std::size_t pagesMade_ = 0;
    std::unique_ptr<Slot[]> slots_;  // made when first needed
    std::size_t nextVictim_ = 0;     // which of the probed slots a new tree replaces
};

}  // namespace orr::phase1
