#include "core/ShareSort.h"

#include <utility>
#include <vector>

namespace orr {

namespace {

// (lo + hi) / 2 rounded to a whole number, halves to the even neighbour.
long middle(long lo, long hi) {
    const long sum = lo + hi;
    long mid = sum / 2;
    if (sum % 2 != 0 && mid % 2 != 0) ++mid;
    return mid;
}

}  // namespace

void sortShares(std::span<double> keys, std::span<std::size_t> payload) {
    const long count = static_cast<long>(keys.size());
    if (count < 2) return;
    // Positions run from 1 to count, as the partitioning and its middle rule are defined on them.
    auto key = [&](long i) -> double& { return keys[static_cast<std::size_t>(i - 1)]; };
    auto load = [&](long i) -> std::size_t& { return payload[static_cast<std::size_t>(i - 1)]; };

    std::vector<std::pair<long, long>> pending;
    pending.emplace_back(1, count);
    while (!pending.empty()) {
        auto [lo, hi] = pending.back();
        pending.pop_back();
        for (;;) {
            const double pivot = key(middle(lo, hi));
            long i = lo;
            long j = hi;
            do {
                while (key(i) < pivot) ++i;
                while (pivot < key(j)) --j;
                if (i <= j) {
                    std::swap(key(i), key(j));
                    std::swap(load(i), load(j));
                    ++i;
                    --j;
                }
            } while (i <= j);
            if (i < hi) pending.emplace_back(i, hi);
            if (lo < j) {
                hi = j;
            } else {
                break;
            }
        }
    }
}

}  // namespace orr
