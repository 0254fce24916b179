// Step 7 end to end through the step runner on small data sets worked out by hand; output files
// and the log compared whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "files/DataSetFiles.h"
#include "tests/engine/phase1/Phase1TestData.h"

namespace orr::test {
namespace {

std::string skipLine(int pass, int outside, int noInterval, const std::string& plots = "") {
    return "DataSet " + std::to_string(pass) + ": trees skipped: " + std::to_string(outside) +
           " in plots outside every stratum, " + std::to_string(noInterval) +
           " whose draw fell in no species interval" +
           (plots.empty() ? "" : "; plots outside every stratum: " + plots);
}

std::string createdLine(const Phase1Data& data) {
    return "The following file(s) were created in the directory - " +
           files::dirText(data.session.dataFilesDir());
}

// Stratum 1 (plots 1-10) has only species 1 on its Phase 2 plot, stratum 2 (plots 11-20) only
// species 2: every LiDAR tree gets its stratum's species. Per tree times PACF 20: species 1
// N 20, BA 10.908, volume 20H; species 2 N 20, BA 2.727, volume 40H.
class SingleSpeciesStrata : public ::testing::Test {
  protected:
    SingleSpeciesStrata() {
        data.writeStrata(crlf({"1,1,10,30", "2,11,20,40"}));
        data.writeSpecies(crlf({"3,1,40", "3,2,0", "12,1,0", "12,2,60"}));
        // Plot 3 comes back after plots 12 and 5: a further group, written again.
        data.writeHigh(crlf({"3,15.5", "3,8", "3,20", "12,12", "12,30.25", "5,11", "3,14"}));
        data.writeLow(crlf({"12,10", "12,10.5", "4,50"}));
    }
    Phase1Data data;
    RecordingHost host;
};

TEST_F(SingleSpeciesStrata, EveryTreeGetsItsStratumsSpeciesAndTheLogTellsEveryLine) {
    host.logText = "earlier text\r\n";
    ASSERT_TRUE(data.run(host));
    EXPECT_TRUE(host.messages.empty());
    // Plot 3: 15.5 and 20 (8 is too low), volume 35.5 * 20; plot 12: volume 2 * 42.25 * 20.
    EXPECT_EQ(data.output(1), crlf({"3,1,40,21.82,710", "12,2,40,5.45,1690", "5,1,20,10.91,220",
                                    "3,1,20,10.91,280"}));
    // DataSet 2: 10 is not above 10.
    EXPECT_EQ(data.output(2), crlf({"12,2,20,2.73,420", "4,1,20,10.91,1000"}));
    EXPECT_EQ(host.logged,
              (std::vector<std::string>{
                  "Phase 1 computation of LiDAR heights started....",
                  " 3      1      40     21.82    710", " 12     2      40     5.45     1690",
                  " 5      1      20     10.91    220", " 3      1      20     10.91    280",
                  skipLine(1, 0, 0), " 12     2      20     2.73     420",
                  " 4      1      20     10.91    1000", skipLine(2, 0, 0)}));
    EXPECT_EQ(host.logText, crlf({"Phase 1 computation of LiDAR heights completed!!",
                                  createdLine(data), data.listed(2), data.listed(1)}));
    EXPECT_EQ(host.statuses,
              (std::vector<std::string>{"Status : Computing Phase 1..",
                                        "Status : Phase 1 computation completed!!"}));
}

TEST_F(SingleSpeciesStrata, NoDataSet2FileForAnEmptyNameOrAnEmptyFile) {
    writeFile(data.file(DataSetFile::Phase1DS2), "from an earlier run\r\n");
    data.session.lidarLowFile.clear();
    ASSERT_TRUE(data.run(host));
    EXPECT_FALSE(data.exists(2));
    EXPECT_EQ(host.logText, crlf({"Phase 1 computation of LiDAR heights completed!!",
                                  createdLine(data), data.listed(1)}));

    data.session.lidarLowFile = data.low();
    data.writeLow("");
    RecordingHost again;
    ASSERT_TRUE(data.run(again));
    EXPECT_FALSE(data.exists(2));
    EXPECT_EQ(again.logged.back(), skipLine(1, 0, 0));  // the empty DataSet 2 file is no pass
}

TEST(Phase1Strata, OverlappingRangesTheFirstStratumTakesThePhase1Plot) {
    Phase1Data data;
    RecordingHost host;
    // Plot 7 lies in both ranges; the first record (stratum 2) is its stratum. Its Phase 2
    // species-1 trees count in both strata: stratum 2 has species 1 only (share 1), stratum 1
    // species 1 and 2 (1/3 and 2/3).
    data.writeStrata(crlf({"2,5,15,40", "1,1,10,30"}));
    data.writeSpecies(crlf({"3,1,0", "3,2,40", "7,1,20", "7,2,0"}));
    // Ten trees 11..20 on plot 7, and on plot 13 (stratum 2 only, no Phase 2 plot of its own).
    std::vector<std::string> records;
    for (int plot : {7, 13}) {
        for (int h = 11; h <= 20; ++h)
            records.push_back(std::to_string(plot) + "," + std::to_string(h));
    }
    data.writeHigh(crlf(records));
    data.session.lidarLowFile.clear();
    ASSERT_TRUE(data.run(host));
    // Every tree species 1: N 200, BA 10 * 10.908, volume 155 * 20.
    EXPECT_EQ(data.output(1), crlf({"7,1,200,109.08,3100", "13,1,200,109.08,3100"}));
}

TEST(Phase1Strata, TreesWithoutASpeciesAreSkippedCountedAndTheirPlotsListed) {
    Phase1Data data;
    RecordingHost host;
    // Stratum 2 has no Phase 2 trees; plots 51 to 75 lie in no stratum (51 twice).
    data.writeStrata(crlf({"1,1,10,30", "2,11,20,40"}));
    data.writeSpecies(crlf({"3,1,10", "3,2,0", "15,1,0", "15,2,0"}));
    std::vector<std::string> records{"15,12", "15,13", "51,14", "3,12", "15,5"};
    for (int plot = 51; plot <= 75; ++plot) records.push_back(std::to_string(plot) + ",20");
    data.writeHigh(crlf(records));
    data.session.lidarLowFile.clear();
    ASSERT_TRUE(data.run(host));
    EXPECT_EQ(data.output(1), crlf({"3,1,20,10.91,240"}));
    EXPECT_EQ(host.logged,
              (std::vector<std::string>{
                  "Phase 1 computation of LiDAR heights started....",
                  " 3      1      20     10.91    240",
                  skipLine(1, 26, 2,
                           "51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, "
                           "68, 69, 70 and 5 more")}));
}

}  // namespace
}  // namespace orr::test
