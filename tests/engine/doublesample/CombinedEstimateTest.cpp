// The strata combined when a stratum lacks a regression: it enters through its ground-plot mean
// and that mean's standard error, or, with fewer than two Phase 2 plots, the combination cannot
// be formed; a regression whose mean volume falls below zero is not an estimate. The data set
// is the three strata of writeThreeStrata with stratum 3 (plots 21 to 25) changed; strata 1 and
// 2 and their weights (14 and 10 of the strata's plots) stay as worked out there.
#include "tests/engine/doublesample/DoubleSampleFixture.h"

namespace orr::test {
namespace {

class StratumWithoutRegression : public DoubleSampleTest {
  protected:
    void SetUp() override { writeThreeStrata(); }

    // Replaces the Phase 2 records of stratum 3 (plots 21 to 23) with `records`.
    void stratumThreePhase2(const std::vector<std::string>& records) {
        std::string text = read(DataSetFile::Phase2);
        const std::string old = crlf(
            {"21,40,4,40,20,8,60,0,0,0", "22,40,6,60,20,6,40,0,0,0", "23,40,5,50,20,7,50,0,0,0"});
        writeFile(path(DataSetFile::Phase2),
                  text.replace(text.find(old), old.size(), crlf(records)));
    }

    // The regression report from stratum 3's header on.
    std::vector<std::string> fromStratumThree() {
        std::vector<std::string> lines;
        const std::string report = read(DataSetFile::Regression);
        const std::size_t at = report.find(kRegressHeader + "\r\n\r\n");
        for (std::size_t start = at; start < report.size();) {
            const std::size_t end = report.find("\r\n", start);
            lines.push_back(report.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }
};

TEST_F(StratumWithoutRegression, TwoPlotsEnterThroughTheirGroundMean) {
    // Ground volumes 40 and 60: mean 50, s = 14.142, standard error 10. Stratum 3 now has
    // 3 Phase 1 and 2 Phase 2 plots, so the weights are 14/29, 10/29 and 5/29 and t has 23
    // degrees of freedom. LiBA: (14 * 72.761 + 10 * 127.674 + 5 * 50) / 29 = 87.77, standard
    // error sqrt((14/29 * 3.43)^2 + (10/29 * 5.45)^2 + (5/29 * 10)^2) = 3.04.
    stratumThreePhase2({"21,40,4,40,20,8,60,0,0,0", "22,40,6,60,20,6,40,0,0,0"});
    runExpectingSuccess();
    EXPECT_EQ(
        fromStratumThree(),
        (std::vector<std::string>{
            kRegressHeader, "", kVariableHeader,
            " 3    LiBA-DS1(sq.ft) " + k17 + " 7       7       28.28   " + k16 + " 0       0     0",
            " 3    LiVOL-DS1(cu.ft)" + k17 + " 51.7    50      28.28   " + k16 + " 0       0     0",
            kGrnDs1 + "50", kGround + "50", " ", " ", kCombinedHeader,
            "Co    GrnVol  LiBA-DS1(sq.ft)  " + k16 + " 87.8    3.04    " + k9 + " 7.17",
            "Co    GrnVol  LiVOL-DS1(cu.ft) " + k16 + " 84.5    3.1     " + k9 + " 7.59",
            "      LiBA-DS1(sq.ft): ground mean used in stratum 3",
            "      LiVOL-DS1(cu.ft): ground mean used in stratum 3"}));
    EXPECT_EQ(host.logLines().back(), "Warning: LiVOL-DS1(cu.ft): ground mean used in stratum 3");
}

TEST_F(StratumWithoutRegression, OnePlotLeavesTheCombinationUnformed) {
    stratumThreePhase2({"21,40,4,40,20,8,60,0,0,0"});
    runExpectingSuccess();
    const std::vector<std::string> tail = fromStratumThree();
    EXPECT_EQ(
        std::vector<std::string>(tail.end() - 3, tail.end()),
        (std::vector<std::string>{
            kCombinedHeader,
            "      LiBA-DS1(sq.ft): not combined, fewer than two Phase 2 plots in stratum 3",
            "      LiVOL-DS1(cu.ft): not combined, fewer than two Phase 2 plots in stratum 3"}));
    // Nothing is selected for the strata combined: zero estimates, nothing allocated.
    const std::string stratVol = read(DataSetFile::StratumVolume);
    EXPECT_NE(
        stratVol.find("\r\ncombined        0          0        0        1    1   0.0     0.0 "),
        std::string::npos)
        << stratVol;
}

// Stratum 3's LiDAR values rise with the ground volumes (BA 8, 9, 10 and volume 60, 70, 80
// against 40, 60, 80: slopes 20 and 2, an exact fit), but its Phase 1 plots carry far less
// (BA 1, 2, 3, volume 5, 10, 15): YbarLR = 60 + 20 (2 - 9) = -80 and 60 + 2 (10 - 70) = -60. No
// mean volume below zero is written, selected or combined: the stratum enters through its
// ground mean 60 (standard error 20 / sqrt(3)). Index 0 holds the changed plots too.
TEST_F(StratumWithoutRegression, NegativeMeansAreNoEstimates) {
    stratumThreePhase2(
        {"21,40,4,40,20,8,60,0,0,0", "22,40,6,60,20,9,70,0,0,0", "23,40,8,80,20,10,80,0,0,0"});
    write(DataSetFile::Phase1DS1,
          {"1,1,20,5,50",    "2,1,20,6,60",    "3,1,20,7,70",    "3,2,10,1,8",     "4,1,20,8,80",
           "5,1,20,10,110",  "6,1,20,6,55",    "7,1,20,5,45",    "8,1,20,9,90",    "9,1,20,7,65",
           "10,1,20,6,60",   "11,1,20,12,130", "12,1,20,10,100", "13,1,20,11,125", "15,1,20,12,135",
           "17,1,20,9,100",  "21,1,20,1,5",    "22,1,20,2,10",   "24,1,20,3,15",   "26,1,20,15,180",
           "28,1,20,14,160", "29,1,0,0,10",    "30,1,20,16,200"});
    runExpectingSuccess();
    const std::string regress = read(DataSetFile::Regression);
    for (
        const std::string& line : std::vector<std::string>{
            " 0    GrnVol  LiBA-DS1(sq.ft)   15.0373 83      84      7.59      0.9110  19.68  21   "
            "   14    15",
            " 0    GrnVol  LiVOL-DS1(cu.ft)  1.0871  97      88.3    6.91      0.9849  17.07  21   "
            "   14    15",
            kRegressHeader + "\r\n\r\n" + kVariableHeader + "\r\n 3    LiBA-DS1(sq.ft) " + k17 +
                " 2       9       33.33   " + k16 + " 1421    1421  0"})
        EXPECT_NE(regress.find(line), std::string::npos) << line;
    EXPECT_EQ(regress.substr(regress.find(kCombinedHeader)),
              crlf({kCombinedHeader,
                    "Co    GrnVol  LiBA-DS1(sq.ft)  " + k16 + " 88.5    3.35    " + k9 + " 7.8",
                    "Co    GrnVol  LiVOL-DS1(cu.ft) " + k16 + " 85.4    3.4     " + k9 + " 8.21",
                    "      LiBA-DS1(sq.ft): ground mean used in stratum 3",
                    "      LiVOL-DS1(cu.ft): ground mean used in stratum 3"}));
    const std::string stratVol = read(DataSetFile::StratumVolume);
    EXPECT_NE(stratVol.find("\r\n3               0          0        0       \r\ncombined        "
                            "88.51      3.35     7.8 "),
              std::string::npos)
        << stratVol;
}

}  // namespace
}  // namespace orr::test
