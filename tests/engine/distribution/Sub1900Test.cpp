// sub1900 against a plain transcription of the partitioning it is defined by, with that
// procedure's stack of 10 pending ranges: the same permutation, equal keys included.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "engine/distribution/Sub1900.h"

namespace orr::test {
namespace {

// The procedure on 1-based arrays, its pending ranges in a fixed table of `capacity` slots.
// Returns false when the table would overflow (the arrays are then left half sorted).
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
        int lo = stackLo[top];
        int hi = stackHi[top];
        --top;
        bool more = true;
        while (more) {
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
                    std::swap(pay[i], pay[j]);
                    ++i;
                    --j;
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
            if (lo < j) {
                hi = j;
            } else {
                more = false;
            }
        }
    }
    key.erase(key.begin());
    pay.erase(pay.begin());
    return fits;
}

struct Sorted {
    std::vector<double> keys;
    std::vector<std::size_t> payload;
};

Sorted bySub1900(std::vector<double> keys) {
    std::vector<std::size_t> payload(keys.size());
    std::iota(payload.begin(), payload.end(), 0);
    distribution::sub1900(keys, payload);
    return {keys, payload};
}

std::vector<double> randomKeys(std::mt19937& gen, std::size_t n, int distinct) {
    std::vector<double> keys(n);
    for (auto& k : keys) k = static_cast<double>(gen() % distinct) / 4;
    return keys;
}

TEST(Sub1900, SameOrderAsTheProcedureOnManyEqualKeys) {
    std::mt19937 gen(5);
    int compared = 0, large = 0;
    for (int round = 0; round < 400; ++round) {
        const std::size_t n = 2 + gen() % 300;
        const auto keys = randomKeys(gen, n, 1 + static_cast<int>(gen() % 6));
        std::vector<double> refKeys = keys;
        std::vector<std::size_t> refPay(n);
        std::iota(refPay.begin(), refPay.end(), 0);
        if (!referenceSort(refKeys, refPay, 10)) continue;
        const Sorted got = bySub1900(keys);
        ASSERT_EQ(got.payload, refPay) << "round " << round << ", " << n << " keys";
        ASSERT_EQ(got.keys, refKeys);
        ASSERT_TRUE(std::is_sorted(got.keys.begin(), got.keys.end()));
        ++compared;
        if (n > 150) ++large;
    }
    EXPECT_GT(compared, 300);
    EXPECT_GT(large, 100);
}

TEST(Sub1900, SameOrderOnSharesOfAFewClasses) {
    // Class shares as the plots give them: a handful of classes, often equal.
    std::mt19937 gen(8);
    for (int round = 0; round < 2000; ++round) {
        const std::size_t n = 1 + gen() % 8;
        std::vector<double> keys(n);
        for (auto& k : keys) k = (1 + gen() % 4) * 0.125;
        std::vector<double> refKeys = keys;
        std::vector<std::size_t> refPay(n);
        std::iota(refPay.begin(), refPay.end(), 0);
        ASSERT_TRUE(referenceSort(refKeys, refPay, 10));
        ASSERT_EQ(bySub1900(keys).payload, refPay);
    }
}

TEST(Sub1900, EqualSharesKeepTheProcedureOrder) {
    // Three equal keys: the partition swaps the outer two.
    EXPECT_EQ(bySub1900({0.5, 0.5, 0.5}).payload, (std::vector<std::size_t>{2, 1, 0}));
    EXPECT_EQ(bySub1900({0.2, 0.5, 0.5}).payload, (std::vector<std::size_t>{0, 2, 1}));
}

TEST(Sub1900, SortsBeyondTenPendingRanges) {
    // Large arrays of distinct keys need more than 10 pending ranges; the sort still ends
    // sorted, as the procedure with room enough for its ranges would leave it.
    std::mt19937 gen(3);
    int overflowing = 0;
    for (int round = 0; round < 20; ++round) {
        std::vector<double> keys(20000);
        for (auto& k : keys) k = static_cast<double>(gen());
        std::vector<double> small = keys;
        std::vector<std::size_t> smallPay(keys.size());
        if (!referenceSort(small, smallPay, 10)) ++overflowing;
        std::vector<double> refKeys = keys;
        std::vector<std::size_t> refPay(keys.size());
        std::iota(refPay.begin(), refPay.end(), 0);
        ASSERT_TRUE(referenceSort(refKeys, refPay, 100000));
        const Sorted got = bySub1900(keys);
        ASSERT_EQ(got.payload, refPay);
        ASSERT_TRUE(std::is_sorted(got.keys.begin(), got.keys.end()));
    }
    EXPECT_GT(overflowing, 0);
}

TEST(Sub1900, EmptyAndSingleEntriesStay) {
    EXPECT_TRUE(bySub1900({}).payload.empty());
    EXPECT_EQ(bySub1900({3.0}).payload, (std::vector<std::size_t>{0}));
}

}  // namespace
}  // namespace orr::test
