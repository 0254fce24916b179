// Student's t of the confidence intervals, two-sided 95 percent; table values to four decimals.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/doublesample/StudentT.h"

namespace orr {
namespace {

TEST(StudentT, TableValuesLargeDfAndNoDf) {
    for (auto [df, t] :
         std::vector<std::pair<int, double>>{{5, 2.5711}, {10, 2.2287}, {30, 2.0428}})
        EXPECT_NEAR(studentT(df, 0.05f), t, 5e-5) << df;
    EXPECT_NEAR(studentT(30000, 0.05f), 1.96, 1e-3);
    EXPECT_LT(studentT(30000, 0.05f), studentT(1000, 0.05f));
    EXPECT_LT(studentT(1000, 0.05f), studentT(30, 0.05f));
    EXPECT_EQ(studentT(0, 0.05f), 0.0);
}

}  // namespace
}  // namespace orr
