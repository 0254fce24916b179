#include "engine/phase1/TreeCache.h"

#include <bit>

#include "core/RandomStreams.h"

namespace orr::phase1 {

namespace {

// Species codes are small (at most MaxSpec); a larger code is looked up by its hash.
constexpr int kMostSpeciesCode = 1024;

}  // namespace

TreeCache::TreeCache(const LidarTreeRule& rule) : rule_(&rule) {}

// A copy starts empty: what a thread has computed stays its own.
TreeCache::TreeCache(const TreeCache& other) : TreeCache(*other.rule_) {}

TreeCache::~TreeCache() = default;

TreeCache::SpeciesPages* TreeCache::pagesOf(int species, int plotAge) {
    if (species < 0 || species >= kMostSpeciesCode) return nullptr;
    if (plotAge != lastAge_ || !lastAgePages_) {
        lastAgePages_ = &byAge_[plotAge];
        lastAge_ = plotAge;
    }
    auto& bySpecies = *lastAgePages_;
    const auto at = static_cast<std::size_t>(species);
    if (bySpecies.size() <= at) bySpecies.resize(at + 1);
    if (!bySpecies[at]) bySpecies[at] = std::make_unique<SpeciesPages>(kPages);
    return bySpecies[at].get();
}

std::optional<GroundTree> TreeCache::paged(Page& page, std::size_t at, int species, double h,
                                           int plotAge) {
    if (!page) {
        if (pagesMade_ >= kMostPages) return rule_->compute(species, h, plotAge);
        page.reset(new Entry[kSlotsPerPage]);
        ++pagesMade_;
    }
    Entry& entry = page[at];
    const std::optional<GroundTree> tree = rule_->compute(species, h, plotAge);
    entry.tree = tree.value_or(GroundTree{});
    entry.known = tree ? Known::Counted : Known::NotCounted;
    return tree;
}

std::optional<GroundTree> TreeCache::hashed(int species, double h, int plotAge) {
    if (!slots_) slots_.reset(new Slot[kSlots]);
    // 0.0 and -0.0 are the same height; any other height has one bit pattern.
    const std::uint64_t height = std::bit_cast<std::uint64_t>(h + 0.0);
    const std::uint64_t codes =
        (static_cast<std::uint64_t>(static_cast<std::uint32_t>(species)) << 32) |
        static_cast<std::uint32_t>(plotAge);
    const std::size_t home = static_cast<std::size_t>(mix(height ^ mix(codes))) & (kSlots - 1);
    std::size_t free = kSlots;
    for (std::size_t i = 0; i < kProbes; ++i) {
        const Slot& slot = slots_[(home + i) & (kSlots - 1)];
        if (slot.plotAge == kEmpty) {
            free = (home + i) & (kSlots - 1);
            break;
        }
        if (slot.height == height && slot.species == species && slot.plotAge == plotAge) {
            if (!slot.counted) return std::nullopt;
            return slot.tree;
        }
    }
    const std::optional<GroundTree> tree = rule_->compute(species, h, plotAge);
    if (free == kSlots) {
        free = (home + nextVictim_) & (kSlots - 1);
        nextVictim_ = (nextVictim_ + 1) % kProbes;
    }
    Slot& slot = slots_[free];
    slot.height = height;
    slot.species = species;
    slot.plotAge = plotAge;
    slot.counted = tree.has_value();
    slot.tree = tree.value_or(GroundTree{});
    return tree;
}

}  // namespace orr::phase1
