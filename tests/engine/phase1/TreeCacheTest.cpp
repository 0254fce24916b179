// The remembered tree rule: the same ground terms as the rule itself, whatever was asked before,
// and a missing coefficient still stops every time.
#include <gtest/gtest.h>

#include "core/Session.h"
#include "engine/phase1/LidarTreeRule.h"
#include "engine/phase1/TreeCache.h"

namespace orr::phase1 {
namespace {

class TreeCacheTest : public ::testing::Test {
  protected:
    TreeCacheTest() : coeff(CoefficientTable::empty(2)), limits(DbhLimits::empty(2, 1)) {
        params = ParamRecord::defaults();
        params.MaxSpec = 2;
        params.MaxProd = 1;
        params.LiHgtAdj = 0;
        params.ModelSet = 1;
        params.PTIP = 4.0f;
        coeff.at(1, 1) = {0.5, 0.6, 1.0, 0.1};  // ln D = 0.5 + 0.6 ln H * A^0.1
        coeff.at(3, 1) = {2.0, 0.1, 0.9, 1.0};  // H = 2 + 0.1 A + 0.9 h
        coeff.at(1, 2) = {0.4, 0.6, 1.0, 0.1};
        coeff.at(3, 2) = {0.0, 0.0, 0.0, 1.0};     // species 2: no exponent, the step stops
        limits.minDbh[limits.index(1, 1)] = 20.0;  // species 1 counts from 20 inches
        limits.maxDbh[limits.index(1, 1)] = 99.0;
    }
    CoefficientTable coeff;
    DbhLimits limits;
    ParamRecord params;
};

void expectSame(const std::optional<GroundTree>& want, const std::optional<GroundTree>& got) {
    ASSERT_EQ(want.has_value(), got.has_value());
    if (!want) return;
    // Bit for bit: the files must not depend on which trees came first.
    EXPECT_EQ(want->height, got->height);
    EXPECT_EQ(want->dbh, got->dbh);
    EXPECT_EQ(want->basalArea, got->basalArea);
    EXPECT_EQ(want->volume, got->volume);
}

TEST_F(TreeCacheTest, RememberedTreesEqualTheRuleForEveryHeightAndAge) {
    const LidarTreeRule rule(coeff, limits, params, 1);
    TreeCache cache(rule);
    bool someLeftOut = false, someCounted = false;
    for (int round = 0; round < 2; ++round) {
        for (int tenths = 101; tenths < 900; tenths += 7) {
            for (int age : {10, 40, 80}) {
                const double h = tenths / 10.0;
                const auto want = rule.compute(1, h, age);
                expectSame(want, cache.compute(1, h, age));
                (want ? someCounted : someLeftOut) = true;
            }
        }
    }
    // Both kinds of answer were remembered and given back.
    EXPECT_TRUE(someCounted);
    EXPECT_TRUE(someLeftOut);
}

TEST_F(TreeCacheTest, TheSameHeightWithAnotherAgeIsAnotherTree) {
    const LidarTreeRule rule(coeff, limits, params, 1);
    TreeCache cache(rule);
    const auto young = cache.compute(1, 60.0, 10);
    const auto old = cache.compute(1, 60.0, 80);
    ASSERT_TRUE(young && old);
    EXPECT_NE(young->height, old->height);
    expectSame(rule.compute(1, 60.0, 80), old);
}

TEST_F(TreeCacheTest, AMissingCoefficientStopsEveryTime) {
    const LidarTreeRule rule(coeff, limits, params, 1);
    TreeCache cache(rule);
    EXPECT_THROW(cache.compute(2, 50.0, 10), MissingCoefficient);
    EXPECT_THROW(cache.compute(2, 50.0, 10), MissingCoefficient);
}

}  // namespace
}  // namespace orr::phase1
