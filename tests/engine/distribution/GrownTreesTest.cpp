// The trees kept across plots: whatever a thread kept or replaced, and whichever thread grew a tree
// first into the table they share, a tree and its volume are those the rule gives for that height,
// species, age and data-set pass, with either model set.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <thread>
#include <tuple>
#include <vector>

#include "core/Parameters.h"
#include "engine/distribution/GrownTrees.h"

namespace orr::distribution {
namespace {

struct Rules {
    CoefficientTable coeff = CoefficientTable::empty(3);
    ParamRecord params = ParamRecord::defaults();
    // Pass 1 and pass 2 (index 0 and 1).
    std::array<TreeRuleSetup, 2> pass{};
};

// Equation 1 (DBH), 3 and 4 (the passes' ground heights; species 3 lacks b2 in equation 3) and 5
// (volume). With ModelSet 1's equations the stratum age enters a tree's ground height and DBH: a
// tree kept for one age does not serve another.
void makeRules(Rules& r, int modelSet, bool adjustHeights) {
    const double rows[5][3][4] = {{{0.5, 4, 1.1, 0}, {1, 5, 0.9, 0}, {1, 3, 1, 0}},
                                  {{1, 1, 1, 0}, {1, 1, 1, 0}, {1, 1, 1, 0}},
                                  {{2, 0.9, 1.02, 0}, {0, 1.1, 0.98, 0}, {1, 1, 0, 0}},
                                  {{0, 2, 1, 0}, {-5, 1, 1, 0}, {0, 1.2, 1, 0}},
                                  {{0, 0.01, 1.8, 0}, {1, 0.02, 1.5, 0}, {0, 0.01, 2, 0}}};
    for (int e = 1; e <= 5; ++e)
        for (int s = 1; s <= 3; ++s)
            for (int b = 0; b < 4; ++b) r.coeff.at(e, s)[b] = rows[e - 1][s - 1][b];
    r.params.LiHgtAdj = adjustHeights ? 0 : 1;
    r.params.MaxSpec = 3;
    r.params.ModelSet = static_cast<std::int16_t>(modelSet);
    if (modelSet == 1) {
        // exp(b0 + b1 * (ln H)^b2 * age^b3) for the DBH, b0 + b1 * age + b2 * h^b3 for the
        // ground height, the taper volume to a 4-inch top.
        r.params.PTIP = 4;
        for (int s = 1; s <= 3; ++s) r.coeff.at(1, s) = {0.5, 0.3, 1.1, 0.2};
        r.coeff.at(3, 1)[3] = 1.0;
        r.coeff.at(3, 2)[3] = 0.9;
    }
    r.pass = {TreeRuleSetup{&r.coeff, &r.params, 1}, TreeRuleSetup{&r.coeff, &r.params, 2}};
}

// What a plot asks for: the trees of its heights as one species, at its age, in one pass.
struct PlotRun {
    int pass = 1;
    int species = 0;
    int age = 0;
    std::vector<double> heights;
    std::vector<LidarTree> trees;
    std::vector<std::uint32_t> slots;
};

// Far more distinct trees than the tables have slots: heights in tenths, hundredths and with more
// decimals, some of 10 feet or less, in runs of one pass, species and age.
std::vector<PlotRun> makeRuns(std::mt19937_64& random, int count) {
    std::vector<PlotRun> runs;
    for (int i = 0; i < count; ++i) {
        PlotRun run;
        run.pass = static_cast<int>(random() % 2) + 1;
        run.species = static_cast<int>(random() % 3) + 1;
        run.age = 20 + static_cast<int>(random() % 4);
        for (std::size_t n = random() % 150; n > 0; --n) {
            const double tenths = static_cast<double>(random() % 1500) / 10;
            const double h = n % 3 == 0 ? tenths : n % 3 == 1 ? tenths + 0.05 : tenths + 1.0 / 3;
            run.heights.push_back(h);
        }
        runs.push_back(run);
    }
    return runs;
}

// The trees of the runs, asked for from `kept` (by pass) in the runs' order, against the rule:
// the number of trees and volumes that differ. The volumes of a run are asked for after the next
// run was grown, which may have taken some of its slots.
long wrongTrees(const Rules& rules, std::array<GrownTrees, 2>& kept, std::vector<PlotRun>& runs) {
    long wrong = 0;
    const auto checkVolumes = [&](PlotRun& run) {
        const TreeRuleSetup& rule = rules.pass[static_cast<std::size_t>(run.pass - 1)];
        for (std::size_t i = 0; i < run.heights.size(); ++i) {
            const LidarTree& tree = run.trees[i];
            if (tree.kind != LidarTree::Kind::Grown) continue;
            const double volume = kept[static_cast<std::size_t>(run.pass - 1)].volumeAt(
                run.slots[i], run.species, run.age, run.heights[i], tree);
            wrong += volume != lidarTreeVolume(rule, run.species, tree);
        }
    };
    PlotRun* before = nullptr;
    for (PlotRun& run : runs) {
        const TreeRuleSetup& rule = rules.pass[static_cast<std::size_t>(run.pass - 1)];
        run.trees.clear();
        run.slots.clear();
        kept[static_cast<std::size_t>(run.pass - 1)].growAll(run.species, run.age, run.heights,
                                                             run.trees, run.slots);
        if (run.trees.size() != run.heights.size() || run.slots.size() != run.heights.size())
            return -1;
        for (std::size_t i = 0; i < run.heights.size(); ++i) {
            const LidarTree expected = growLidarTree(rule, run.species, run.age, run.heights[i]);
            const LidarTree& tree = run.trees[i];
            wrong += tree.kind != expected.kind || tree.dbh != expected.dbh ||
                     tree.dbh1 != expected.dbh1 || tree.groundHeight != expected.groundHeight ||
                     tree.basalArea != expected.basalArea;
        }
        if (before) checkVolumes(*before);
        before = &run;
    }
    if (before) checkVolumes(*before);
    return wrong;
}

// (model set, shared table: none, too small for the trees, large enough)
class GrownTreesOfModelSet : public testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(GrownTreesOfModelSet, KeptTreesAreTheTreesOfTheRuleAlsoAfterTheirSlotsWereRetaken) {
    const auto [modelSet, sharing] = GetParam();
    Rules rules;
    makeRules(rules, modelSet, true);
    SharedTrees shared(sharing == 1 ? 1 : 100000);
    SharedTrees* table = sharing == 0 ? nullptr : &shared;
    std::array<GrownTrees, 2> kept{GrownTrees(rules.pass[0], table),
                                   GrownTrees(rules.pass[1], table)};
    std::mt19937_64 random(5);
    std::vector<PlotRun> runs = makeRuns(random, 800);
    // Asked for three times over, in a random order.
    for (int round = 0; round < 3; ++round) {
        std::shuffle(runs.begin(), runs.end(), random);
        EXPECT_EQ(wrongTrees(rules, kept, runs), 0) << "round " << round;
    }
    if (modelSet == 1) {
        const LidarTree young = growLidarTree(rules.pass[0], 1, 20, 40.5);
        const LidarTree old = growLidarTree(rules.pass[0], 1, 23, 40.5);
        EXPECT_NE(young.groundHeight, old.groundHeight);
        EXPECT_NE(young.dbh, old.dbh);
    }
    // Each pass adjusts the heights by its own equation.
    EXPECT_NE(growLidarTree(rules.pass[0], 1, 20, 40.5).groundHeight,
              growLidarTree(rules.pass[1], 1, 20, 40.5).groundHeight);
}

INSTANTIATE_TEST_SUITE_P(BothModelSets, GrownTreesOfModelSet,
                         testing::Combine(testing::Values(0, 1), testing::Values(0, 1, 2)));

// Four threads grow the same trees into one shared table, each in its own order, all of them
// twice; with heights adjusted by each pass's equation and without (then both passes share a
// height's trees).
TEST(SharedTrees, ThreadsSharingTheTableGetTheRulesTreesInBothPasses) {
    for (const bool adjustHeights : {true, false}) {
        Rules rules;
        makeRules(rules, 0, adjustHeights);
        SharedTrees shared(20000);
        std::mt19937_64 random(11);
        const std::vector<PlotRun> runs = makeRuns(random, 600);
        constexpr int kThreads = 4;
        std::array<long, kThreads> wrong{};
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                std::vector<PlotRun> mine = runs;
                std::rotate(mine.begin(), mine.begin() + t * 150, mine.end());
                std::array<GrownTrees, 2> kept{GrownTrees(rules.pass[0], &shared),
                                               GrownTrees(rules.pass[1], &shared)};
                for (int round = 0; round < 2; ++round) wrong[t] += wrongTrees(rules, kept, mine);
            });
        }
        for (std::thread& thread : threads) thread.join();
        for (int t = 0; t < kThreads; ++t)
            EXPECT_EQ(wrong[t], 0) << "thread " << t << (adjustHeights ? " adjusted" : "");
    }
}

}  // namespace
}  // namespace orr::distribution
