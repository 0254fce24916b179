// The trees a thread keeps across plots: whatever it kept or replaced, a tree and its volume are
// those the rule gives for that height, species and age.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>
#include <vector>

#include "core/Parameters.h"
#include "engine/distribution/GrownTrees.h"

namespace orr::distribution {
namespace {

TEST(GrownTrees, KeptTreesAreTheTreesOfTheRuleAlsoAfterTheirSlotsWereRetaken) {
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
    const TreeRuleSetup rule{&coeff, &params, 1};
    GrownTrees kept(rule);

    // Far more distinct trees than the table has slots, asked for three times over in a random
    // order: heights in tenths, hundredths and with more decimals, some of 10 feet or less.
    std::mt19937_64 random(5);
    std::vector<std::tuple<int, int, double>> trees;
    for (int i = 0; i < 60000; ++i) {
        const double tenths = static_cast<double>(random() % 1500) / 10;
        const double h = i % 3 == 0 ? tenths : i % 3 == 1 ? tenths + 0.05 : tenths + 1.0 / 3;
        trees.emplace_back(static_cast<int>(random() % 3) + 1, 20 + static_cast<int>(random() % 4),
                           h);
    }
    for (int round = 0; round < 3; ++round) {
        std::shuffle(trees.begin(), trees.end(), random);
        for (const auto& [species, age, h] : trees) {
            const LidarTree expected = growLidarTree(rule, species, age, h);
            const LidarTree tree = kept.grow(species, age, h);
            ASSERT_EQ(tree.kind, expected.kind) << species << " " << age << " " << h;
            EXPECT_EQ(tree.dbh, expected.dbh);
            EXPECT_EQ(tree.dbh1, expected.dbh1);
            EXPECT_EQ(tree.groundHeight, expected.groundHeight);
            EXPECT_EQ(tree.basalArea, expected.basalArea);
            if (tree.kind != LidarTree::Kind::Grown) continue;
            EXPECT_EQ(kept.volume(species, age, h, tree), lidarTreeVolume(rule, species, tree));
        }
    }
}

}  // namespace
}  // namespace orr::distribution
