// The trees a thread keeps across plots: whatever it kept or replaced, a tree and its volume are
// those the rule gives for that height, species and age, with either model set.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "core/Parameters.h"
#include "engine/distribution/GrownTrees.h"

namespace orr::distribution {
namespace {

// With ModelSet 1's equations the stratum age enters a tree's ground height and DBH: a tree kept
// for one age does not serve another.
class GrownTreesOfModelSet : public testing::TestWithParam<int> {};

TEST_P(GrownTreesOfModelSet, KeptTreesAreTheTreesOfTheRuleAlsoAfterTheirSlotsWereRetaken) {
    const int modelSet = GetParam();
    CoefficientTable coeff = CoefficientTable::empty(3);
    // Equation 1 (DBH), 3 (DataSet 1 ground height; species 3 lacks b2) and 5 (volume).
    const double rows[5][3][4] = {{{0.5, 4, 1.1, 0}, {1, 5, 0.9, 0}, {1, 3, 1, 0}},
                                  {{1, 1, 1, 0}, {1, 1, 1, 0}, {1, 1, 1, 0}},
                                  {{2, 0.9, 1.02, 0}, {0, 1.1, 0.98, 0}, {1, 1, 0, 0}},
                                  {{0, 2, 1, 0}, {-5, 1, 1, 0}, {0, 1, 1, 0}},
                                  {{0, 0.01, 1.8, 0}, {1, 0.02, 1.5, 0}, {0, 0.01, 2, 0}}};
    for (int e = 1; e <= 5; ++e)
        for (int s = 1; s <= 3; ++s)
            for (int b = 0; b < 4; ++b) coeff.at(e, s)[b] = rows[e - 1][s - 1][b];
    ParamRecord params = ParamRecord::defaults();
    params.LiHgtAdj = 0;
    params.MaxSpec = 3;
    params.ModelSet = static_cast<std::int16_t>(modelSet);
    if (modelSet == 1) {
        // exp(b0 + b1 * (ln H)^b2 * age^b3) for the DBH, b0 + b1 * age + b2 * h^b3 for the
        // ground height, the taper volume to a 4-inch top.
        params.PTIP = 4;
        for (int s = 1; s <= 3; ++s) coeff.at(1, s) = {0.5, 0.3, 1.1, 0.2};
        coeff.at(3, 1)[3] = 1.0;
        coeff.at(3, 2)[3] = 0.9;
    }
    const TreeRuleSetup rule{&coeff, &params, 1};
    GrownTrees kept(rule);

    // Far more distinct trees than the table has slots, asked for three times over in a random
    // order, in runs of one species and age as a plot asks for them: heights in tenths, hundredths
    // and with more decimals, some of 10 feet or less. The volumes of a run are asked for after
    // the next run was grown, which has taken some of its slots.
    std::mt19937_64 random(5);
    struct Run {
        int species = 0;
        int age = 0;
        std::vector<double> heights;
        std::vector<LidarTree> trees;
        std::vector<std::uint32_t> slots;
    };
    std::vector<Run> runs;
    for (int i = 0; i < 800; ++i) {
        Run run;
        run.species = static_cast<int>(random() % 3) + 1;
        run.age = 20 + static_cast<int>(random() % 4);
        for (std::size_t n = random() % 150; n > 0; --n) {
            const double tenths = static_cast<double>(random() % 1500) / 10;
            const double h = n % 3 == 0 ? tenths : n % 3 == 1 ? tenths + 0.05 : tenths + 1.0 / 3;
            run.heights.push_back(h);
        }
        runs.push_back(run);
    }
    const auto checkVolumes = [&](Run& run) {
        for (std::size_t i = 0; i < run.heights.size(); ++i) {
            const LidarTree& tree = run.trees[i];
            if (tree.kind != LidarTree::Kind::Grown) continue;
            EXPECT_EQ(kept.volumeAt(run.slots[i], run.species, run.age, run.heights[i], tree),
                      lidarTreeVolume(rule, run.species, tree));
        }
    };
    for (int round = 0; round < 3; ++round) {
        std::shuffle(runs.begin(), runs.end(), random);
        Run* before = nullptr;
        for (Run& run : runs) {
            run.trees.clear();
            run.slots.clear();
            kept.growAll(run.species, run.age, run.heights, run.trees, run.slots);
            ASSERT_EQ(run.trees.size(), run.heights.size());
            ASSERT_EQ(run.slots.size(), run.heights.size());
            for (std::size_t i = 0; i < run.heights.size(); ++i) {
                const double h = run.heights[i];
                const LidarTree expected = growLidarTree(rule, run.species, run.age, h);
                const LidarTree& tree = run.trees[i];
                ASSERT_EQ(tree.kind, expected.kind) << run.species << " " << run.age << " " << h;
                EXPECT_EQ(tree.dbh, expected.dbh);
                EXPECT_EQ(tree.dbh1, expected.dbh1);
                EXPECT_EQ(tree.groundHeight, expected.groundHeight);
                EXPECT_EQ(tree.basalArea, expected.basalArea);
            }
            if (before) checkVolumes(*before);
            before = &run;
        }
        if (before) checkVolumes(*before);
    }
    if (modelSet == 1) {
        const LidarTree young = growLidarTree(rule, 1, 20, 40.5);
        const LidarTree old = growLidarTree(rule, 1, 23, 40.5);
        EXPECT_NE(young.groundHeight, old.groundHeight);
        EXPECT_NE(young.dbh, old.dbh);
    }
}

INSTANTIATE_TEST_SUITE_P(BothModelSets, GrownTreesOfModelSet, testing::Values(0, 1));

}  // namespace
}  // namespace orr::distribution
