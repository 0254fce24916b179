// The tree rule of a Phase 1 LiDAR tree and the lines of sub2150.
#include <gtest/gtest.h>

#include <string>

#include "core/Session.h"
#include "engine/equations/TreeEquations.h"
#include "engine/phase1/LidarTreeRule.h"
#include "engine/phase1/PlotSums.h"
#include "tests/support/FakeHost.h"

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
    // h = 40: H = 2 + 20 = 22; D = 1 + 2 ln 22 = 7.1820849; BA = 0.005454 D^2 = 0.2813301;
    // v = 0.002 * 51.5823 * 22 = 2.2696231.
    const LidarTreeRule rule(coeff, limits, params, 1);
    const auto tree = rule.compute(1, 40.0, 0);
    ASSERT_TRUE(tree.has_value());
    EXPECT_DOUBLE_EQ(tree->height, 22.0);
    EXPECT_NEAR(tree->dbh, 7.1820849, 1e-7);
    EXPECT_NEAR(tree->basalArea, 0.2813301, 1e-7);
    EXPECT_NEAR(tree->volume, 2.2696231, 1e-7);
}

TEST_F(TreeRuleTest, DataSet2UsesEquation4) {
    const LidarTreeRule rule(coeff, limits, params, 2);
    EXPECT_DOUBLE_EQ(rule.groundHeight(1, 40.0, 0), 14.0);  // 4 + 0.25 * 40
}

TEST_F(TreeRuleTest, WithoutHeightAdjustmentTheLiDARHeightIsTheGroundHeight) {
    params.LiHgtAdj = 1;
    coeff.at(3, 1) = {0, 0, 0, 0};  // no coefficient needed
    const LidarTreeRule rule(coeff, limits, params, 1);
    EXPECT_DOUBLE_EQ(rule.groundHeight(1, 37.5, 0), 37.5);
}

TEST_F(TreeRuleTest, ModelSet2AddsThePlotAgeAndUsesTheTaperVolume) {
    params.ModelSet = 1;
    params.PTIP = 4.0f;
    coeff.at(3, 1) = {2.0, 0.1, 1.5, 1.0};  // H = 2 + 0.1 A + 1.5 h^1
    coeff.at(1, 1) = {0.5, 0.4, 1.0, 0.0};  // D = exp(0.5 + 0.4 ln H * A^0)
    const LidarTreeRule rule(coeff, limits, params, 1);
    const auto tree = rule.compute(1, 40.0, 30);
    ASSERT_TRUE(tree.has_value());
    EXPECT_DOUBLE_EQ(tree->height, 65.0);  // 2 + 3 + 60
    EXPECT_NEAR(tree->dbh, 8.7561377, 1e-7);
    EXPECT_DOUBLE_EQ(tree->volume, TAPERVOL(1, tree->dbh, 65.0, 4.0f));
    // Another age, another ground height.
    EXPECT_DOUBLE_EQ(rule.groundHeight(1, 40.0, 40), 66.0);
}

TEST_F(TreeRuleTest, MissingCoefficientOfThePassStopsTheStep) {
    coeff.at(3, 1)[2] = 0.0;  // b2 of the DataSet 1 equation
    EXPECT_THROW(LidarTreeRule(coeff, limits, params, 1).compute(1, 40.0, 0), MissingCoefficient);
    coeff.at(4, 1)[1] = 0.0;  // b1 of the DataSet 2 equation
    EXPECT_THROW(LidarTreeRule(coeff, limits, params, 2).compute(1, 40.0, 0), MissingCoefficient);
    try {
        LidarTreeRule(coeff, limits, params, 2).compute(1, 40.0, 0);
    } catch (const MissingCoefficient& stop) {
        EXPECT_STREQ(stop.what(), "Potential ERROR: No coefficient for LiDAR height equation");
    }
}

TEST_F(TreeRuleTest, TheOtherCoefficientsMayBeZero) {
    coeff.at(3, 1) = {0.0, 0.0, 1.0, 0.0};  // pass 1 checks only b2: H = 0, not counted
    EXPECT_FALSE(LidarTreeRule(coeff, limits, params, 1).compute(1, 40.0, 0).has_value());
    coeff.at(4, 1) = {5.0, 1.0, 0.0, 0.0};  // pass 2 checks only b1: H = 5 + 1 * h^0 = 6
    EXPECT_DOUBLE_EQ(LidarTreeRule(coeff, limits, params, 2).groundHeight(1, 40.0, 0), 6.0);
}

