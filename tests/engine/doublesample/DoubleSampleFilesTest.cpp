// Step 9 end to end on small data sets written in the test; both reports compared whole against
// texts worked out by hand.
#include <filesystem>

#include "DoubleSampleFixture.h"

namespace orr::test {
namespace {

const std::string kRegressHeader =
    "St    Depend  Independ          Beta    IdxFt   YbarLR  S_ybarLR  Rho     SE     N1      "
    "N2L   N2G";
const std::string kVariableHeader =
    "St    Variable                          Phase1  Phase2  CV                       N_rs    N1 "
    "   N2";
const std::string kCombinedHeader =
    "St    Depend  Independ                          YbarLR  S_ybarLR          SE";
const std::string kStratVolHeader =
    "STRATA          YBarLR    S_yBarLR  SE      Sp    Pr  %BADis  %VolDis   N     BA     Hgt    "
    " Vol";
const std::string k16(16, ' ');
const std::string k17(17, ' ');
const std::string k44(44, ' ');
const std::string k45(45, ' ');

std::string grnDs1(const std::string& v) {
    return "      Grn Volume-DS1" + std::string(28, ' ') + v;
}
std::string grnDs2(const std::string& v) {
    return "      Grn Volume-DS2" + std::string(28, ' ') + v;
}
std::string ground(const std::string& v) {
    return "      Ground Volume" + std::string(29, ' ') + v;
}

// ---------------------------------------------------------------------------------------------
// One stratum covering every plot. DataSet 1 on plots 1-4: y = 10 x (x = 10, 12, 14, 16),
// SSx = 20, SPxy = 200, SSy = 2000, Beta 10, MSE 0; LiDAR volume 50 on every plot (SSx = 0, no
// regression). DataSet 2 on plots 5-8: y = 100 + 5 x (x = 20 .. 26), SSy = 500, Beta 5.
// Ground mean of all eight plots 1380 / 8 = 172.5.
// Phase 1: DataSet 1 four plots, BA 103 (25.75 a plot), volume 500; DataSet 2 four plots, BA 74
// (18.5), volume 240.
// YbarLR 172.5 + 10 (25.75 - 13) = 300 and 172.5 + 5 (18.5 - 23) = 150.
// S_ybarLR^2 = (1 - 4/8) s2 / 4: s2 = 2000/3 gives 83.33 (S 9.1287), s2 = 500/3 gives 20.83
// (S 4.5644). t(2 df) = 4.27283: SE = 100 t S / YbarLR = 13.0018 for both: the tie goes to
// regression 1. CV 100 sqrt(666.67) / 130 = 19.86 and 100 sqrt(166.67) / 215 = 6.00;
// N_rs = t^2 CV^2 / 100 = 72.02 and 6.58; rho = 1, so N1req = N_rs and N2req = 0.
// Combined: weight (4 + 4) / 8 = 1; t(8 - 2 df) = 2.44755; SE = 100 S t / YbarLR = 7.45 for
// both; regression 1 is selected.
// ---------------------------------------------------------------------------------------------
class SingleStratum : public DoubleSampleTest {
  protected:
    void SetUp() override {
        session.DataSetName = "T1";
        session.params.MaxSpec = 2;
        session.params.MaxProd = 2;
        session.params.MaxPlots = 20;
        writeStrata({"1,1,20,30"});
        writeDataSetFile("_Phase2.csv",
                         {"1,40,10,100,20,10,50,0,0,0", "2,40,12,120,20,12,50,0,0,0",
                          "3,40,14,140,20,14,50,0,0,0", "4,40,16,160,20,16,50,0,0,0",
                          "5,40,20,200,0,0,0,20,20,50", "6,40,22,210,0,0,0,20,22,50",
                          "7,40,24,220,0,0,0,20,24,50", "8,40,26,230,0,0,0,20,26,50"});
        writeDataSetFile("_Phase1DS1.csv", {"1,1,20,20,100", "1,2,20,5.75,100", "2,1,20,25,100",
                                            "3,1,20,26,100", "4,1,20,26.25,100", "9,1,0,0,999"});
        writeDataSetFile("_Phase1DS2.csv",
                         {"5,1,20,18,60", "6,1,20,18.5,60", "7,1,20,18.5,60", "8,1,20,19,60"});
        // Class sums over the eight plots: (1,1) N 160, BA 70, vol 715; (1,2) 60, 36, 330;
        // (2,2) 100, 38, 335. Means over 8: 20, 8.75, 89.375; 7.5, 4.5, 41.25; 12.5, 4.75,
        // 41.875.
        writeDataSetFile("_PH2Plot.csv",
                         {"1,1,1,20,6,60,50,60,60", "1,2,2,20,4,40,50,40,40",
                          "2,1,1,20,6,70,50,50,58.33", "2,2,2,20,6,50,50,50,41.67",
                          "3,1,1,20,8,80,50,57.14,57.14", "3,2,2,20,6,60,50,42.86,42.86",
                          "4,1,1,20,8,90,50,50,56.25", "4,2,2,20,8,70,50,50,43.75",
                          "5,1,1,40,20,200,100,100,100", "6,1,1,20,10,100,50,45.45,47.62",
                          "6,1,2,20,12,110,50,54.55,52.38", "7,1,2,40,24,220,100,100,100",
                          "8,1,1,20,12,115,50,46.15,50", "8,2,2,20,14,115,50,53.85,50"});
        // The summary holds the means rounded to 2 decimals, as step 5 writes them.
        writeDataSetFile("_PH2Sum.csv",
                         {"1,1,20,8.75,89.38,8", "1,2,7.5,4.5,41.25,8", "2,2,12.5,4.75,41.88,8"});
        // Heights: (1,1) 60 and 70, (1,2) 80, (2,2) 50 and 55. A height of 0 and species 3
        // (above MaxSpec) are left out.
        writeTrees({"1,1,1,10,60,30,0,0", "2,1,1,9,0,30,0,0", "5,1,1,11,70,30,0,0",
                    "7,1,2,12,80,30,0,0", "3,2,2,8,50,30,0,0", "8,2,2,8.5,55,30,0,0",
                    "4,3,1,9,99,30,0,0"});
    }

