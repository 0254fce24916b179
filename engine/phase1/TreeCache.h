// The ground terms of a Phase 1 tree depend only on its species, its LiDAR height and, with
// ModelSet 1's equations, its plot's stratum age (LidarTreeRule::treeAge). LiDAR heights come in
// hundredths or tenths of a foot and repeat across the plots of a stratum: the trees computed in a
// pass are kept, so the equations (the taper search above all) run about once per distinct tree
// instead of once per tree. The result is the same as computing every tree afresh.
//
// A height with a slot (heightSlot: tenths or hundredths of a foot) is kept in pages of 256 slots
// per species and tree age, made when first needed and shared by all threads of the pass
// (TreePages): a tree one thread computed serves the others, and each distinct tree takes memory
// once, not once per thread. The trees of a plot group share the age and a few species, so their
// pages stay in the processor's cache, and a tree found costs no hashing, no lock and no
// allocation.
// Any other height goes to a table of the thread's own, of fixed slots, by a hash of its bits (no
// allocation either): looked for in a few slots after the one it hashes to, a tree not found takes
// the first empty one of them, or else the one filled longest ago.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/phase1/HeightPages.h"
#include "engine/phase1/LidarTreeRule.h"

namespace orr::phase1 {

// The trees of a pass by species, tree age and height slot, for every thread of the pass. An
// entry is written once, by the thread that claimed it; the others read it once it is complete,
// or compute the tree themselves meanwhile.
class TreePages {
  public:
    enum class Known : std::uint8_t { No, Computing, Counted, NotCounted };
    struct Page {
        std::array<std::atomic<Known>, kSlotsPerPage> known{};
        std::array<GroundTree, kSlotsPerPage> trees;
    };
    // The pages of one species at one tree age, by height slot (nullptr: not made yet).
    using SpeciesPages = std::array<std::atomic<Page*>, kHeightSlots / kSlotsPerPage>;

    TreePages() = default;
    TreePages(const TreePages&) = delete;
    TreePages& operator=(const TreePages&) = delete;
    ~TreePages();

    // The pages of the species at the tree age `age` (LidarTreeRule::treeAge), made when first
    // asked for (they stay where they are); nullptr for a species code that is negative or
    // unusually large. Any thread.
    SpeciesPages* pagesOf(int species, int age);
    // The page at `at`, made when needed; nullptr when no further page may be made. Any thread.
    Page* page(std::atomic<Page*>& at);
    // Every entry unknown again, the pages kept for the next pass (whose equations differ). Only
    // while no thread uses the pages.
    void forget();

  private:
    // Pages made in all, beyond which further heights are computed without being kept, so that
    // the memory stays bounded (about 50 MB) whatever the heights.
    static constexpr std::size_t kMostPages = 8192;

    std::mutex lock_;  // guards pages_ (not the pages themselves)
    std::map<std::pair<int, int>, std::unique_ptr<SpeciesPages>> pages_;  // by (age, species)
    std::atomic<std::size_t> made_{0};
};

// One thread's way to the pass's trees: the shared pages, remembered by species and tree age, and
// the thread's own table of heights without a slot.
class TreeCache {
  public:
    TreeCache(const LidarTreeRule& rule, TreePages& pages);
    TreeCache(const TreeCache&) = delete;
    TreeCache& operator=(const TreeCache&) = delete;
    TreeCache(TreeCache&&) noexcept = default;
    ~TreeCache();

    using SpeciesPages = TreePages::SpeciesPages;

    // LidarTreeRule::compute, remembered. Throws as it does (a stop is never remembered).
    std::optional<GroundTree> compute(int species, double h, int plotAge) {
        const GroundTree* tree =
            find(pagesOf(species, plotAge), heightSlot(h), species, h, plotAge);
        return tree ? std::optional<GroundTree>(*tree) : std::nullopt;
    }
    // The same as a pointer to the tree, nullptr when it is not counted, with the pages
    // pagesOf(species, plotAge) gave and the height's slot heightSlot(h): for runs of trees that
    // share them, and a tree looked up in several species. The tree is read where it is kept
    // (not copied out to be read back); it stays until the next call on this cache.
    const GroundTree* find(SpeciesPages* pages, std::optional<std::size_t> slot, int species,
                           double h, int plotAge) {
        if (pages && slot) {
            const TreePages::Page* page =
                (*pages)[*slot / kSlotsPerPage].load(std::memory_order_acquire);
            if (page) {
                const std::size_t at = *slot % kSlotsPerPage;
                const TreePages::Known known = page->known[at].load(std::memory_order_acquire);
                if (known == TreePages::Known::Counted) return &page->trees[at];
                if (known == TreePages::Known::NotCounted) return nullptr;
            }
            return paged(*pages, *slot, species, h, plotAge);
        }
        return hashed(species, h, plotAge);
    }
    // The shared pages of the species at plotAge's tree age; nullptr for a species code that is
    // negative or unusually large.
    SpeciesPages* pagesOf(int species, int plotAge);

  private:
    const GroundTree* hashed(int species, double h, int plotAge);
    // The tree of `slot`, not known yet (or its page not made yet): computed, and kept unless
    // another thread is computing it.
    const GroundTree* paged(SpeciesPages& pages, std::size_t slot, int species, double h,
                            int plotAge);
    // A tree computed and not kept (no page could be made, or another thread is computing it):
    // nullptr when it is not counted, else the tree in spare_.
    const GroundTree* unkept(int species, double h, int plotAge);

    static constexpr std::size_t kSlots = std::size_t{1} << 15;
    static constexpr std::size_t kProbes = 8;
    static constexpr std::int32_t kEmpty = std::numeric_limits<std::int32_t>::min();
    struct Slot {
        std::uint64_t height = 0;  // the bits of the LiDAR height
        std::int32_t species = 0;
        std::int32_t treeAge = kEmpty;  // LidarTreeRule::treeAge; kEmpty: the slot holds no tree
        GroundTree tree;
        bool counted = false;  // false: the tree is not counted (nullopt)
    };

    const LidarTreeRule* rule_;
    TreePages* shared_;
    // [tree age][species]: the shared pages, by tree age and species code, as this thread has
    // asked for them.
    std::unordered_map<int, std::vector<SpeciesPages*>> byAge_;
    int lastAge_ = kEmpty;  // the tree age of the last look-up, and its species' pages
    std::vector<SpeciesPages*>* lastAgePages_ = nullptr;
    std::unique_ptr<Slot[]> slots_;  // made when first needed
    std::size_t nextVictim_ = 0;     // which of the probed slots a new tree replaces
    GroundTree spare_;               // the last tree computed and not kept
};

}  // namespace orr::phase1