TEST_F(TreeRuleTest, NoGroundHeightNoTree) {
    coeff.at(3, 1) = {-30.0, 0.5, 1.0, 0.0};  // h = 60 gives H = 0, h = 58 H = -1
    const LidarTreeRule rule(coeff, limits, params, 1);
    EXPECT_FALSE(rule.compute(1, 60.0, 0).has_value());
    EXPECT_FALSE(rule.compute(1, 58.0, 0).has_value());
    EXPECT_TRUE(rule.compute(1, 80.0, 0).has_value());  // H = 10, D = 1 + 2 ln 10 = 5.6
}

TEST_F(TreeRuleTest, DbhIsComparedToProductOneRoundedToOneDecimal) {
    // D = 7.1820849 rounds to 7.2.
    const LidarTreeRule rule(coeff, limits, params, 1);
    limits.minDbh[limits.index(1, 1)] = 7.2;
    EXPECT_TRUE(rule.compute(1, 40.0, 0).has_value());
    limits.minDbh[limits.index(1, 1)] = 7.25;
    EXPECT_FALSE(rule.compute(1, 40.0, 0).has_value());
    // Product 2's limits play no part.
    limits.minDbh[limits.index(1, 1)] = 0.0;
    limits.minDbh[limits.index(1, 2)] = 50.0;
    EXPECT_TRUE(rule.compute(1, 40.0, 0).has_value());
}

TEST_F(TreeRuleTest, AHalfRoundsToTheEvenTenth) {
    coeff.at(1, 1) = {7.25, 0.0, 0.0, 0.0};  // D = 7.25 exactly, which rounds to 7.2
    const LidarTreeRule rule(coeff, limits, params, 1);
    limits.minDbh[limits.index(1, 1)] = 7.25;
    EXPECT_FALSE(rule.compute(1, 40.0, 0).has_value());
    limits.minDbh[limits.index(1, 1)] = 7.2;
    EXPECT_TRUE(rule.compute(1, 40.0, 0).has_value());
    // Far from the minimum either way.
    limits.minDbh[limits.index(1, 1)] = 9.0;
    EXPECT_FALSE(rule.compute(1, 40.0, 0).has_value());
    limits.minDbh[limits.index(1, 1)] = 3.0;
    EXPECT_TRUE(rule.compute(1, 40.0, 0).has_value());
}

TEST_F(TreeRuleTest, APowerWithoutRealValueGivesNoNumberOfItsOwn) {
    // A ground height of 0.5 makes ln H negative; (ln H)^0.5 has no real value: DBH 0.
    coeff.at(1, 1) = {1.0, 2.0, 0.5, 0.0};
    const LidarTreeRule rule(coeff, limits, params, 1);
    EXPECT_DOUBLE_EQ(rule.dbhFromHeight(1, 0.5, 0), 0.0);
}

// --- sub2150 -------------------------------------------------------------------------------

TEST(PlotSums, Sub2150WritesEverySpeciesWithTreesAndClears) {
    test::FakeHost host;
    PlotSums sums(3);
    sums.add(1, 0.5454, 15.5);
    sums.add(1, 0.5454, 20.0);
    sums.add(3, 0.13635, 24.0);
    EXPECT_TRUE(sums.any());
    std::string out;
    sums.sub2150(3, 20, out, host);
    // Species 1: 2 trees -> N 40, BA 1.0908 * 20 = 21.816 -> 21.82, volume 35.5 * 20 = 710.
    // Species 3: BA 0.13635 * 20 = 2.727 -> 2.73, volume 480.
    EXPECT_EQ(out, "3,1,40,21.82,710\r\n3,3,20,2.73,480\r\n");
    EXPECT_EQ(host.log,
              " 3      1      40     21.82    710\r\n"
              " 3      3      20     2.73     480\r\n");
    EXPECT_FALSE(sums.any());
    std::string again;
    sums.sub2150(3, 20, again, host);
    EXPECT_TRUE(again.empty());
}

TEST(PlotSums, StatusLineWidthsNeverCutAField) {
    // Widths 6, 6, 6 and 8 counted without the sign's place; wider values get no blanks.
    EXPECT_EQ(PlotSums::statusLine(1234, 2, 40, 0.5, -3.25), " 1234   2      40     .5      -3.25");
    EXPECT_EQ(PlotSums::statusLine(123456, 12, 1234567, 12345678.25, 7),
              " 123456 12     1234567 12345678.25 7");
}

TEST(PlotSums, ALongLogIsClearedBeforeTheNextLine) {
    test::FakeHost host;
    host.log = std::string(64001, 'x');
    keepLogShort(host);
    EXPECT_TRUE(host.log.empty());
    host.log = std::string(64000, 'x');
    keepLogShort(host);
    EXPECT_EQ(host.log.size(), 64000u);
}

}  // namespace
}  // namespace orr::phase1
