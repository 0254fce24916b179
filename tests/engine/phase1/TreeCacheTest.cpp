// The trees kept for a pass are those the tree rule computes, whichever thread computed them first,
// and the next pass's equations are not answered with the trees of the pass before.
#include <gtest/gtest.h>

#include <bit>
#include <optional>
#include <thread>
#include <vector>

#include "engine/phase1/TreeCache.h"

namespace orr::phase1 {
namespace {

struct Rules {
    CoefficientTable coeff = CoefficientTable::empty(2);
    DbhLimits limits = DbhLimits::empty(2, 1);
    ParamRecord params = ParamRecord::defaults();

    explicit Rules(int modelSet = 0) {
        params.MaxSpec = 2;
        params.MaxProd = 1;
        params.ModelSet = static_cast<std::int16_t>(modelSet);
        params.LiHgtAdj = 0;                     // the LiDAR height goes through equation 3 or 4
        coeff.at(1, 1) = {-6.0, 5.0, 1.1, 0.0};  // DBH from the ground height
        coeff.at(1, 2) = {-4.0, 4.0, 1.2, 0.0};
        coeff.at(3, 1) = {1.0, 0.95, 1.0, 0.0};  // DataSet 1 ground height
        coeff.at(3, 2) = {0.0, 1.0, 1.0, 0.0};
        coeff.at(4, 1) = {0.5, 0.9, 1.0, 0.0};  // DataSet 2 ground height
        coeff.at(4, 2) = {0.0, 1.1, 1.0, 0.0};
        coeff.at(5, 1) = {0.0, 0.0, 1.0, 0.0};  // volume
        coeff.at(5, 2) = {0.0, 0.0, 2.0, 0.0};
        limits.minDbh[limits.index(1, 1)] = 12.0;  // the shorter trees of species 1 are not counted
        limits.maxDbh[limits.index(1, 1)] = 99.0;
        limits.maxDbh[limits.index(2, 1)] = 99.0;
        if (modelSet == 1) {
            // The stratum age enters both equations: b0 + b1 * age + b2 * h^b3 for the ground
            // height, exp(b0 + b1 * (ln H)^b2 * age^b3) for the DBH; the taper volume.
            params.PTIP = 4;
            coeff.at(1, 1) = {-1.0, 0.8, 1.0, 0.1};
            coeff.at(1, 2) = {-0.5, 0.7, 1.0, 0.12};
            coeff.at(3, 1) = {1.0, 0.05, 0.95, 1.0};
            coeff.at(3, 2) = {0.0, 0.02, 1.0, 1.0};
            coeff.at(4, 1) = {0.5, 0.03, 0.9, 1.0};
            coeff.at(4, 2) = {0.0, 0.01, 1.1, 1.0};
        }
    }
};

bool sameTree(const std::optional<GroundTree>& a, const std::optional<GroundTree>& b) {
    if (a.has_value() != b.has_value()) return false;
    if (!a) return true;
    return std::bit_cast<std::uint64_t>(a->height) == std::bit_cast<std::uint64_t>(b->height) &&
           std::bit_cast<std::uint64_t>(a->basalArea) ==
               std::bit_cast<std::uint64_t>(b->basalArea) &&
           std::bit_cast<std::uint64_t>(a->volume) == std::bit_cast<std::uint64_t>(b->volume);
}

// LiDAR heights in tenths, in hundredths and without a slot (too many decimals, too tall).
std::vector<double> heights() {
    std::vector<double> h;
    for (int tenths = 101; tenths <= 900; tenths += 3) h.push_back(tenths / 10.0);
    for (int hundredths = 1001; hundredths <= 9000; hundredths += 7)
        h.push_back(hundredths / 100.0);
    for (double odd : {12.345, 40.0625, 1500.5, 2000.0}) h.push_back(odd);
    return h;
}

// ModelSet 0's trees are the same at every stratum age, ModelSet 1's are not: either way each
// thread gets the tree of its own age.
class TreeCacheOfModelSet : public testing::TestWithParam<int> {};

TEST_P(TreeCacheOfModelSet, ThreadsSharingThePagesGetTheRulesTreesAndTheNextPassItsOwn) {
    const Rules rules(GetParam());
    const LidarTreeRule pass1(rules.coeff, rules.limits, rules.params, 1);
    const LidarTreeRule pass2(rules.coeff, rules.limits, rules.params, 2);
    const std::vector<double> h = heights();
    const std::vector<int> ages = {20, 35};
    TreePages pages;

    // Four threads ask for the same trees, each starting elsewhere, all of them twice.
    constexpr unsigned kThreads = 4;
    std::vector<int> wrong(kThreads, 0);
    std::vector<int> counted(kThreads, 0);
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            TreeCache cache(pass1, pages);
            for (int round = 0; round < 2; ++round) {
                for (std::size_t n = 0; n < h.size(); ++n) {
                    const double height = h[(n + t * h.size() / kThreads) % h.size()];
                    for (int age : ages) {
                        for (int species = 1; species <= 2; ++species) {
                            const std::optional<GroundTree> tree =
                                cache.compute(species, height, age);
                            if (!sameTree(tree, pass1.compute(species, height, age))) ++wrong[t];
                            if (tree) ++counted[t];
                        }
                    }
                }
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    const int asked = static_cast<int>(2 * h.size() * ages.size() * 2);
    for (unsigned t = 0; t < kThreads; ++t) {
        EXPECT_EQ(wrong[t], 0) << "thread " << t;
        // Both counted trees and trees left out were met.
        EXPECT_GT(counted[t], 0);
        EXPECT_LT(counted[t], asked);
    }

    // The second pass, on the same pages, gets its own equation's trees.
    pages.forget();
    TreeCache cache(pass2, pages);
    int differ = 0;
    for (double height : h) {
        for (int species = 1; species <= 2; ++species) {
            const std::optional<GroundTree> tree = cache.compute(species, height, 20);
            EXPECT_TRUE(sameTree(tree, pass2.compute(species, height, 20))) << height;
            if (!sameTree(tree, pass1.compute(species, height, 20))) ++differ;
        }
    }
    EXPECT_GT(differ, 0);
    if (GetParam() == 1) {
        int byAge = 0;
        for (double height : h) {
            if (!sameTree(pass1.compute(1, height, ages[0]), pass1.compute(1, height, ages[1])))
                ++byAge;
        }
        EXPECT_GT(byAge, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(BothModelSets, TreeCacheOfModelSet, testing::Values(0, 1));

TEST(TreeCache, AMissingCoefficientStopsEveryTimeItIsAskedFor) {
    Rules rules;
    rules.coeff.at(3, 2) = {0.0, 1.0, 0.0, 0.0};  // DataSet 1 exponent of species 2 missing
    const LidarTreeRule pass1(rules.coeff, rules.limits, rules.params, 1);
    TreePages pages;
    TreeCache cache(pass1, pages);
    for (double height : {30.5, 30.55, 30.555}) {
        EXPECT_THROW(cache.compute(2, height, 20), MissingCoefficient);
        EXPECT_THROW(cache.compute(2, height, 20), MissingCoefficient);
        // Species 1 at the same height is not affected.
        EXPECT_TRUE(sameTree(cache.compute(1, height, 20), pass1.compute(1, height, 20)));
    }
}

}  // namespace
}  // namespace orr::phase1
