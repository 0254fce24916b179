// The tree rule of a Phase 1 LiDAR tree, its remembered form, and the lines that close a plot.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "core/OutputSet.h"
#include "engine/equations/TreeEquations.h"
#include "engine/phase1/LidarTreeRule.h"
#include "engine/phase1/PlotSums.h"
#include "engine/phase1/TreeCache.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::phase1 {
namespace {

class TreeRuleTest : public ::testing::Test {
  protected:
    TreeRuleTest() : coeff(CoefficientTable::empty(2)), limits(DbhLimits::empty(2, 2)) {
        params = ParamRecord::defaults();
        params.MaxSpec = 2;
        params.MaxProd = 2;
        params.LiHgtAdj = 0;  // "Yes": adjust LiDAR heights
        params.ModelSet = 0;
        coeff.at(1, 1) = {1.0, 2.0, 1.0, 0.0};    // D = 1 + 2 ln H
        coeff.at(3, 1) = {2.0, 0.5, 1.0, 0.0};    // DataSet 1: H = 2 + 0.5 h
        coeff.at(4, 1) = {4.0, 0.25, 1.0, 0.0};   // DataSet 2: H = 4 + 0.25 h
        coeff.at(5, 1) = {0.0, 0.0, 0.0, 0.002};  // v = 0.002 D^2 H
    }
    CoefficientTable coeff;
    DbhLimits limits;
    ParamRecord params;
};

TEST_F(TreeRuleTest, GroundHeightDbhBasalAreaAndVolume) {
    // h = 40: H = 22; D = 1 + 2 ln 22; BA = 0.005454 D^2; v = 0.002 D^2 H.
    const auto tree = LidarTreeRule(coeff, limits, params, 1).compute(1, 40.0, 0);
    ASSERT_TRUE(tree.has_value());
    EXPECT_DOUBLE_EQ(tree->height, 22.0);
    EXPECT_NEAR(tree->dbh, 7.1820849, 1e-7);
    EXPECT_NEAR(tree->basalArea, 0.2813301, 1e-7);
    EXPECT_NEAR(tree->volume, 2.2696231, 1e-7);
    EXPECT_DOUBLE_EQ(LidarTreeRule(coeff, limits, params, 2).groundHeight(1, 40.0, 0), 14.0);
    // A ground height of 0 or less is no tree: h = 60 gives H = 0, h = 58 H = -1.
    coeff.at(3, 1) = {-30.0, 0.5, 1.0, 0.0};
    const LidarTreeRule low(coeff, limits, params, 1);
    EXPECT_FALSE(low.compute(1, 60.0, 0).has_value());
    EXPECT_FALSE(low.compute(1, 58.0, 0).has_value());
    EXPECT_TRUE(low.compute(1, 80.0, 0).has_value());
    // Without height adjustment the LiDAR height is the ground height; no coefficient needed.
    params.LiHgtAdj = 1;
    coeff.at(3, 1) = {0, 0, 0, 0};
    EXPECT_DOUBLE_EQ(LidarTreeRule(coeff, limits, params, 1).groundHeight(1, 37.5, 0), 37.5);
}

TEST_F(TreeRuleTest, ModelSet2AddsThePlotAgeAndUsesTheTaperVolume) {
    params.ModelSet = 1;
    params.PTIP = 4.0f;
    coeff.at(3, 1) = {2.0, 0.1, 1.5, 1.0};  // H = 2 + 0.1 A + 1.5 h^1
    coeff.at(1, 1) = {0.5, 0.4, 1.0, 0.0};  // D = exp(0.5 + 0.4 ln H * A^0)
    const LidarTreeRule rule(coeff, limits, params, 1);
    const auto tree = rule.compute(1, 40.0, 30);
    ASSERT_TRUE(tree.has_value());
    EXPECT_DOUBLE_EQ(tree->height, 65.0);
    EXPECT_NEAR(tree->dbh, 8.7561377, 1e-7);
    EXPECT_DOUBLE_EQ(tree->volume, taperVolume(1, tree->dbh, 65.0, 4.0f));
    EXPECT_DOUBLE_EQ(rule.groundHeight(1, 40.0, 40), 66.0);
}

TEST_F(TreeRuleTest, OnlyTheCoefficientThePassNeedsStopsTheStep) {
    coeff.at(3, 1) = {0.0, 0.0, 1.0, 0.0};  // pass 1 checks only b2: H = 0, not counted
    EXPECT_FALSE(LidarTreeRule(coeff, limits, params, 1).compute(1, 40.0, 0).has_value());
    coeff.at(4, 1) = {5.0, 1.0, 0.0, 0.0};  // pass 2 checks only b1: H = 5 + 1 * h^0
    EXPECT_DOUBLE_EQ(LidarTreeRule(coeff, limits, params, 2).groundHeight(1, 40.0, 0), 6.0);
    coeff.at(3, 1)[2] = 0.0;
    EXPECT_THROW(LidarTreeRule(coeff, limits, params, 1).compute(1, 40.0, 0), MissingCoefficient);
    coeff.at(4, 1)[1] = 0.0;
    EXPECT_THROW(LidarTreeRule(coeff, limits, params, 2).compute(1, 40.0, 0), MissingCoefficient);
}

TEST_F(TreeRuleTest, DbhRoundedToATenthHalfToEvenIsComparedToProductOne) {
    struct Row {
        double b0;  // D = b0 when not 0, else 1 + 2 ln 22 = 7.18
        double minProduct1, minProduct2;
        bool counted;
    };
    const std::vector<Row> rows = {
        {0.0, 7.2, 0.0, true},    {0.0, 7.25, 0.0, false}, {0.0, 0.0, 50.0, true},
        {7.25, 7.25, 0.0, false}, {7.25, 7.2, 0.0, true},  // 7.25 rounds to 7.2
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.b0 * 1000 + row.minProduct1);
        if (row.b0 != 0.0) coeff.at(1, 1) = {row.b0, 0.0, 0.0, 0.0};
        limits.minDbh[limits.index(1, 1)] = row.minProduct1;
        limits.minDbh[limits.index(1, 2)] = row.minProduct2;
        EXPECT_EQ(LidarTreeRule(coeff, limits, params, 1).compute(1, 40.0, 0).has_value(),
                  row.counted);
    }
}

