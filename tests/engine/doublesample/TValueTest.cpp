// Student's t of the confidence intervals, two-sided 95 percent; table values to four decimals.
#include <gtest/gtest.h>

#include "engine/doublesample/TValue.h"

namespace orr {
namespace {

TEST(TValue, TableValuesLargeDfAndNoDf) {
    for (auto [df, t] :
         std::vector<std::pair<int, double>>{{5, 2.5711}, {10, 2.2287}, {30, 2.0428}})
        EXPECT_NEAR(TValue(df, 0.05f), t, 5e-5) << df;
    EXPECT_NEAR(TValue(30000, 0.05f), 1.96, 1e-3);
    EXPECT_LT(TValue(30000, 0.05f), TValue(1000, 0.05f));
    EXPECT_LT(TValue(1000, 0.05f), TValue(30, 0.05f));
    double t = 7;
    EXPECT_EQ(TValue(0, 0.05f, t), 0.0);
    EXPECT_EQ(t, 0.0);
}

}  // namespace
}  // namespace orr