    static std::vector<std::string> section(const std::string& h) {
        const std::string st = " " + h + "    ";
        return {
            kRegressHeader,
            st + "GrnVol  LiBA-DS1(sq.ft)   10.0000 100     300     9.13      1.0000  13    "
                 " 4       4     8",
            st + "GrnVol  LiBA-DS2(sq.ft)   5.0000  100     150     4.56      1.0000  13    "
                 " 4       4     8",
            "",
            kVariableHeader,
            st + "LiBA-DS1(sq.ft) " + k17 + " 25.8    13      19.86   " + k16 + " 72      72    0",
            st + "LiVOL-DS1(cu.ft)" + k17 + " 125     50      19.86   " + k16 + " 0       0     0",
            st + "LiBA-DS2(sq.ft) " + k17 + " 18.5    23      6       " + k16 + " 7       7     0",
            st + "LiVOL-DS2(cu.ft)" + k17 + " 60      50      6       " + k16 + " 0       0     0",
            grnDs1("130"),
            grnDs2("215"),
            ground("172.5"),
            " ",
            " "};
    }
};

TEST_F(SingleStratum, RegressionReport) {
    runExpectingSuccess();
    std::vector<std::string> expected = section("0");
    for (const std::string& line : section("1")) expected.push_back(line);
    expected.push_back(kCombinedHeader);
    expected.push_back("Co    GrnVol  LiBA-DS1(sq.ft)  " + k16 + " 300     9.13    " +
                       std::string(9, ' ') + " 7.45");
    expected.push_back("Co    GrnVol  LiBA-DS2(sq.ft)  " + k16 + " 150     4.56    " +
                       std::string(9, ' ') + " 7.45");
    EXPECT_EQ(dataSetFile("_Regress.txt"), lines(expected));
}

// Index 0 uses the summary means (89.38, 41.88: volume total 172.51); stratum 1 its own sums
// divided by its 8 Phase 2 plots (not by the 4 plots of the last regression written). Shares of
// BA: 8.75, 4.5, 4.75 of 18; of volume: 89.375, 41.25, 41.875 of 172.5. With YbarLR 300:
// BA 145.8, 75.0, 79.2; volume 155.4, 71.7, 72.8.
// Subtotal of species 1: N 27.5 -> 28 (half to even), height (20 x 65 + 7.5 x 80) / 27.5 =
// 69.09. Species 2: N 12.5 -> 12. Total N 40, height 2556.25 / 40 = 63.9, volume 172.5 -> 172
// (stratum 1) and 172.51 -> 173 (index 0).
TEST_F(SingleStratum, StratumVolumeReport) {
    runExpectingSuccess();
    auto classes = [](const std::string& sub1Vol, const std::string& sub2Vol,
                      const std::string& totalVol) {
        return std::vector<std::string>{
            k44 + " 1    2   75.0    71.7     8     4.5     80.0    41.3",
            k45 + "Subtotal 220.8   227.2    28    13.3    69.1    " + sub1Vol,
            k44 + " 2    2   79.2    72.8     12    4.8     52.5    41.9",
            k45 + "Subtotal 79.2    72.8     12    4.8     52.5    " + sub2Vol,
            k44 + "--TOTAL-- 300.0   300.0    40    18.0    63.9    " + totalVol,
            ""};
    };
    const std::string class11 = " 1    1   145.8   155.4    20    8.8     65.0    89.4";
    std::vector<std::string> expected = {kStratVolHeader, ""};
    auto row = [&](const std::string& prefix, const std::vector<std::string>& rest) {
        expected.push_back(prefix + class11);
        for (const std::string& l : rest) expected.push_back(l);
    };
    row("non-stratified  300        9.13     13      ", classes("131", "42", "173"));
    row("1               300        9.13     13      ", classes("131", "42", "172"));
    row("combined        300        9.13     7.45    ", classes("131", "42", "173"));
    EXPECT_EQ(dataSetFile("_StratVol.txt"), lines(expected));
}

TEST_F(SingleStratum, LogAndStatus) {
    runExpectingSuccess();
    EXPECT_EQ(host.statuses,
              (std::vector<std::string>{"Status: Computing double sample estimates..",
                                        "Status: Double sample estimates computed!"}));
    EXPECT_EQ(host.logLines(),
              (std::vector<std::string>{
                  "Double sample estimates computed successfully!",
                  "The following file was created in the directory - " + session.dataFilesDirText(),
                  "T1_StratVol.txt", "T1_Regress.txt"}));
}

// ---------------------------------------------------------------------------------------------
// Three strata (see writeThreeStrata). Stratum 1: plots 1, 2, 3, 4, 6 with DataSet 1, plot 7
// ground only (N2G 6, ground mean 415/6 = 69.17); Phase 1 plots 1-4, 6-10 (9, BA 60, volume
// 583). Stratum 2: plots 5, 11, 12, 13 (plot 5 by the later strata row); Phase 1 plots 5, 11,
// 12, 13, 15, 17 (6, BA 64, volume 700). Stratum 3: plots 21-23 with y = 120 - 10 x: negative
// slopes, nothing written. Plots 26, 27 and Phase 1 plots 26, 28, 30 lie in no stratum and
// count in index 0 only. No _Phase1DS2.csv: no DataSet 2 regression, variable or combined
// line; plots 1-3 carry DataSet 2 values, so "Grn Volume-DS2" appears for index 0 and
// stratum 1 (mean of 50, 70, 90).
//
// Stratum 2 by hand: x = 10, 12, 9, 11, y = 120, 150, 100, 130: SSx 5, SPxy 80, SSy 1300,
// Beta 16, SSE 20, IdxFt 98.46, MSE 10, x-bar' 10.667, YbarLR 125 + 16/6 = 127.67,
// S^2 = 0.4 (1300/3) / 6 + (1/3) 10 (1/4 + (1/36)/5) = 803/27, S 5.45, rho 80/sqrt(6500) =
// 0.9923, t(2) 4.27283, SE 18.25, CV 16.65, N_rs 50.63, N1req 69.56, N2req 2.75.
// The other strata and index 0 were worked out the same way (sums in the comments of the
// expected lines).
// Combined: M_0 = 21 + 14 = 35, weights 14/35 (stratum 1) and 10/35 (stratum 2), t(35 - 6).
// ---------------------------------------------------------------------------------------------
class ThreeStrata : public DoubleSampleTest {
  protected:
    void SetUp() override { writeThreeStrata(); }
};

TEST_F(ThreeStrata, RegressionReport) {
    runExpectingSuccess();
    const std::vector<std::string> expected = {
        // Index 0: 14 plots with DataSet 1 (of 15 with ground trees), 21 Phase 1 plots.
        // BA: SSx 127.71, SPxy 1967.14, Beta 15.4027; volume: SSx 29930.36, SPxy 31064.29.
        kRegressHeader,
        " 0    GrnVol  LiBA-DS1(sq.ft)   15.4027 90.8    99.3    7.42      0.9529  16.28  21   "
        "   14    15",
        " 0    GrnVol  LiVOL-DS1(cu.ft)  1.0379  96.6    97.3    7.15      0.9829  16.01  21   "
        "   14    15",
        "", kVariableHeader,
        " 0    LiBA-DS1(sq.ft) " + k17 + " 9       8.9     51.4    " + k16 + " 125     229   23",
        " 0    LiVOL-DS1(cu.ft)" + k17 + " 94.2    93.2    51.4    " + k16 + " 125     193   11",
        grnDs1("98.6"), grnDs2("70"), ground("96.3"), " ", " ",
        // Stratum 1: x = 5, 6, 8, 7, 6 (SSx 5.2, SPxy 70), volume SSx 1270, SPxy 1100; SSy 1000.
        kRegressHeader,
        " 1    GrnVol  LiBA-DS1(sq.ft)   13.4615 94.2    72.8    3.43      0.9707  14.98  9    "
        "   5     6",
        " 1    GrnVol  LiVOL-DS1(cu.ft)  0.8661  95.3    69.8    3.37      0.9761  15.32  9    "
        "   5     6",
        "", kVariableHeader,
        " 1    LiBA-DS1(sq.ft) " + k17 + " 6.7     6.4     22.59   " + k16 + " 52      87    7",
        " 1    LiVOL-DS1(cu.ft)" + k17 + " 64.8    64      22.59   " + k16 + " 52      84    6",
        grnDs1("70"), grnDs2("70"), ground("69.2"), " ", " ", kRegressHeader,
        " 2    GrnVol  LiBA-DS1(sq.ft)   16.0000 98.5    127.7   5.45      0.9923  18.25  6    "
        "   4     4",
        " 2    GrnVol  LiVOL-DS1(cu.ft)  1.2870  91.6    122.3   5.79      0.9569  20.24  6    "
        "   4     4",
        "", kVariableHeader,
        " 2    LiBA-DS1(sq.ft) " + k17 + " 10.7    10.5    16.65   " + k16 + " 51      70    3",
        " 2    LiVOL-DS1(cu.ft)" + k17 + " 116.7   118.8   16.65   " + k16 + " 51      91    9",
        grnDs1("125"), ground("125"), " ", " ",
        // Stratum 3: Beta -10 and -1, rho -1: no regression line; the variable lines show the
        // sample sizes all the same (t(1) = 11.31, CV 20, N_rs 511.7).
        kRegressHeader, "", kVariableHeader,
        " 3    LiBA-DS1(sq.ft) " + k17 + " 7       7       20      " + k16 + " 512     512   0",
        " 3    LiVOL-DS1(cu.ft)" + k17 + " 51.7    50      20      " + k16 + " 512     512   0",
        grnDs1("50"), ground("50"), " ", " ", kCombinedHeader,
        "Co    GrnVol  LiBA-DS1(sq.ft)  " + k16 + " 65.6    2.08    " + std::string(9, ' ') +
            " 6.47",
        "Co    GrnVol  LiVOL-DS1(cu.ft) " + k16 + " 62.9    2.13    " + std::string(9, ' ') +
            " 6.94"};
    EXPECT_EQ(dataSetFile("_Regress.txt"), lines(expected));
}

// Index 0: summary means (1,1) 29.33, 5.97, 59.67 and (1,2) 10.67, 3.67, 36.67; heights
// (1,1) (50 + 60 + 70 + 40) / 4 = 55 and (1,2) (55 + 65 + 75) / 3 = 65, the trees of plots 26
// and 27 counted once. Stratum 1 (6 plots): (1,1) 180, 28.5, 285 -> 30, 4.75, 47.5, height 50;
// (1,2) 60, 13, 130 -> 10, 2.17, 21.67, height 55. Stratum 2 (4 plots): (1,1) 100, 28, 280 ->
// 25, 7, 70, height 60; (1,2) 60, 22, 220 -> 15, 5.5, 55, height 65. Stratum 3 has no written
// regression: its row is the prefix alone.
TEST_F(ThreeStrata, StratumVolumeReport) {
    runExpectingSuccess();
    const std::vector<std::string> expected = {
        kStratVolHeader,
        "",
        "non-stratified  97.35      7.15     16.01    1    1   60.3    60.3     29    6.0     "
        "55.0    59.7",
        k44 + " 1    2   37.1    37.1     11    3.7     65.0    36.7",
        k45 + "Subtotal 97.3    97.3     40    9.6     57.7    96",
        k44 + "--TOTAL-- 97.3    97.3     40    9.6     57.7    96",
        "",
        "1               72.76      3.43     14.98    1    1   50.0    50.0     30    4.8     "
        "50.0    47.5",
        k44 + " 1    2   22.8    22.8     10    2.2     55.0    21.7",
        k45 + "Subtotal 72.8    72.8     40    6.9     51.3    69",
        k44 + "--TOTAL-- 72.8    72.8     40    6.9     51.3    69",
        "",
        "2               127.67     5.45     18.25    1    1   71.5    71.5     25    7.0     "
        "60.0    70.0",
        k44 + " 1    2   56.2    56.2     15    5.5     65.0    55.0",
        k45 + "Subtotal 127.7   127.7    40    12.5    61.9    125",
        k44 + "--TOTAL-- 127.7   127.7    40    12.5    61.9    125",
        "",
        "3               0          0        0       ",
        "combined        65.58      2.08     6.47     1    1   40.6    40.6     29    6.0     "
        "55.0    59.7",
        k44 + " 1    2   25.0    25.0     11    3.7     65.0    36.7",
        k45 + "Subtotal 65.6    65.6     40    9.6     57.7    96",
        k44 + "--TOTAL-- 65.6    65.6     40    9.6     57.7    96",
        ""};
    EXPECT_EQ(dataSetFile("_StratVol.txt"), lines(expected));
}

TEST_F(ThreeStrata, NoDataSet2FileIsCreated) {
    runExpectingSuccess();
    EXPECT_FALSE(std::filesystem::exists(session.dataSetFile("_Phase1DS2.csv")));
    EXPECT_FALSE(std::filesystem::exists(session.dataSetFile("_Regress.txt.tmp")));
}

TEST_F(ThreeStrata, EmptyDataSet2FileCountsAsNone) {
    writeDataSetFile("_Phase1DS2.csv", {});
    runExpectingSuccess();
    const std::string regress = dataSetFile("_Regress.txt");
    EXPECT_EQ(regress.find("DS2(sq.ft)"), std::string::npos);
    EXPECT_EQ(regress.find("DS2(cu.ft)"), std::string::npos);
}

TEST_F(ThreeStrata, RunningTwiceGivesTheSameReports) {
    runExpectingSuccess();
    const std::string regress = dataSetFile("_Regress.txt");
    const std::string stratVol = dataSetFile("_StratVol.txt");
    runExpectingSuccess();
    EXPECT_EQ(dataSetFile("_Regress.txt"), regress);
    EXPECT_EQ(dataSetFile("_StratVol.txt"), stratVol);
}

}  // namespace
}  // namespace orr::test
