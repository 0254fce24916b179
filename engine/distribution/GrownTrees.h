// The trees of step 6 depend on a LiDAR height, a species, the plot's stratum age as the equations
// take it (lidarTreeAge) and, with heights adjusted by the ground-height equations, the data-set
// pass (lidarTreePass) alone, and the Phase 2 plots share their heights: in tenths or hundredths of
// a foot a data set of thousands of plots has a few thousand distinct heights per species. The
// equations run about once per distinct tree of the step instead of once in every plot:
// - SharedTrees keeps the trees for all threads and both passes, in a table of fixed size by a
//   hash of the tree: a tree one thread grew serves the others, and each distinct tree takes
//   memory once. An entry is written once, by the thread that claimed it; the others read it once
//   it is complete, or grow the tree themselves meanwhile.
// - GrownTrees is one thread's way to them, with a table of its own for the trees that found no
//   room in the shared one (it is full): a fixed number of slots, a tree taking the slot of its
//   hash in place of the one there, so that heights that seldom repeat cost it little memory.
// The trees and volumes are those the rule gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "engine/distribution/LidarTree.h"

namespace orr::distribution {

class SharedTrees {
  public:
    // Room for about `trees` distinct trees, at most kMostEntries (8 MB). The memory is the
    // system's zeroed pages, taken as the threads first write to them rather than all at once
    // here.
    explicit SharedTrees(std::size_t trees);
    ~SharedTrees();
    SharedTrees(const SharedTrees&) = delete;
    SharedTrees& operator=(const SharedTrees&) = delete;

  private:
    friend class GrownTrees;
    enum class State : std::uint8_t { Free, Claimed, Kept };
    // One cache line; all zero is an entry that holds nothing. The threads reach `state`,
    // `measured` and `volume` through std::atomic_ref only.
    struct alignas(64) Entry {
        State state;
        bool measured;      // the volume is kept
        std::uint8_t kind;  // LidarTree::Kind
        std::int8_t pass;   // lidarTreePass
        std::int32_t species;
        std::int32_t treeAge;  // lidarTreeAge
        std::uint64_t height;  // the bits of the LiDAR height
        double dbh;
        double dbh1;
        double groundHeight;
        double basalArea;
        std::uint64_t volume;  // the bits of the volume
    };
    static_assert(sizeof(Entry) == 64);
    static constexpr std::size_t kMostEntries = std::size_t{1} << 17;
    // A tree is looked for in this many entries from the one of its hash.
    static constexpr std::size_t kProbes = 8;

    std::size_t size_;
    Entry* entries_;
};

class GrownTrees {
  public:
    // `shared` null: the thread's own table alone.
    explicit GrownTrees(const TreeRuleSetup& rule, SharedTrees* shared = nullptr)
        : rule_(rule), shared_(shared) {}

    // growLidarTree(rule, species, age, h) for each of the heights, remembered, appended to
    // `trees` in their order; where each is kept is appended to `slots`, for volumeAt. The
    // entries of the heights are fetched from memory side by side rather than one after the other.
    void growAll(int species, int age, std::span<const double> heights,
                 std::vector<LidarTree>& trees, std::vector<std::uint32_t>& slots);
    // lidarTreeVolume(rule, species, tree) of the tree that growAll gave for (species, age, h) in
    // `slot`, remembered (in the thread's own table the tree is kept in its slot again when
    // another tree has taken it since).
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
    // Slots of the thread's own table are told from entries of the shared one by this bit.
    static constexpr std::uint32_t kOwnSlot = std::uint32_t{1} << 31;
    // The slot at `index` of the thread's own table, emptied for the tree when another tree held
    // it.
    Slot& slotAt(std::size_t index, int species, int treeAge, double h);
    // The tree (species, age, h) from the thread's own table, grown when it is not there; its
    // slot (with kOwnSlot) into `slot`.
    LidarTree ownTree(int species, int age, double h, std::uint32_t& slot);
    // The shared entry holding the tree, or claimed for it (`claimed` true: the caller grows the
    // tree and keeps it); nullptr when neither is found among the probed entries.
    SharedTrees::Entry* sharedEntry(std::size_t home, int species, int treeAge, int pass,
                                    std::uint64_t height, bool& claimed);
    // The tree of a shared entry that was claimed: grown and kept there.
    LidarTree growInto(SharedTrees::Entry& entry, int species, int age, double h);
    static std::uint64_t codesKey(int species, int treeAge, int pass);
    static std::uint64_t hashOf(std::uint64_t codesKey, double h);

    TreeRuleSetup rule_;
    SharedTrees* shared_;
    std::unique_ptr<Slot[]> slots_;  // made when first needed
};

}  // namespace orr::distribution
