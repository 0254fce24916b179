// The rounding of the volume summary report, and values that have no text.
#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>

#include "engine/combine/VolSumReport.h"
#include "tests/support/TestFiles.h"

namespace orr::test {
namespace {

constexpr std::string_view kRule = "--------------------------------------------------";
constexpr std::string_view kHeader = "Species Product   N       BA      Vol     plots";

// Data lines round halves away from zero; the totals line rounds to two decimals, halves to
// even, and writes the shortest text. Each section's totals start again from 0.
TEST(VolSumReport, DataLinesRoundHalvesAwayTotalsToEven) {
    std::string out;
    VolSumReport report(out);
    report.beginSection("A");
    report.phase2Line(1, 1, 9, 9, 9, 1);
    report.endSection();
    report.beginSection("B");
    report.phase2Line(1, 1, 0.125, 2.375, -0.625, 2);
    report.phase2Line(1, 2, 0.5, 0.25, 0, 2);
    report.endSection();

    EXPECT_EQ(out, crlf({
                       "A",
                       kRule,
                       kHeader,
                       "1       1       9.00    9.00    9.00    1",
                       "                 9      9      9",
                       " ",
                       "B",
                       kRule,
                       kHeader,
                       "1       1       0.13    2.38    -0.63   2",
                       "1       2       0.50    0.25    0.00    2",
                       "                 0.62   2.62   -0.62",
                   }));
}

TEST(VolSumReport, AValueWithoutTextIsRefused) {
    std::string out;
    VolSumReport report(out);
    report.beginSection("Phase 2, LiDAR-DS1");
    EXPECT_THROW(report.phase2Line(1, 1, std::numeric_limits<double>::infinity(), 0, 0, 1),
                 std::range_error);
    report.phase2Line(1, 1, std::numeric_limits<double>::max(), 0, 0, 1);
    report.phase2Line(1, 2, std::numeric_limits<double>::max(), 0, 0, 1);
    EXPECT_THROW(report.endSection(), std::range_error);
}

}  // namespace
}  // namespace orr::test
