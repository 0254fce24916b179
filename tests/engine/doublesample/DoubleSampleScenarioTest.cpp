// Step 9 with a stratum number of five digits, small volumes, a stratum whose regression has an
// SE of 999 percent or more, and whole numbers beyond 16 bits.
#include "tests/engine/doublesample/DoubleSampleFixture.h"

namespace orr::test {
namespace {

// Stratum 10000 holds plots 1-5: Phase 2 plots 1-3 (y = 0.02, 0.03, 1.45 on x = 1, 3, 2),
// Phase 1 plots 1-5 with BA 1. Plots 6-10 lie in no stratum: Phase 2 plots 6-8 (y = 0.2, 0.5,
// 0.8 on x = 2, 5, 8), Phase 1 plots 6-10 with BA 4, 4, 4, 4, 5. LiDAR volume is 10 everywhere,
// so the volume regressions cannot be computed.
//
// Index 0: YbarLR 0.4514 (" .45"), ground mean 0.5, SE 121.34. Stratum 10000: SE 1618.90, so
// nothing is selected; N_rs 34635.05 and N2req 34700.3 beyond 16 bits. No combined estimate:
// M_0 - 2H = 16 - 20000 degrees of freedom. Worked by hand from the sums of x, y, xy.
class FiveDigitStratum : public DoubleSampleTest {
  protected:
    void SetUp() override {
        session.dataSetName = "T3";
        session.params.MaxSpec = 1;
        session.params.MaxProd = 1;
        session.params.MaxPlots = 20;
        writeStrata({"10000,1,5,30"});
        write(DataSetFile::Phase2, {"1,40,1,0.02,20,1,10,0,0,0", "2,40,1,0.03,20,3,10,0,0,0",
                                    "3,40,1,1.45,20,2,10,0,0,0", "6,40,1,0.2,20,2,10,0,0,0",
                                    "7,40,1,0.5,20,5,10,0,0,0", "8,40,1,0.8,20,8,10,0,0,0"});
        write(DataSetFile::Phase1DS1,
              {"1,1,20,1,10", "2,1,20,1,10", "3,1,20,1,10", "4,1,20,1,10", "5,1,20,1,10",
               "6,1,20,4,10", "7,1,20,4,10", "8,1,20,4,10", "9,1,20,4,10", "10,1,20,5,10"});
        // Stratum 10000: N 180001.5 / 3 = 60000.5 -> 60000, BA 3, volume 0.5.
        write(DataSetFile::PlotClasses,
              {"1,1,1,60000,3,0.02,100,100,100", "2,1,1,60000,3,0.03,100,100,100",
               "3,1,1,60001.5,3,1.45,100,100,100", "6,1,1,20000,2,0.2,100,100,100",
               "7,1,1,20000,2,0.5,100,100,100", "8,1,1,20000,2,0.8,100,100,100"});
        write(DataSetFile::Phase2Summary, {"1,1,40000.25,2.5,0.5,6"});
        // Heights: 20 in stratum 10000, 30 in no stratum; index 0 (20 + 30) / 2 = 25.
        writeTrees({"1,1,1,10,20,30,0,0", "6,1,1,10,30,30,0,0"});
    }

    static void emptySection(std::vector<std::string>& out) {
        out.insert(out.end(),
                   {kRegressHeader, "", kVariableHeader, grnDs1("0"), ground("0"), " ", " "});
    }
};

TEST_F(FiveDigitStratum, RegressionReport) {
    runExpectingSuccess();
    std::vector<std::string> expected = {
        kRegressHeader,
        " 0    GrnVol  LiBA-DS1(sq.ft)   0.0540  6.4     .5      .2        0.2525  121.34 10   "
        "   6     6",
        "",
        kVariableHeader,
        " 0    LiBA-DS1(sq.ft) " + k17 + " 2.6     3.5     110.77  " + k16 + " 946     791   959",
        " 0    LiVOL-DS1(cu.ft)" + k17 + " 10      10      110.77  " + k16 + " 0       0     0",
        grnDs1("0.5"),
        ground("0.5"),
        " ",
        " "};
    // Stratum numbers 1 to 9999 have no plots: empty sections.
    for (int h = 1; h < 10000; ++h) emptySection(expected);
    const std::vector<std::string> last = {
        kRegressHeader,
        // The stratum fills its five places; the SE of six characters fills its width.
        " 10000GrnVol  LiBA-DS1(sq.ft)   0.0050  0       .5      .71       0.0061  1618.9 5    "
        "   3     3",
        "", kVariableHeader,
        " 10000LiBA-DS1(sq.ft) " + k17 + " 1       2       164.55  " + k16 + " 34635   667   34700",
        " 10000LiVOL-DS1(cu.ft)" + k17 + " 10      10      164.55  " + k16 + " 0       0     0",
        grnDs1("0.5"), ground("0.5"), " ", " ", kCombinedHeader};
    expected.insert(expected.end(), last.begin(), last.end());
    EXPECT_EQ(read(DataSetFile::Regression), crlf(expected));
}

TEST_F(FiveDigitStratum, StratumVolumeReport) {
    runExpectingSuccess();
    std::vector<std::string> expected = {
        kStratVolHeader, "",
        // YbarLR 0.4514 -> " .45"; class N 40000.25 -> 40000; subtotal volume 0.5 -> 0.
        "non-stratified  .45        .2       121.34   1    1   0.5     0.5      40000 2.5     "
        "25.0    0.5",
        k45 + "Subtotal 0.5     0.5      40000 2.5     25.0    0",
        k44 + "--TOTAL-- 0.5     0.5      40000 2.5     25.0    0", ""};
    for (int r = 1; r < 10000; ++r) {
        std::string label = std::to_string(r);
        label += std::string(15 - label.size(), ' ');
        expected.push_back(label + " 0          0        0       ");
    }
    // Nothing selected (SE 1618.9): the class is listed with nothing allocated, and neither
    // subtotal nor total follows.
    expected.push_back(
        "10000           0          0        0        1    1   0.0     0.0      60000 3.0     "
        "20.0    0.5");
    expected.push_back("");
    // No combined estimate: the classes of index 0 with nothing allocated.
    expected.push_back(
        "combined        0          0        0        1    1   0.0     0.0      40000 2.5     "
        "25.0    0.5");
    expected.push_back("");
    EXPECT_EQ(read(DataSetFile::StratumVolume), crlf(expected));
}

}  // namespace
}  // namespace orr::test
