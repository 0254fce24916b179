// Step 6 files compared whole, with one class per plot so that every draw is forced: a class with
// a share of 1 receives every LiDAR tree in every iteration.
//
// The data set (DistributionData): PACF 10, MaxItern 4; species 1 grows to DBH 10, species 2 to
// DBH 6 (BA 0.5454 and 0.196344 square feet a tree). DataSet 1: H = h + 2 (species 1), H = h
// (species 2); DataSet 2: H = 2h, H = h - 5. Volume 0.5 H (species 1), 1 + 0.25 H (species 2).
// DBH limits: species 1 product 1 5..12, product 2 12..30; species 2 product 1 4..8, product 2
// 8..20.
#include <gtest/gtest.h>

#include "tests/engine/distribution/DistributionData.h"

namespace orr::test {
namespace {

void writeForcedPlots(DistributionData& d) {
    d.writeDataSetFile("_PH2Plot.csv", {
                                           "3,1,1,20,10.91,123.456,100,100,100",
                                           "5,2,2,30,5.25,80.5,100,100,100",
                                           "7,1,1,10,2.34,40.4,100,100,100",
                                       });
    // Plot 3: heights 20, 30.5 and 12 count, 8 is too short; plot 9 is not a Phase 2 plot.
    d.writeLidar(1, {"3,20", "3,8", "3,30.5", "5,15", "5,11", "5,10", "9,25", "3,12"});
    d.writeLidar(2, {"3,20", "5,12", "5,14", "7,15"});
}

TEST(DistributionFiles, ForcedDrawsGiveTheHandWorkedFiles) {
    DistributionData d;
    writeForcedPlots(d);
    ASSERT_TRUE(d.run());
    EXPECT_TRUE(d.host.messages.empty());

    // DataSet 1. Plot 3, species 1 product 1: three trees, N 30, BA 3 x 5.454 = 16.362,
    // volume 10 x (11 + 16.25 + 7) = 342.5, rounded half to even to 342.
    // Plot 5: the drawn trees of species 2 product 2 have DBH 6, below the 8 of product 2, and
    // move to product 1: N 20, BA 2 x 1.96344 = 3.92688, volume 10 x (4.75 + 3.75) = 85. The
    // ground class keeps its own line; GBA 5.25 -> 5.2, GVOL 80.5 -> 80.
    // Plot 7 has no DataSet 1 heights.
    EXPECT_EQ(d.read("_PH2plotDS1.csv"), crlf({" 3 , 1 , 1 , 20 , 10.9 , 123 , 30 , 16.4 , 342 ",
                                               " 5 , 2 , 1 , 0 , 0 , 0 , 20 , 3.9 , 85 ",
                                               " 5 , 2 , 2 , 30 , 5.2 , 80 , 0 , 0 , 0 ",
                                               " 7 , 1 , 1 , 10 , 2.3 , 40 , 0 , 0 , 0 "}));
    EXPECT_EQ(d.read("_PH2specDS1.csv"),
              crlf({"3,1,20", "3,2,0", "5,1,0", "5,2,30", "7,1,10", "7,2,0"}));
    // DataSet 2. Plot 3: H 40, volume 20 -> 200. Plot 5: H 7 and 9, volumes 2.75 and 3.25 -> 60.
    // Plot 7: H 30, volume 15 -> 150.
    EXPECT_EQ(d.read("_PH2plotDS2.csv"), crlf({" 3 , 1 , 1 , 20 , 10.9 , 123 , 10 , 5.5 , 200 ",
                                               " 5 , 2 , 1 , 0 , 0 , 0 , 20 , 3.9 , 60 ",
                                               " 5 , 2 , 2 , 30 , 5.2 , 80 , 0 , 0 , 0 ",
                                               " 7 , 1 , 1 , 10 , 2.3 , 40 , 10 , 5.5 , 150 "}));
    EXPECT_FALSE(d.exists("_PH2specDS2.csv"));
}

TEST(DistributionFiles, StatusLogAndCaptions) {
    DistributionData d;
    writeForcedPlots(d);
    ASSERT_TRUE(d.run());
    const std::string heading = "PLOT SP PR  GN    GBA   GVOL  LN    LBA  LVOL ";
    EXPECT_EQ(heading, std::string("PLOT") + " " + "SP" + " " + "PR" + "  " + "GN" + "    " +
                           "GBA" + "   " + "GVOL" + "  " + "LN" + "    " + "LBA" + "  " + "LVOL ");
    const std::vector<std::string> expectedLines = {
        heading,
        "3     1  1  20    10.9  123       30    16.4  342",
        "5     2  1  0     0     0         20    3.9   85",
        "5     2  2  30    5.2   80        0     0     0",
        "7     1  1  10    2.3   40        0     0     0",
        heading,
        "3     1  1  20    10.9  123       10    5.5   200",
        "5     2  1  0     0     0         20    3.9   60",
        "5     2  2  30    5.2   80        0     0     0",
        "7     1  1  10    2.3   40        10    5.5   150",
        "The following files were created in directory - " + d.session.dataFilesDirText(),
        "T_PH2plotDS1.csv",
        "T_PH2specDS1.csv",
        "T_PH2plotDS2.csv",
    };
    EXPECT_EQ(d.host.appended, expectedLines);
    EXPECT_EQ(d.host.log,
              "Iteration Done!!\r\n" +
                  crlf(std::vector<std::string>(expectedLines.end() - 4, expectedLines.end())));
    EXPECT_EQ(d.host.statuses,
              (std::vector<std::string>{"Status : Iterating Phase 2 LiDAR distribution...",
                                        "Status : Iteration of Phase2 LiDAR distribution "
                                        "completed!"}));
    EXPECT_GT(d.host.progressCalls, 0u);
}

TEST(DistributionFiles, ClockSeedIsLoggedOnce) {
    DistributionData d;
    writeForcedPlots(d);
    d.session.run.seed.reset();
    ASSERT_TRUE(d.run());
    int seedLines = 0;
    for (const auto& line : d.host.appended) {
        if (line.rfind("Random seed: ", 0) == 0) {
            ++seedLines;
            EXPECT_NE(line.find_first_of("0123456789"), std::string::npos);
        }
    }
    EXPECT_EQ(seedLines, 1);
    EXPECT_FALSE(d.session.run.seed.has_value());
}

TEST(DistributionFiles, NoDataSet2FileGivesGroundValuesOnly) {
    DistributionData d;
    writeForcedPlots(d);
    d.session.LowLidarFileName.clear();
    ASSERT_TRUE(d.run());
    EXPECT_EQ(d.read("_PH2plotDS2.csv"), crlf({" 3 , 1 , 1 , 20 , 10.9 , 123 , 0 , 0 , 0 ",
                                               " 5 , 2 , 2 , 30 , 5.2 , 80 , 0 , 0 , 0 ",
                                               " 7 , 1 , 1 , 10 , 2.3 , 40 , 0 , 0 , 0 "}));
    EXPECT_FALSE(d.exists("_PH2specDS2.csv"));
}

TEST(DistributionFiles, OldDataSet2SpeciesFileIsRemovedWhenEmptyAndListedOtherwise) {
    DistributionData d;
    writeForcedPlots(d);
    writeFile(d.file("_PH2specDS2.csv"), "");
    ASSERT_TRUE(d.run());
    EXPECT_FALSE(d.exists("_PH2specDS2.csv"));

    writeFile(d.file("_PH2specDS2.csv"), "old\r\n");
    ASSERT_TRUE(d.run());
    EXPECT_EQ(d.read("_PH2specDS2.csv"), "old\r\n");
    EXPECT_EQ(d.host.appended.back(), "T_PH2specDS2.csv");
}

TEST(DistributionFiles, PlotOutputsWithoutPlotsAreRemoved) {
    DistributionData d;
    writeForcedPlots(d);
    writeFile(d.file("_PH2plotDS1.csv"), "old\r\n");
    d.writeDataSetFile("_PH2Plot.csv", {});
    ASSERT_TRUE(d.run());
    EXPECT_FALSE(d.exists("_PH2plotDS1.csv"));
    EXPECT_FALSE(d.exists("_PH2specDS1.csv"));
    EXPECT_FALSE(d.exists("_PH2plotDS2.csv"));
}

TEST(DistributionFiles, RepeatedPlotNumberIsComputedAsTwoPlots) {
    DistributionData d;
    d.writeDataSetFile("_PH2Plot.csv", {"3,1,1,20,10.91,123.456,100,100,100",
                                        "4,2,1,10,1,5,100,100,100", "3,1,1,10,5,60,100,100,100"});
    d.writeLidar(1, {"3,20"});
    d.session.LowLidarFileName.clear();
    ASSERT_TRUE(d.run());
    // Each group of plot 3 draws the same LiDAR tree: H 22, volume 11 -> 110.
    EXPECT_EQ(d.read("_PH2plotDS1.csv"), crlf({" 3 , 1 , 1 , 20 , 10.9 , 123 , 10 , 5.5 , 110 ",
                                               " 4 , 2 , 1 , 10 , 1 , 5 , 0 , 0 , 0 ",
                                               " 3 , 1 , 1 , 10 , 5 , 60 , 10 , 5.5 , 110 "}));
    EXPECT_EQ(d.read("_PH2specDS1.csv"),
              crlf({"3,1,20", "3,2,0", "4,1,0", "4,2,10", "3,1,10", "3,2,0"}));
}

TEST(DistributionFiles, LastPlotWithoutGroundTreesInItsLastRecordIsNotComputed) {
    DistributionData d;
    d.writeDataSetFile("_PH2Plot.csv",
                       {"3,1,1,20,10.91,123.456,100,100,100", "4,2,1,0,0,5,100,100,100"});
    d.writeLidar(1, {"3,20", "4,20"});
    d.session.LowLidarFileName.clear();
    ASSERT_TRUE(d.run());
    EXPECT_EQ(d.read("_PH2specDS1.csv"), crlf({"3,1,20", "3,2,0"}));
}

TEST(DistributionFiles, SpeciesCountRoundsItsRunningSumHalfToEven) {
    DistributionData d;
    // Species 1: 2.5 -> 2, then 2 + 1.5 = 3.5 -> 4.
    d.writeDataSetFile("_PH2Plot.csv", {"3,1,1,2.5,1,1,50,50,50", "3,1,2,1.5,1,1,50,50,50"});
    d.writeLidar(1, {"1,20"});
    ASSERT_TRUE(d.run());
    EXPECT_EQ(d.read("_PH2specDS1.csv"), crlf({"3,1,4", "3,2,0"}));
}

TEST(DistributionFiles, ProductPromptIsAskedOncePerKeyAndItsAnswerUsed) {
    DistributionData d;
    // Species 1 (DBH 10) drawn into product 2 whose limits are 4..8: above them, and no product
    // 3 to move to, so the user is asked.
    d.writeDataSetFile("_DBH.csv",
                       {R"(1,1,"5","12")", R"(1,2,"4","8")", R"(2,1,"4","8")", R"(2,2,"8","20")"});
    d.writeDataSetFile("_PH2Plot.csv", {"3,1,2,20,10,100,100,100,100"});
    d.writeLidar(1, {"3,20", "3,30"});
    d.writeLidar(2, {"3,20"});
    d.host.productCodes = {1};
    ASSERT_TRUE(d.run());
    ASSERT_EQ(d.host.productQuestions.size(), 1u);
    EXPECT_EQ(d.host.productQuestions[0].first, 1);
    EXPECT_DOUBLE_EQ(d.host.productQuestions[0].second, 10.0);
    // DataSet 1: H 22 and 32, volumes 11 and 16 -> 270; DataSet 2: H 40, volume 20 -> 200.
    EXPECT_EQ(d.read("_PH2plotDS1.csv"), crlf({" 3 , 1 , 1 , 0 , 0 , 0 , 20 , 10.9 , 270 ",
                                               " 3 , 1 , 2 , 20 , 10 , 100 , 0 , 0 , 0 "}));
    EXPECT_EQ(d.read("_PH2plotDS2.csv"), crlf({" 3 , 1 , 1 , 0 , 0 , 0 , 10 , 5.5 , 200 ",
                                               " 3 , 1 , 2 , 20 , 10 , 100 , 0 , 0 , 0 "}));
}

TEST(DistributionFiles, CancelledOrInvalidProductPromptDropsTheTree) {
    for (std::optional<int> answer : {std::optional<int>{}, std::optional<int>{3}}) {
        DistributionData d;
        d.writeDataSetFile(
            "_DBH.csv", {R"(1,1,"5","12")", R"(1,2,"4","8")", R"(2,1,"4","8")", R"(2,2,"8","20")"});
        d.writeDataSetFile("_PH2Plot.csv", {"3,1,2,20,10,100,100,100,100"});
        d.writeLidar(1, {"3,20"});
        d.session.LowLidarFileName.clear();
        d.host.productCodes = {answer};
        ASSERT_TRUE(d.run());
        EXPECT_EQ(d.host.productQuestions.size(), 1u);
        EXPECT_EQ(d.read("_PH2plotDS1.csv"), crlf({" 3 , 1 , 2 , 20 , 10 , 100 , 0 , 0 , 0 "}));
    }
}

TEST(DistributionFiles, LongLogIsClearedBeforeItPassesSixtyFourThousandCharacters) {
    DistributionData d;
    d.session.params.MaxPlots = 2000;
    std::vector<std::string> plots;
    for (int p = 1; p <= 1500; ++p) plots.push_back(std::to_string(p) + ",1,1,10,1,1,100,0,0");
    d.writeDataSetFile("_PH2Plot.csv", plots);
    d.writeLidar(1, {"1,20"});
    d.session.LowLidarFileName.clear();
    ASSERT_TRUE(d.run());
    // 3000 status lines of 47 characters and CR LF: the log is emptied twice on the way.
    EXPECT_EQ(d.host.clearings, 2);
    EXPECT_LE(d.host.longestLog, 64000u + 49u);
    EXPECT_GT(d.host.longestLog, 64000u);
}

}  // namespace
}  // namespace orr::test
