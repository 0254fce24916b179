#include "engine/phase1/TreeCache.h"

#include <bit>

#include "core/RandomStreams.h"

namespace orr::phase1 {

namespace {

// Species codes are small (at most MaxSpec); a larger code is looked up by its hash.
constexpr int kMostSpeciesCode = 1024;

}  // namespace

TreePages::~TreePages() {
    for (auto& [key, pages] : pages_) {
        for (std::atomic<Page*>& page : *pages) delete page.load(std::memory_order_relaxed);
    }
}

TreePages::SpeciesPages* TreePages::pagesOf(int species, int age) {
    if (species < 0 || species >= kMostSpeciesCode) return nullptr;
    const std::lock_guard<std::mutex> hold(lock_);
    std::unique_ptr<SpeciesPages>& pages = pages_[{age, species}];
    if (!pages) pages = std::make_unique<SpeciesPages>();
    return pages.get();
}

TreePages::Page* TreePages::page(std::atomic<Page*>& at) {
    Page* page = at.load(std::memory_order_acquire);
    if (page) return page;
    if (made_.fetch_add(1, std::memory_order_relaxed) >= kMostPages) return nullptr;
    auto fresh = std::make_unique<Page>();
    // Another thread may have made the page meanwhile: its page is the one kept.
    if (at.compare_exchange_strong(page, fresh.get(), std::memory_order_acq_rel,
                                   std::memory_order_acquire)) {
        return fresh.release();
    }
    return page;
}

void TreePages::forget() {
    for (auto& [key, pages] : pages_) {
        for (std::atomic<Page*>& at : *pages) {
            if (Page* page = at.load(std::memory_order_relaxed)) {
                for (std::atomic<Known>& known : page->known)
                    known.store(Known::No, std::memory_order_relaxed);
            }
        }
    }
}

TreeCache::TreeCache(const LidarTreeRule& rule, TreePages& pages) : rule_(&rule), shared_(&pages) {}

TreeCache::~TreeCache() = default;

TreeCache::SpeciesPages* TreeCache::pagesOf(int species, int plotAge) {
    if (species < 0 || species >= kMostSpeciesCode) return nullptr;
    const int age = rule_->treeAge(plotAge);
    if (age != lastAge_ || !lastAgePages_) {
        lastAgePages_ = &byAge_[age];
        lastAge_ = age;
    }
    auto& bySpecies = *lastAgePages_;
    const auto at = static_cast<std::size_t>(species);
    if (bySpecies.size() <= at) bySpecies.resize(at + 1);
    if (!bySpecies[at]) bySpecies[at] = shared_->pagesOf(species, age);
    return bySpecies[at];
}

const GroundTree* TreeCache::unkept(int species, double h, int plotAge) {
    const std::optional<GroundTree> tree = rule_->compute(species, h, plotAge);
    if (!tree) return nullptr;
    spare_ = *tree;
    return &spare_;
}

const GroundTree* TreeCache::paged(SpeciesPages& pages, std::size_t slot, int species, double h,
                                   int plotAge) {
    TreePages::Page* page = shared_->page(pages[slot / kSlotsPerPage]);
    if (!page) return unkept(species, h, plotAge);
    const std::size_t at = slot % kSlotsPerPage;
    std::atomic<TreePages::Known>& known = page->known[at];
    TreePages::Known was = TreePages::Known::No;
    if (!known.compare_exchange_strong(was, TreePages::Known::Computing,
                                       std::memory_order_acquire)) {
        if (was == TreePages::Known::Counted) return &page->trees[at];
        if (was == TreePages::Known::NotCounted) return nullptr;
        // Another thread is computing the tree: the same tree, computed here too.
        return unkept(species, h, plotAge);
    }
    std::optional<GroundTree> tree;
    try {
        tree = rule_->compute(species, h, plotAge);
    } catch (...) {
        known.store(TreePages::Known::No, std::memory_order_relaxed);
        throw;
    }
    if (tree) page->trees[at] = *tree;
    known.store(tree ? TreePages::Known::Counted : TreePages::Known::NotCounted,
                std::memory_order_release);
    return tree ? &page->trees[at] : nullptr;
}

const GroundTree* TreeCache::hashed(int species, double h, int plotAge) {
    if (!slots_) slots_.reset(new Slot[kSlots]);
    // 0.0 and -0.0 are the same height; any other height has one bit pattern.
    const std::uint64_t height = std::bit_cast<std::uint64_t>(h + 0.0);
    const int age = rule_->treeAge(plotAge);
    const std::uint64_t codes =
        (static_cast<std::uint64_t>(static_cast<std::uint32_t>(species)) << 32) |
        static_cast<std::uint32_t>(age);
    const std::size_t home = static_cast<std::size_t>(mix(height ^ mix(codes))) & (kSlots - 1);
    std::size_t free = kSlots;
    for (std::size_t i = 0; i < kProbes; ++i) {
        const Slot& slot = slots_[(home + i) & (kSlots - 1)];
        if (slot.treeAge == kEmpty) {
            free = (home + i) & (kSlots - 1);
            break;
        }
        if (slot.height == height && slot.species == species && slot.treeAge == age)
            return slot.counted ? &slot.tree : nullptr;
    }
    const std::optional<GroundTree> tree = rule_->compute(species, h, plotAge);
    if (free == kSlots) {
        free = (home + nextVictim_) & (kSlots - 1);
        nextVictim_ = (nextVictim_ + 1) % kProbes;
    }
    Slot& slot = slots_[free];
    slot.height = height;
    slot.species = species;
    slot.treeAge = age;
    slot.counted = tree.has_value();
    slot.tree = tree.value_or(GroundTree{});
    return slot.counted ? &slot.tree : nullptr;
}

}  // namespace orr::phase1
