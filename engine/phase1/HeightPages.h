// Tables by LiDAR height. What step 7 computes for a tree depends on its LiDAR height, its species
// (or its plot's draw list) and its stratum age alone, and heights repeat from plot to plot: each
// thread keeps what it computed for a height in tables by the height's slot.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace orr::phase1 {

// Tables by LiDAR height: a height that is a whole number of tenths of a foot, or else of
// hundredths, below 1310.72 feet (all heights of a real LiDAR file) has a slot of its own, the
// tenths first, then the hundredths; any other height has none. "12.3" and "12.30" are read as
// the same double, which 123 / 10 gives too, and take the same slot.
inline constexpr std::size_t kHeightSlots = std::size_t{2} << 17;
inline constexpr std::size_t kSlotsPerPage = 256;
inline std::optional<std::size_t> heightSlot(double h) {
    constexpr double kHighest = static_cast<double>(kHeightSlots) / 2 / 100;  // 1310.72 feet
    if (!(h >= 0 && h < kHighest)) return std::nullopt;
    // The nearest whole number of tenths (or hundredths), or one beside it where h * 10 + 0.5
    // rounds up: either is taken only when it gives h back exactly.
    // NOLINTNEXTLINE(bugprone-incorrect-roundings)
    const auto tenths = static_cast<std::int64_t>(h * 10 + 0.5);
    if (static_cast<double>(tenths) / 10 == h) return static_cast<std::size_t>(tenths);
    // NOLINTNEXTLINE(bugprone-incorrect-roundings)
    const auto hundredths = static_cast<std::int64_t>(h * 100 + 0.5);
    if (static_cast<double>(hundredths) / 100 == h)
        return kHeightSlots / 2 + static_cast<std::size_t>(hundredths);
    return std::nullopt;
}

// Entries by height slot under a key (a species or a draw list, and a stratum age), in pages of
// kSlotsPerPage slots made when first needed (their entries value-initialised): the trees of a
// plot share the key, so its pages stay in the processor's cache and a look-up costs no hashing.
// At most `mostPages` pages are made; beyond them no further entry is kept.
template <class Key, class Entry, class KeyHash>
class HeightPages {
  public:
    explicit HeightPages(std::size_t mostPages) : mostPages_(mostPages) {}

    // The entry of `slot` under `key`; nullptr when its page is not made (and `make` is false, or
    // no further page may be made).
    Entry* at(const Key& key, std::size_t slot, bool make) {
        if (!last_ || !(lastKey_ == key)) {
            last_ = &pages_[key];
            lastKey_ = key;
            if (last_->empty()) last_->resize(kHeightSlots / kSlotsPerPage);
        }
        Page& page = (*last_)[slot / kSlotsPerPage];
        if (!page) {
            if (!make || made_ >= mostPages_) return nullptr;
            page = std::make_unique<Entry[]>(kSlotsPerPage);
            ++made_;
        }
        return &page[slot % kSlotsPerPage];
    }

  private:
    using Page = std::unique_ptr<Entry[]>;
    std::unordered_map<Key, std::vector<Page>, KeyHash> pages_;
    Key lastKey_{};
    std::vector<Page>* last_ = nullptr;  // the pages of lastKey_
    std::size_t made_ = 0;
    std::size_t mostPages_;
};

}  // namespace orr::phase1
