// Basal area, predicted height and tree volume under both model sets.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/equations/TreeEquations.h"

namespace orr {
namespace {

constexpr int kHeight = 2;
constexpr int kVolume = 5;

ParamRecord modelSet(int position, float ptip = 4.0f) {
    ParamRecord p = ParamRecord::defaults();
    p.ModelSet = static_cast<std::int16_t>(position);
    p.PTIP = ptip;
    return p;
}

CoefficientTable table(std::array<double, 4> height, std::array<double, 4> volume) {
    CoefficientTable t = CoefficientTable::empty(2);
    t.at(kHeight, 1) = height;
    t.at(kVolume, 1) = volume;
    return t;
}

TEST(TreeBasalArea, IsTheConstantTimesDbhSquared) {
    EXPECT_DOUBLE_EQ(TREEBA(10), 0.5454);
    EXPECT_DOUBLE_EQ(TREEBA(2), 0.021816);
    EXPECT_EQ(TREEBA(0), 0.0);
}

TEST(TreeHeight, ModelSet0IsAPowerOfDbhAndIgnoresAge) {
    const CoefficientTable t = table({10, 2, 0.5, 99}, {});
    EXPECT_DOUBLE_EQ(TREEHGT(t, modelSet(0), 1, 16, 5), 18.0);  // 10 + 2 * 16^0.5
    EXPECT_DOUBLE_EQ(TREEHGT(t, modelSet(0), 1, 16, 80), 18.0);
    EXPECT_DOUBLE_EQ(TREEHGT(t, modelSet(0), 1, 0.5, 0), 10 + 2 * std::sqrt(0.5));
}

TEST(TreeHeight, ModelSet1IsTheLogFormAndUsesAge) {
    const CoefficientTable t = table({1, 0.5, 1, 0.5}, {});
    const double dbh = std::exp(2.0);
    // exp(1 + 0.5 * 2 * 4^0.5) = e^3; with age 16: exp(1 + 0.5 * 2 * 4) = e^5.
    EXPECT_NEAR(TREEHGT(t, modelSet(1), 1, dbh, 4), std::exp(3.0), 1e-12);
    EXPECT_NEAR(TREEHGT(t, modelSet(1), 1, dbh, 16), std::exp(5.0), 1e-10);
}

TEST(TreeHeight, ModelSet1WithDbhOfOneInchOrLessHasNoHeight) {
    const CoefficientTable t = table({1, 0.5, 1.5, 0.5}, {});
    EXPECT_EQ(TREEHGT(t, modelSet(1), 1, 1.0, 20), 0.0);
    EXPECT_EQ(TREEHGT(t, modelSet(1), 1, 0.5, 20), 0.0);
    EXPECT_EQ(TREEHGT(t, modelSet(1), 1, 0.0, 20), 0.0);
    EXPECT_GT(TREEHGT(t, modelSet(1), 1, 1.01, 20), 0.0);
}

TEST(TreeHeight, PowersWithoutARealValueGiveZero) {
    // ModelSet 0: a negative DBH to a fractional power.
    EXPECT_EQ(TREEHGT(table({10, 2, 0.5, 0}, {}), modelSet(0), 1, -4, 10), 0.0);
    // ModelSet 0: 0 to a negative power is infinite.
    EXPECT_EQ(TREEHGT(table({10, 2, -0.5, 0}, {}), modelSet(0), 1, 0, 10), 0.0);
    // ModelSet 1: age 0 to a negative power, and a negative age to a fractional power.
    EXPECT_EQ(TREEHGT(table({1, 0.5, 1, -0.5}, {}), modelSet(1), 1, 10, 0), 0.0);
    EXPECT_EQ(TREEHGT(table({1, 0.5, 1, 0.5}, {}), modelSet(1), 1, 10, -4), 0.0);
    // ModelSet 1: an exponent too large for a double.
    EXPECT_EQ(TREEHGT(table({800, 0, 1, 1}, {}), modelSet(1), 1, 10, 4), 0.0);
}

TEST(TreeHeight, ASpeciesWithoutARowHasNoHeight) {
    const CoefficientTable t = table({10, 2, 0.5, 0}, {});
    EXPECT_EQ(TREEHGT(t, modelSet(0), 3, 16, 5), 0.0);
    EXPECT_EQ(TREEHGT(t, modelSet(0), -1, 16, 5), 0.0);
}

TEST(TreeVolume, ModelSet0IsTheCombinedVariableEquation) {
    const CoefficientTable t = table({}, {1, 2, 3, 0.5});
    // 1 + 2 * 10 + 3 * 50 + 0.5 * 100 * 50
    EXPECT_DOUBLE_EQ(TREEVOL(t, modelSet(0), 1, 10, 50), 2671.0);
    EXPECT_EQ(TREEVOL(t, modelSet(0), 2, 10, 50), 0.0);  // species 2's row is all 0
}

TEST(TreeVolume, ModelSet1IsTheTaperVolumeToPtip) {
    const CoefficientTable t = table({}, {1, 2, 3, 0.5});
    EXPECT_NEAR(TREEVOL(t, modelSet(1, 4.0f), 1, 10, 80), 16.497, 0.0005);
    EXPECT_EQ(TREEVOL(t, modelSet(1, 4.0f), 1, 10, 4.0), 0.0);
    // Species codes are not limited to the coefficient file's rows here: 7 borrows species 3.
    EXPECT_EQ(TREEVOL(t, modelSet(1, 4.0f), 7, 10, 80), TAPERVOL(3, 10, 80, 4.0f));
}

}  // namespace
}  // namespace orr
