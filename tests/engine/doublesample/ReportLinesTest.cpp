// Report lines the whole-file cases do not reach: negative values, a subtotal without trees and
// whole numbers far beyond 16 bits.
#include <gtest/gtest.h>

#include "engine/doublesample/RegressReport.h"
#include "engine/doublesample/StratVolReport.h"

namespace orr {
namespace {

TEST(ReportLines, NegativeValuesTakeTheBlankOfTheSign) {
    StratumEstimate e;
    e.N1 = {10, 0};
    e.n = {6, 0};
    e.N2G = 6;
    e.reg[1] = {2.6, 3.5, -1.25, 6.3759, 0, 0.19725, -0.5, -12.34, 121.338, 0, 0, 0};
    EXPECT_EQ(regress::regressionLine(2, 1, e),
              " 2    GrnVol  LiVOL-DS1(cu.ft)  -1.2500 6.4    -12.3   .2        -0.5000 121.34 10  "
              "    6     6");
    e.reg[1].Nrs = 123456789.5;  // to the even neighbour, in full
    e.reg[1].N1req = 666.88;
    EXPECT_NE(regress::variableLine(1, 1, e).find(" 123456790 667  "), std::string::npos);
}

TEST(ReportLines, SubtotalWithoutTreesHasNoHeight) {
    stratvol::ClassSums s;
    s.BAalloc = 1;
    EXPECT_EQ(stratvol::subtotalLine(s),
              std::string(45, ' ') + "Subtotal 1.0     0.0      0     0.0     0.0     0");
}

}  // namespace
}  // namespace orr
