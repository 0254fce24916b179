// Exact text of single report lines: padding, number forms, wide fields and large whole numbers.
#include <gtest/gtest.h>

#include "engine/doublesample/RegressReport.h"
#include "engine/doublesample/StratVolReport.h"

namespace orr {
namespace {

StratumEstimate sample() {
    StratumEstimate e;
    e.N1 = {10, 0};
    e.n = {6, 0};
    e.N2G = 6;
    e.CV = {110.77183, 0};
    RegressionResult& r = e.reg[0];
    r.phase1Mean = 2.6;
    r.phase2Mean = 3.5;
    r.Beta = 0.05402985;
    r.IdxFt = 6.3759;
    r.YbarLR = 0.45137;
    r.SybarLR = 0.19725;
    r.Rho = 0.25250606;
    r.SE = 121.338;
    r.Nrs = 945.96;
    r.N1req = 791.18;
    r.N2req = 958.74;
    return e;
}

TEST(RegressLines, Headers) {
    EXPECT_EQ(regress::headerLine(),
              "St    Depend  Independ          Beta    IdxFt   YbarLR  S_ybarLR  Rho     SE     "
              "N1      N2L   N2G");
    EXPECT_EQ(regress::variableHeaderLine(),
              "St    Variable                          Phase1  Phase2  CV                       "
              "N_rs    N1    N2");
    EXPECT_EQ(regress::combinedHeaderLine(),
              "St    Depend  Independ                          YbarLR  S_ybarLR          SE");
}

TEST(RegressLines, StratumZeroSmallValuesAndAWideField) {
    // " 0" and 4 blanks; .5 and .2 without a zero before the point; SE 121.34 fills its width.
    EXPECT_EQ(regress::regressionLine(0, 0, sample()),
              " 0    "
              "GrnVol  "
              "LiBA-DS1(sq.ft)   "
              "0.0540 "
              " 6.4    "
              " .5     "
              " .2        "
              "0.2525 "
              " 121.34"
              " 10     "
              " 6    "
              " 6");
}

TEST(RegressLines, VariableLine) {
    EXPECT_EQ(regress::variableLine(0, 0, sample()),
              " 0    "
              "LiBA-DS1(sq.ft) "
              "                 "
              " 2.6    "
              " 3.5    "
              " 110.77  "
              "                "
              " 946    "
              " 791  "
              " 959");
}

TEST(RegressLines, FiveDigitStratumAndWholeNumbersBeyond16Bits) {
    StratumEstimate e = sample();
    e.reg[0].Nrs = 34635.046;
    e.reg[0].N1req = 666.88;
    e.reg[0].N2req = 34700.5;  // a tie: to the even neighbour
    EXPECT_EQ(regress::variableLine(10000, 0, e),
              " 10000"
              "LiBA-DS1(sq.ft) "
              "                 "
              " 2.6    "
              " 3.5    "
              " 110.77  "
              "                "
              " 34635  "
              " 667  "
              " 34700");
    e.reg[0].Nrs = 123456789.5;
    EXPECT_NE(regress::variableLine(1, 0, e).find(" 123456790 667  "), std::string::npos);
}

TEST(RegressLines, NegativeValuesTakeTheBlankOfTheSign) {
    StratumEstimate e = sample();
    e.reg[1] = e.reg[0];
    e.reg[1].Beta = -1.25;
    e.reg[1].YbarLR = -12.34;
    e.reg[1].Rho = -0.5;
    EXPECT_EQ(regress::regressionLine(2, 1, e),
              " 2    "
              "GrnVol  "
              "LiVOL-DS1(cu.ft)  "
              "-1.2500"
              " 6.4    "
              "-12.3  "
              " .2        "
              "-0.5000"
              " 121.34"
              " 10     "
              " 6    "
              " 6");
}

TEST(RegressLines, GroundLinesKeepTheZeroBeforeThePoint) {
    EXPECT_EQ(regress::groundLine(0, 0.5), "      Grn Volume-DS1                            0.5");
    EXPECT_EQ(regress::groundLine(1, 215), "      Grn Volume-DS2                            215");
    EXPECT_EQ(regress::groundVolumeLine(172.45),
              "      Ground Volume                             172.4");
    EXPECT_EQ(regress::groundVolumeLine(0), "      Ground Volume                             0");
}

TEST(RegressLines, CombinedLine) {
    EXPECT_EQ(regress::combinedLine(2, 150, 4.5643546, 7.4476),
              "Co    "
              "GrnVol  "
              "LiBA-DS2(sq.ft)  "
              "                "
              " 150    "
              " 4.56    "
              "         "
              " 7.45");
}

TEST(StratVolLines, HeaderAndPrefix) {
    EXPECT_EQ(
        stratvol::headerLine(),
        "STRATA          YBarLR    S_yBarLR  SE      Sp    Pr  %BADis  %VolDis   N     BA     "
        "Hgt     Vol");
    const std::string prefix = stratvol::rowPrefix("non-stratified", {0.4514, 0.19725, 121.338});
    EXPECT_EQ(prefix, "non-stratified  .45        .2       121.34  ");
    EXPECT_EQ(prefix.size(), 44u);
    EXPECT_EQ(stratvol::rowPrefix("10000", {}), "10000           0          0        0       ");
}

TEST(StratVolLines, ClassSubtotalAndTotal) {
    EXPECT_EQ(stratvol::classLine(1, 2, 75, 71.73497, 7.5, 4.5, 80, 41.25),
              " 1   "
              " 2   "
              "75.0    "
              "71.7    "
              " 8     "
              "4.5     "
              "80.0    "
              "41.3");
    stratvol::ClassSums s;
    s.BAalloc = 220.8333;
    s.VolAlloc = 227.1694;
    s.N = 27.5;
    s.BA = 13.25;
    s.NHeight = 1900;
    s.vol = 130.63;
    EXPECT_EQ(stratvol::subtotalLine(s), std::string(45, ' ') +
                                             "Subtotal "
                                             "220.8   "
                                             "227.2   "
                                             " 28    "
                                             "13.3    "
                                             "69.1   "
                                             " 131");
    s.N = 40000.25;  // beyond 16 bits, written in full
    s.vol = 172.5;   // a tie: to the even neighbour
    EXPECT_EQ(stratvol::totalLine(s), std::string(44, ' ') +
                                          "--TOTAL-- "
                                          "220.8   "
                                          "227.2   "
                                          " 40000 "
                                          "13.3    "
                                          "0.0    "
                                          " 172");
}

TEST(StratVolLines, SubtotalWithoutTreesHasNoHeight) {
    stratvol::ClassSums s;
    s.BAalloc = 1;
    EXPECT_EQ(stratvol::subtotalLine(s), std::string(45, ' ') +
                                             "Subtotal "
                                             "1.0     "
                                             "0.0     "
                                             " 0     "
                                             "0.0     "
                                             "0.0    "
                                             " 0");
}

}  // namespace
}  // namespace orr
