// Student's t of the confidence intervals, two-sided 95 percent.
#include <gtest/gtest.h>

#include "engine/doublesample/TValue.h"

namespace orr {
namespace {

TEST(TValue, MatchesTheTableToFourDecimals) {
    EXPECT_NEAR(TValue(5, 0.05f), 2.5711, 5e-5);
    EXPECT_NEAR(TValue(10, 0.05f), 2.2287, 5e-5);
    EXPECT_NEAR(TValue(30, 0.05f), 2.0428, 5e-5);
}

TEST(TValue, ApproachesTheNormalQuantileForLargeDf) {
    const double t1000 = TValue(1000, 0.05f);
    const double t30000 = TValue(30000, 0.05f);
    EXPECT_NEAR(t30000, 1.96, 1e-3);
    EXPECT_LT(t30000, t1000);
    EXPECT_LT(t1000, TValue(30, 0.05f));
}

TEST(TValue, FallsAsDegreesOfFreedomGrow) {
    double previous = TValue(1, 0.05f);
    for (int df = 2; df <= 200; ++df) {
        const double t = TValue(df, 0.05f);
        EXPECT_LT(t, previous) << "df " << df;
        previous = t;
    }
}

TEST(TValue, IsZeroWithoutDegreesOfFreedom) {
    double t = 7;
    EXPECT_EQ(TValue(0, 0.05f, t), 0.0);
    EXPECT_EQ(t, 0.0);
}

TEST(TValue, StoresTheResultInT) {
    double t = 0;
    const double result = TValue(5, 0.05f, t);
    EXPECT_EQ(t, result);
}

TEST(TValue, WiderIntervalForSmallerErrorProbability) {
    // 99 percent: t of 5 df is 4.0321 in the tables; the expansion is within 0.05 of it.
    EXPECT_NEAR(TValue(5, 0.01f), 4.0321, 0.05);
    EXPECT_GT(TValue(5, 0.01f), TValue(5, 0.05f));
}

}  // namespace
}  // namespace orr
