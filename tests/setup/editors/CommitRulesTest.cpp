// How typed entries become cell texts: float values for coefficients and DBH, 16-bit integers
// (halves to even) for strata.
#include <gtest/gtest.h>

#include "setup/editors/CommitRules.h"

namespace orr::editors {
namespace {

TEST(FloatCellText, KeepsSevenSignificantDigitsOfASingle) {
    EXPECT_EQ(floatCellText("0.123456789"), "0.1234568");
    EXPECT_EQ(floatCellText("1.5"), "1.5");
    EXPECT_EQ(floatCellText("0.1"), "0.1");
    EXPECT_EQ(floatCellText("-2"), "-2");
    EXPECT_EQ(floatCellText(".5"), "0.5");
    EXPECT_EQ(floatCellText("1e2"), "100");
}

TEST(FloatCellText, LeavesTextThatIsNoFloatAsTyped) {
    EXPECT_EQ(floatCellText("abc"), "abc");
    EXPECT_EQ(floatCellText("-"), "-");
    EXPECT_EQ(floatCellText("1.5.2"), "1.5.2");
    EXPECT_EQ(floatCellText("1e39"), "1e39");  // beyond the largest float
}

TEST(Int16CellText, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(int16CellText("2.5"), "2");
    EXPECT_EQ(int16CellText("3.5"), "4");
    EXPECT_EQ(int16CellText("-2.5"), "-2");
    EXPECT_EQ(int16CellText("2.51"), "3");
    EXPECT_EQ(int16CellText("-0.4"), "0");
    EXPECT_EQ(int16CellText("100"), "100");
}

TEST(Int16CellText, LeavesTextOutsideTheRangeOrNotANumberAsTyped) {
    EXPECT_EQ(int16CellText("32767"), "32767");
    EXPECT_EQ(int16CellText("-32768"), "-32768");
    EXPECT_EQ(int16CellText("32768"), "32768");
    EXPECT_EQ(int16CellText("40000"), "40000");
    EXPECT_EQ(int16CellText("x1"), "x1");
}

}  // namespace
}  // namespace orr::editors
