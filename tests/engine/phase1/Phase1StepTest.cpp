// Step 7 end to end on small data sets worked out by hand; output files compared whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/phase1/Phase1.h"
#include "tests/engine/phase1/Phase1TestData.h"

namespace orr::test {
namespace {

// Two strata of one species each: stratum 1 (plots 1-10) has only species 1 on its Phase 2
// plot, stratum 2 (plots 11-20) only species 2. Every LiDAR tree then gets its stratum's species
// and the files follow by hand: species 1 has DBH 10 (BA 0.5454, 10.908 per tree times PACF 20)
// and volume H; species 2 has DBH 5 (BA 0.13635, 2.727 times 20) and volume 2H.
class SingleSpeciesStrata : public ::testing::Test {
  protected:
    SingleSpeciesStrata() {
        data.writeStandardSetUp();
        data.writeStrata(crlf({"1,1,10,30", "2,11,20,40"}));
        data.writeSpecies(crlf({"3,1,40", "3,2,0", "12,1,0", "12,2,60"}));
        // Plot 3 comes back after plots 12 and 5: a further group, written again.
        data.writeHigh(crlf({"3,15.5", "3,8", "3,20", "12,12", "12,30.25", "5,11", "3,14"}));
        data.writeLow(crlf({"12,10", "12,10.5", "4,50"}));
    }
    Phase1Data data;
    RecordingHost host;
};

TEST_F(SingleSpeciesStrata, EveryTreeGetsItsStratumsSpecies) {
    ASSERT_TRUE(data.run(host));
    EXPECT_TRUE(host.messages.empty());
    // Plot 3: 15.5 and 20 (8 is too low): N 40, BA 2 * 10.908 = 21.816, volume 35.5 * 20.
    // Plot 12: 12 and 30.25: BA 2 * 2.727 = 5.454, volume 2 * 42.25 * 20 = 1690.
    EXPECT_EQ(readFile(data.out("_Phase1DS1.csv")), crlf({
                                                        "3,1,40,21.82,710",
                                                        "12,2,40,5.45,1690",
                                                        "5,1,20,10.91,220",
                                                        "3,1,20,10.91,280",
                                                    }));
    // DataSet 2: 10 is not above 10; 10.5 gives volume 21 * 20.
    EXPECT_EQ(readFile(data.out("_Phase1DS2.csv")), crlf({
                                                        "12,2,20,2.73,420",
                                                        "4,1,20,10.91,1000",
                                                    }));
}

TEST_F(SingleSpeciesStrata, LogTellsEveryLineAndTheFilesWritten) {
    ASSERT_TRUE(data.run(host));
    const std::vector<std::string> expected = {
        "Phase 1 computation of LiDAR heights started....",
        " 3      1      40     21.82    710",
        " 12     2      40     5.45     1690",
        " 5      1      20     10.91    220",
        " 3      1      20     10.91    280",
        "DataSet 1: trees skipped: 0 in plots outside every stratum, 0 whose draw fell in no "
        "species interval",
        " 12     2      20     2.73     420",
        " 4      1      20     10.91    1000",
        "DataSet 2: trees skipped: 0 in plots outside every stratum, 0 whose draw fell in no "
        "species interval",
        "The following file(s) were created in the directory - " + data.session.dataFilesDirText(),
        "T_Phase1DS2.csv",
        "T_Phase1DS1.csv",
    };
    EXPECT_EQ(host.appended, expected);
    EXPECT_EQ(host.log, crlf({"Phase 1 computation of LiDAR heights completed!!",
                              "The following file(s) were created in the directory - " +
                                  data.session.dataFilesDirText(),
                              "T_Phase1DS2.csv", "T_Phase1DS1.csv"}));
    EXPECT_EQ(host.statuses,
              (std::vector<std::string>{"Status : Computing Phase 1..",
                                        "Status : Phase 1 computation completed!!"}));
}

TEST_F(SingleSpeciesStrata, ProgressReachesTheEnd) {
    std::size_t lastDone = 0, lastTotal = 1;
    host.onProgress = [&](std::size_t done, std::size_t total) {
        lastDone = done;
        lastTotal = total;
    };
    ASSERT_TRUE(data.run(host));
    EXPECT_GE(host.progressCalls, 1u);
    EXPECT_EQ(lastDone, lastTotal);
}

TEST_F(SingleSpeciesStrata, LowLidarFileNameEmptyWritesNoDataSet2File) {
    writeFile(data.out("_Phase1DS2.csv"), "from an earlier run\r\n");
    data.session.LowLidarFileName.clear();
    ASSERT_TRUE(data.run(host));
    EXPECT_FALSE(std::filesystem::exists(data.out("_Phase1DS2.csv")));
    EXPECT_TRUE(std::filesystem::exists(data.out("_Phase1DS1.csv")));
    EXPECT_EQ(host.logLines().back(), "T_Phase1DS1.csv");
}

TEST_F(SingleSpeciesStrata, AnEmptyDataSet2FileIsSkipped) {
    data.writeLow("");
    ASSERT_TRUE(data.run(host));
    EXPECT_FALSE(std::filesystem::exists(data.out("_Phase1DS2.csv")));
}

TEST_F(SingleSpeciesStrata, HeightsOfTenOrLessOnlyLeaveNoFile) {
    writeFile(data.out("_Phase1DS1.csv"), "from an earlier run\r\n");
    data.writeHigh(crlf({"3,10", "3,9.99", "12,4"}));
    data.session.LowLidarFileName.clear();
    ASSERT_TRUE(data.run(host));
    EXPECT_FALSE(std::filesystem::exists(data.out("_Phase1DS1.csv")));
    EXPECT_EQ(host.log, crlf({"Phase 1 computation of LiDAR heights completed!!",
                              "The following file(s) were created in the directory - " +
                                  data.session.dataFilesDirText()}));
}

TEST_F(SingleSpeciesStrata, WithoutHeightAdjustmentTheSameTreesResult) {
    // LiHgtAdj "No": H = h directly, which the standard coefficients also give.
    data.session.params.LiHgtAdj = 1;
    data.writeCoefficients({"10,0,0,0", "5,0,0,0", "0,0,0,0", "0,0,0,0", "0,0,0,0", "0,0,0,0",
                            "0,0,0,0", "0,0,0,0", "0,0,1,0", "0,0,2,0"});
    ASSERT_TRUE(data.run(host));
    EXPECT_EQ(readFile(data.out("_Phase1DS2.csv")),
              crlf({"12,2,20,2.73,420", "4,1,20,10.91,1000"}));
}

TEST_F(SingleSpeciesStrata, TreesBelowTheSmallestDbhAreLeftOut) {
    // Species 2 (DBH 5) below a minimum of 5.05 for product 1: plot 12 disappears.
    data.writeDbh(crlf({"1,1,10,99", "2,1,\"5.05\",99"}));
    ASSERT_TRUE(data.run(host));
    EXPECT_EQ(readFile(data.out("_Phase1DS1.csv")),
              crlf({"3,1,40,21.82,710", "5,1,20,10.91,220", "3,1,20,10.91,280"}));
}

TEST_F(SingleSpeciesStrata, APlotEqualToMaxPlotsIsAccepted) {
    data.session.params.MaxPlots = 12;
    data.writeHigh(crlf({"12,12"}));
    data.session.LowLidarFileName.clear();
    ASSERT_TRUE(data.run(host));
    EXPECT_EQ(readFile(data.out("_Phase1DS1.csv")), crlf({"12,2,20,2.73,480"}));
}

TEST(Phase1Strata, OverlappingRangesTheFirstStratumTakesThePhase1Plot) {
    Phase1Data data;
    RecordingHost host;
    data.writeStandardSetUp();
    // Plot 7 lies in both ranges; the first record (stratum 2) is its stratum. Its Phase 2
    // species-1 trees count in both strata: stratum 2 has species 1 only (share 1), stratum 1
    // species 1 and 2 (1/3 and 2/3).
    data.writeStrata(crlf({"2,5,15,40", "1,1,10,30"}));
    data.writeSpecies(crlf({"3,1,0", "3,2,40", "7,1,20", "7,2,0"}));
    // Ten trees 11..20 on plot 7, and on plot 13 (stratum 2 only, no Phase 2 plot of its own).
    std::vector<std::string> records;
    for (int h = 11; h <= 20; ++h) records.push_back("7," + std::to_string(h));
    for (int h = 11; h <= 20; ++h) records.push_back("13," + std::to_string(h));
    data.writeHigh(crlf(records));
    data.session.LowLidarFileName.clear();
    ASSERT_TRUE(data.run(host));
    // Every tree species 1: N 200, BA 10 * 10.908 = 109.08, volume 155 * 20.
    EXPECT_EQ(readFile(data.out("_Phase1DS1.csv")),
              crlf({"7,1,200,109.08,3100", "13,1,200,109.08,3100"}));
}

TEST(Phase1Strata, TreesWithoutASpeciesAreSkippedAndCounted) {
    Phase1Data data;
    RecordingHost host;
    data.writeStandardSetUp();
    // Stratum 2 has no Phase 2 trees; plots 40 and 41 lie in no stratum.
    data.writeStrata(crlf({"1,1,10,30", "2,11,20,40"}));
    data.writeSpecies(crlf({"3,1,10", "3,2,0", "15,1,0", "15,2,0"}));
    data.writeHigh(crlf({"15,12", "15,13", "40,12", "41,12", "41,13", "40,14", "3,12", "40,5"}));
    data.session.LowLidarFileName.clear();
    ASSERT_TRUE(data.run(host));
    EXPECT_EQ(readFile(data.out("_Phase1DS1.csv")), crlf({"3,1,20,10.91,240"}));
    EXPECT_EQ(host.appended.at(2),
              "DataSet 1: trees skipped: 4 in plots outside every stratum, 2 whose draw fell in no "
              "species interval; plots outside every stratum: 40, 41");
}

TEST(Phase1Strata, OnlyTheFirstTwentyPlotsOutsideAreListed) {
    Phase1Data data;
    RecordingHost host;
    data.writeStandardSetUp();
    data.writeStrata(crlf({"1,1,10,30"}));
    data.writeSpecies(crlf({"3,1,10", "3,2,0"}));
    std::vector<std::string> records{"3,12"};
    for (int plot = 51; plot <= 75; ++plot) records.push_back(std::to_string(plot) + ",20");
    data.writeHigh(crlf(records));
    data.session.LowLidarFileName.clear();
    ASSERT_TRUE(data.run(host));
    EXPECT_EQ(
        host.appended.at(2),
        "DataSet 1: trees skipped: 25 in plots outside every stratum, 0 whose draw fell in no "
        "species interval; plots outside every stratum: 51, 52, 53, 54, "
        "55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70 and 5 more");
}

TEST(Phase1Log, ALongLogIsClearedBeforeAStatusLine) {
    Phase1Data data;
    RecordingHost host;
    data.writeStandardSetUp();
    data.session.params.MaxPlots = 3000;
    data.writeStrata(crlf({"1,1,3000,30"}));
    data.writeSpecies(crlf({"1,1,10", "1,2,0"}));
    std::vector<std::string> records;
    for (int plot = 1; plot <= 2500; ++plot) records.push_back(std::to_string(plot) + ",20");
    data.writeHigh(crlf(records));
    data.session.LowLidarFileName.clear();
    ASSERT_TRUE(data.run(host));
    EXPECT_EQ(fileLines(data.out("_Phase1DS1.csv")).size(), 2500u);
    EXPECT_GE(host.clears, 1);
    EXPECT_LE(host.longestBeforeAppend, 64000u);
}

TEST(Phase1Pick, NoDataSet1FileEndsTheStepAtOnce) {
    Phase1Data data;
    RecordingHost host;
    data.session.HighLidarFileName.clear();
    int picks = 0;
    host.onPickLidarFiles = [&](Session&) { ++picks; };
    EXPECT_FALSE(data.run(host));
    EXPECT_EQ(picks, 1);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.statuses.empty());
}

TEST(Phase1Pick, ThePickerCanChooseTheFiles) {
    Phase1Data data;
    RecordingHost host;
    data.writeStandardSetUp();
    data.writeStrata(crlf({"1,1,10,30"}));
    data.writeSpecies(crlf({"3,1,10", "3,2,0"}));
    data.writeHigh(crlf({"3,12"}));
    data.session.HighLidarFileName.clear();
    data.session.LowLidarFileName.clear();
    host.onPickLidarFiles = [&](Session& session) { session.HighLidarFileName = data.high(); };
    ASSERT_TRUE(data.run(host));
    EXPECT_EQ(readFile(data.out("_Phase1DS1.csv")), crlf({"3,1,20,10.91,240"}));
}

}  // namespace
}  // namespace orr::test

namespace orr::test {
namespace {

TEST(Phase1Captions, LabelsNameTheLidarFileAndTheOutput) {
    Session session;
    session.DataSetName = "ABC";
    session.HighLidarFileName = "/data/lidar/high heights.csv";
    session.LowLidarFileName = "C:\\LIDAR\\LOW.csv";
    EXPECT_EQ(phase1LidarCaption(session, 1),
              "DataSet 1   Infile= high heights.csv   Outfile= ABC_Phase1DS1.csv");
    EXPECT_EQ(phase1LidarCaption(session, 2),
              "DataSet 2   Infile= LOW.csv   Outfile= ABC_Phase1DS2.csv");
    session.LowLidarFileName = "low.csv";
    EXPECT_EQ(phase1LidarCaption(session, 2),
              "DataSet 2   Infile= low.csv   Outfile= ABC_Phase1DS2.csv");
}

}  // namespace
}  // namespace orr::test
