// sortShares against a plain transcription of the partitioning it is defined by, with that
// procedure's table of pending ranges: the same permutation, equal keys included.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "core/ShareSort.h"

namespace orr::test {
namespace {

// The procedure on 1-based arrays, its pending ranges in a table of `capacity` slots. Returns
// false when the table would overflow (the arrays are then left half sorted).
bool referenceSort(std::vector<double>& key, std::vector<std::size_t>& pay, int capacity) {
    const int count = static_cast<int>(key.size());
    if (count < 2) return true;
    key.insert(key.begin(), 0.0);
    pay.insert(pay.begin(), 0);
    std::vector<int> stackLo(capacity + 1), stackHi(capacity + 1);
    int top = 1;
    stackLo[1] = 1;
    stackHi[1] = count;
    bool fits = true;
    while (top > 0 && fits) {
        int lo = stackLo[top], hi = stackHi[top];
        --top;
        for (bool more = true; more;) {
            // CInt((lo + hi) / 2): halves go to the even neighbour.
            const double half = (lo + hi) / 2.0;
            int mid = static_cast<int>(half);
            if (half - mid == 0.5 && mid % 2 == 1) mid += 1;
            const double pivot = key[mid];
            int i = lo, j = hi;
            do {
                while (key[i] < pivot) ++i;
                while (pivot < key[j]) --j;
                if (i <= j) {
                    std::swap(key[i], key[j]);
                    std::swap(pay[i++], pay[j--]);
                }
            } while (i <= j);
            if (i < hi) {
                if (top == capacity) {
                    fits = false;
                    break;
                }
                ++top;
                stackLo[top] = i;
                stackHi[top] = hi;
            }
            more = lo < j;
            hi = j;
        }
    }
    key.erase(key.begin());
    pay.erase(pay.begin());
    return fits;
}

// Sorts with sortShares and with the reference (room for `capacity` ranges); true when comparable.
bool compare(std::vector<double> keys, int capacity) {
    std::vector<std::size_t> pay(keys.size()), refPay(keys.size());
    std::iota(pay.begin(), pay.end(), 0);
    std::iota(refPay.begin(), refPay.end(), 0);
    std::vector<double> refKeys = keys;
    if (!referenceSort(refKeys, refPay, capacity)) return false;
    sortShares(keys, pay);
    EXPECT_EQ(pay, refPay);
    EXPECT_EQ(keys, refKeys);
    return true;
}

TEST(ShareSort, SameOrderAsTheProcedureOnManyEqualKeysSmallAndLarge) {
    std::mt19937 gen(5);
    int compared = 0, large = 0;
    for (int round = 0; round < 1000 && !::testing::Test::HasFailure(); ++round) {
        const std::size_t n = round % 2 ? 1 + gen() % 8 : 2 + gen() % 300;
        const int distinct = 1 + static_cast<int>(gen() % 6);
        std::vector<double> keys(n);
        for (auto& k : keys) k = static_cast<double>(gen() % distinct) / 4;
        SCOPED_TRACE(round);
        if (!compare(keys, 10)) continue;
        ++compared;
        if (n > 150) ++large;
    }
    EXPECT_GT(compared, 800);
    EXPECT_GT(large, 100);
}

TEST(ShareSort, HandCasesAndMoreThanTenPendingRanges) {
    std::vector<double> keys = {0.5, 0.5, 0.5};
    std::vector<std::size_t> pay = {0, 1, 2};
    sortShares(keys, pay);
    EXPECT_EQ(pay, (std::vector<std::size_t>{2, 1, 0}));  // the partition swaps the outer two
    for (std::vector<double> few : {std::vector<double>{}, {3.0}}) EXPECT_TRUE(compare(few, 10));
    // Distinct keys in large arrays overflow a table of 10 ranges; sortShares has no such limit.
    std::mt19937 gen(3);
    std::vector<double> big(20000);
    int overflowing = 0;
    for (int round = 0; round < 3; ++round) {
        for (auto& k : big) k = static_cast<double>(gen());
        overflowing += !compare(big, 10);
        EXPECT_TRUE(compare(big, 100000));
    }
    EXPECT_GT(overflowing, 0);
}

}  // namespace
}  // namespace orr::test
