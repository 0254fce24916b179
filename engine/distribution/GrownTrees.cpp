#include "engine/distribution/GrownTrees.h"

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <new>

#include "core/RandomStreams.h"

namespace orr::distribution {

SharedTrees::SharedTrees(std::size_t trees)
    : size_(std::clamp<std::size_t>(std::bit_ceil(std::max<std::size_t>(trees, 1) * 2), 256,
                                    kMostEntries)) {
    void* memory = ::mmap(nullptr, size_ * sizeof(Entry), PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) throw std::bad_alloc();
    // Pages of 2 MB where the system offers them: fewer page faults (a hint; nothing if refused).
#ifdef MADV_HUGEPAGE
    ::madvise(memory, size_ * sizeof(Entry), MADV_HUGEPAGE);
#endif
    entries_ = static_cast<Entry*>(memory);
}

SharedTrees::~SharedTrees() {
    ::munmap(entries_, size_ * sizeof(Entry));
}

std::uint64_t GrownTrees::codesKey(int species, int treeAge, int pass) {
    return mix((static_cast<std::uint64_t>(static_cast<std::uint32_t>(species)) << 32) ^
               (static_cast<std::uint64_t>(static_cast<std::uint32_t>(pass)) << 30) ^
               static_cast<std::uint32_t>(treeAge));
}

// 0.0 and -0.0 are the same height; any other height has one bit pattern.
std::uint64_t GrownTrees::hashOf(std::uint64_t codesKey, double h) {
    return mix(std::bit_cast<std::uint64_t>(h + 0.0) ^ codesKey);
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

SharedTrees::Entry* GrownTrees::sharedEntry(std::size_t home, int species, int treeAge, int pass,
                                            std::uint64_t height, bool& claimed) {
    using State = SharedTrees::State;
    const std::size_t mask = shared_->size_ - 1;
    for (std::size_t i = 0; i < SharedTrees::kProbes; ++i) {
        SharedTrees::Entry& e = shared_->entries_[(home + i) & mask];
        std::atomic_ref<State> entryState(e.state);
        State state = entryState.load(std::memory_order_acquire);
        if (state == State::Free &&
            entryState.compare_exchange_strong(state, State::Claimed, std::memory_order_acquire)) {
            e.species = species;
            e.treeAge = treeAge;
            e.pass = static_cast<std::int8_t>(pass);
            e.height = height;
            claimed = true;
            return &e;
        }
        // Claimed by another thread (for this tree or another), or holding a tree.
        if (state == State::Kept && e.height == height && e.species == species &&
            e.treeAge == treeAge && e.pass == pass)
            return &e;
    }
    return nullptr;
}

LidarTree GrownTrees::growInto(SharedTrees::Entry& e, int species, int age, double h) {
    LidarTree tree;
    try {
        tree = growLidarTree(rule_, species, age, h);
    } catch (...) {
        std::atomic_ref<SharedTrees::State>(e.state).store(SharedTrees::State::Free,
                                                           std::memory_order_relaxed);
        throw;
    }
    e.kind = static_cast<std::uint8_t>(tree.kind);
    e.dbh = tree.dbh;
    e.dbh1 = tree.dbh1;
    e.groundHeight = tree.groundHeight;
    e.basalArea = tree.basalArea;
    std::atomic_ref<SharedTrees::State>(e.state).store(SharedTrees::State::Kept,
                                                       std::memory_order_release);
    return tree;
}

LidarTree GrownTrees::ownTree(int species, int age, double h, std::uint32_t& slot) {
    if (!slots_) slots_ = std::make_unique<Slot[]>(kSlots);
    const int treeAge = lidarTreeAge(*rule_.params, age);
    const std::size_t index =
        hashOf(codesKey(species, treeAge, lidarTreePass(rule_)), h) & (kSlots - 1);
    Slot& kept = slotAt(index, species, treeAge, h);
    if (!kept.grown) {
        kept.tree = growLidarTree(rule_, species, age, h);
        kept.grown = true;
    }
    slot = static_cast<std::uint32_t>(index) | kOwnSlot;
    return kept.tree;
}

void GrownTrees::growAll(int species, int age, std::span<const double> heights,
                         std::vector<LidarTree>& trees, std::vector<std::uint32_t>& slots) {
    if (!shared_) {
        for (const double h : heights) {
            std::uint32_t slot = 0;
            trees.push_back(ownTree(species, age, h, slot));
            slots.push_back(slot);
        }
        return;
    }
    const int treeAge = lidarTreeAge(*rule_.params, age);
    const int pass = lidarTreePass(rule_);
    const std::uint64_t codes = codesKey(species, treeAge, pass);
    const std::size_t mask = shared_->size_ - 1;
    const std::size_t first = slots.size();
    for (const double h : heights) {
        const std::size_t home = hashOf(codes, h) & mask;
        __builtin_prefetch(&shared_->entries_[home]);
        slots.push_back(static_cast<std::uint32_t>(home));
    }
    for (std::size_t i = 0; i < heights.size(); ++i) {
        const double h = heights[i];
        std::uint32_t& slot = slots[first + i];
        bool claimed = false;
        SharedTrees::Entry* e = sharedEntry(slot, species, treeAge, pass,
                                            std::bit_cast<std::uint64_t>(h + 0.0), claimed);
        if (!e) {
            trees.push_back(ownTree(species, age, h, slot));
            continue;
        }
        slot = static_cast<std::uint32_t>(e - shared_->entries_);
        if (claimed) {
            trees.push_back(growInto(*e, species, age, h));
            continue;
        }
        LidarTree& tree = trees.emplace_back();
        tree.kind = static_cast<LidarTree::Kind>(e->kind);
        tree.dbh = e->dbh;
        tree.dbh1 = e->dbh1;
        tree.groundHeight = e->groundHeight;
        tree.basalArea = e->basalArea;
    }
}

double GrownTrees::volumeAt(std::uint32_t slot, int species, int age, double h,
                            const LidarTree& tree) {
    if ((slot & kOwnSlot) == 0) {
        SharedTrees::Entry& e = shared_->entries_[slot];
        std::atomic_ref<bool> measured(e.measured);
        std::atomic_ref<std::uint64_t> volumeBits(e.volume);
        if (measured.load(std::memory_order_acquire))
            return std::bit_cast<double>(volumeBits.load(std::memory_order_relaxed));
        // Another thread may measure the same tree meanwhile: the same volume.
        const double volume = lidarTreeVolume(rule_, species, tree);
        volumeBits.store(std::bit_cast<std::uint64_t>(volume), std::memory_order_relaxed);
        measured.store(true, std::memory_order_release);
        return volume;
    }
    Slot& kept = slotAt(slot & ~kOwnSlot, species, lidarTreeAge(*rule_.params, age), h);
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