TEST_F(TreeRuleTest, RememberedTreesEqualTheRuleBitForBit) {
    params.ModelSet = 1;
    params.PTIP = 4.0f;
    coeff.at(1, 1) = {0.5, 0.6, 1.0, 0.1};  // ln D = 0.5 + 0.6 ln H * A^0.1
    coeff.at(3, 1) = {2.0, 0.1, 0.9, 1.0};  // H = 2 + 0.1 A + 0.9 h
    coeff.at(3, 2) = {0.0, 0.0, 0.0, 1.0};  // species 2: no exponent, the step stops
    limits.minDbh[limits.index(1, 1)] = 20.0;
    limits.maxDbh[limits.index(1, 1)] = 99.0;
    const LidarTreeRule rule(coeff, limits, params, 1);
    TreeCache cache(rule);
    const auto terms = [](const GroundTree& t) {
        return std::tuple(t.height, t.dbh, t.basalArea, t.volume);
    };
    int counted = 0, leftOut = 0;
    for (int round = 0; round < 2; ++round) {
        for (int tenths = 101; tenths < 900; tenths += 7) {
            for (int age : {10, 40, 80}) {
                const auto want = rule.compute(1, tenths / 10.0, age);
                const auto got = cache.compute(1, tenths / 10.0, age);
                ASSERT_EQ(want.has_value(), got.has_value());
                if (!want) {
                    ++leftOut;
                    continue;
                }
                ++counted;
                EXPECT_EQ(terms(*want), terms(*got));
            }
        }
    }
    EXPECT_GT(counted, 0);
    EXPECT_GT(leftOut, 0);
    EXPECT_THROW(cache.compute(2, 50.0, 10), MissingCoefficient);
    EXPECT_THROW(cache.compute(2, 50.0, 10), MissingCoefficient);  // a stop is never remembered
}

TEST(PlotSums, ClosingAPlotWritesEverySpeciesWithTreesAndClears) {
    test::TempDir dir;
    test::FakeHost host;
    PlotSums sums(3);
    sums.add(1, 0.5454, 15.5);
    sums.add(1, 0.5454, 20.0);
    sums.add(3, 0.13635, 24.0);
    {
        OutputSet outputs;
        sums.writePlot(3, 20, outputs.file(dir / "plots.csv"), host);
        outputs.commit();
    }
    // Species 1: N 40, BA 1.0908 * 20, volume 35.5 * 20; species 3: BA 0.13635 * 20, 24 * 20.
    EXPECT_EQ(test::readFile(dir / "plots.csv"), "3,1,40,21.82,710\r\n3,3,20,2.73,480\r\n");
    EXPECT_EQ(host.logText,
              " 3      1      40     21.82    710\r\n 3      3      20     2.73     480\r\n");
    EXPECT_FALSE(sums.any());
    // Widths 6, 6, 6 and 8 counted without the sign's place; wider values get no blanks.
    EXPECT_EQ(PlotSums::statusLine(1234, 2, 40, 0.5, -3.25), " 1234   2      40     .5      -3.25");
    EXPECT_EQ(PlotSums::statusLine(123456, 12, 1234567, 12345678.25, 7),
              " 123456 12     1234567 12345678.25 7");
}

}  // namespace
}  // namespace orr::phase1
