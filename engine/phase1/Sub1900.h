// sub1900: the quicksort with an explicit stack of pending ranges that orders the draw lists.
// Equal keys end up in the order this particular procedure gives them, and the species drawn for
// a tree depends on that order, so the sort is kept exactly as it is rather than replaced by a
// library sort. The stack grows as needed (no limit of ten pending ranges).
//
// Header only, with no dependency beyond the standard library, so that every step that draws
// from shares can use the one procedure.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace orr {

namespace sub1900_detail {

// (lo + hi) / 2 rounded to a whole number, halves to the even neighbour; lo and hi are 1-based
// positions, so the sum is positive.
inline std::size_t middle(std::size_t lo, std::size_t hi) {
    const std::size_t sum = lo + hi;
    const std::size_t half = sum / 2;
    if (sum % 2 == 0) return half;
    return half % 2 == 0 ? half : half + 1;
}

}  // namespace sub1900_detail

// Sorts keys[0..count) ascending and moves payload[k] along with keys[k]. Positions are counted
// from 1 inside, as the procedure does: keys[0] is position 1.
template <class Key, class Payload>
void sub1900(Key* keys, Payload* payload, std::size_t count) {
    if (count < 2) return;
    auto key = [&](std::size_t pos) -> Key& { return keys[pos - 1]; };
    std::vector<std::pair<std::size_t, std::size_t>> pending;
    std::size_t lo = 1;
    std::size_t hi = count;
    for (;;) {
        const Key pivot = key(sub1900_detail::middle(lo, hi));
        std::size_t i = lo;
        std::size_t j = hi;
        do {
            while (key(i) < pivot) ++i;
            while (pivot < key(j)) --j;
            if (i <= j) {
                std::swap(key(i), key(j));
                std::swap(payload[i - 1], payload[j - 1]);
                ++i;
                --j;  // j >= lo here, and lo >= 1, so j never wraps below 0
            }
        } while (i <= j);
        if (i < hi) pending.emplace_back(i, hi);
        if (lo < j) {
            hi = j;
            continue;
        }
        if (pending.empty()) return;
        lo = pending.back().first;
        hi = pending.back().second;
        pending.pop_back();
    }
}

template <class Key, class Payload>
void sub1900(std::vector<Key>& keys, std::vector<Payload>& payload) {
    sub1900(keys.data(), payload.data(),
            keys.size() < payload.size() ? keys.size() : payload.size());
}

}  // namespace orr
