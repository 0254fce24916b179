// Step 6 files compared whole (data set in DistributionData.h). With one class per plot every
// draw is forced: a class with a share of 1 receives every counted LiDAR tree in every iteration.
#include <gtest/gtest.h>

#include "tests/engine/distribution/DistributionData.h"

namespace orr::test {
namespace {

void writeForcedPlots(DistributionData& d) {
    d.writeDataSetFile("_PH2Plot.csv",
                       {"3,1,1,20,10.91,123.456,100,100,100", "5,2,2,30,5.25,80.5,100,100,100",
                        "7,1,1,10,2.34,40.4,100,100,100"});
    // Plot 3: heights 20, 30.5 and 12 count, 8 is too short; plot 9 is not a Phase 2 plot.
    d.writeLidar(1, {"3,20", "3,8", "3,30.5", "5,15", "5,11", "5,10", "9,25", "3,12"});
    d.writeLidar(2, {"3,20", "5,12", "5,14", "7,15"});
}

TEST(DistributionFiles, ForcedDrawsGiveTheHandWorkedFilesAndLog) {
    DistributionData d;
    writeForcedPlots(d);
    ASSERT_TRUE(d.run());
    EXPECT_TRUE(d.host.messages.empty());
    // Plot 3: N 3 x 10, BA 3 x 5.454, volume 10 x (11 + 16.25 + 7) = 342.5 -> 342 (half to even).
    // Plot 5: DBH 6 is below product 2's 8, so the trees move to product 1: BA 2 x 1.96344,
    // volume 10 x (4.75 + 3.75). DataSet 2: plot 3 H 40 -> 200, plot 5 H 7 and 9 -> 60, plot 7
    // H 30 -> 150.
    const std::vector<std::string> ds1 = {" 3 , 1 , 1 , 20 , 10.9 , 123 , 30 , 16.4 , 342 ",
                                          " 5 , 2 , 1 , 0 , 0 , 0 , 20 , 3.9 , 85 ",
                                          " 5 , 2 , 2 , 30 , 5.2 , 80 , 0 , 0 , 0 ",
                                          " 7 , 1 , 1 , 10 , 2.3 , 40 , 0 , 0 , 0 "};
    const std::vector<std::string> ds2 = {
        " 3 , 1 , 1 , 20 , 10.9 , 123 , 10 , 5.5 , 200 ", " 5 , 2 , 1 , 0 , 0 , 0 , 20 , 3.9 , 60 ",
        " 5 , 2 , 2 , 30 , 5.2 , 80 , 0 , 0 , 0 ", " 7 , 1 , 1 , 10 , 2.3 , 40 , 10 , 5.5 , 150 "};
    EXPECT_EQ(d.read("_PH2plotDS1.csv"), crlf(ds1));
    EXPECT_EQ(d.read("_PH2specDS1.csv"),
              crlf({"3,1,20", "3,2,0", "5,1,0", "5,2,30", "7,1,10", "7,2,0"}));
    EXPECT_EQ(d.read("_PH2plotDS2.csv"), crlf(ds2));
    EXPECT_FALSE(d.exists("_PH2specDS2.csv"));

    const std::string heading = "PLOT SP PR  GN    GBA   GVOL  LN    LBA  LVOL ";
    const std::vector<std::string> files = {
        "The following files were created in directory - " + d.session.dataFilesDirText(),
        "T_PH2plotDS1.csv", "T_PH2specDS1.csv", "T_PH2plotDS2.csv"};
    std::vector<std::string> lines = {heading,
                                      "3     1  1  20    10.9  123       30    16.4  342",
                                      "5     2  1  0     0     0         20    3.9   85",
                                      "5     2  2  30    5.2   80        0     0     0",
                                      "7     1  1  10    2.3   40        0     0     0",
                                      heading,
                                      "3     1  1  20    10.9  123       10    5.5   200",
                                      "5     2  1  0     0     0         20    3.9   60",
                                      "5     2  2  30    5.2   80        0     0     0",
                                      "7     1  1  10    2.3   40        10    5.5   150"};
    lines.insert(lines.end(), files.begin(), files.end());
    EXPECT_EQ(d.host.appended, lines);
    EXPECT_EQ(d.host.log, "Iteration Done!!\r\n" + crlf(files));
    EXPECT_EQ(d.host.statuses,
              (std::vector<std::string>{"Status : Iterating Phase 2 LiDAR distribution...",
                                        "Status : Iteration of Phase2 LiDAR distribution "
                                        "completed!"}));
    EXPECT_GT(d.host.progressCalls, 0u);

    // Without a DataSet 2 file: ground values only, no species file; an empty old one goes.
    d.session.LowLidarFileName.clear();
    writeFile(d.file("_PH2specDS2.csv"), "");
    ASSERT_TRUE(d.run());
    EXPECT_EQ(d.read("_PH2plotDS2.csv"), crlf({" 3 , 1 , 1 , 20 , 10.9 , 123 , 0 , 0 , 0 ",
                                               " 5 , 2 , 2 , 30 , 5.2 , 80 , 0 , 0 , 0 ",
                                               " 7 , 1 , 1 , 10 , 2.3 , 40 , 0 , 0 , 0 "}));
    EXPECT_FALSE(d.exists("_PH2specDS2.csv"));
    // No plots at all: every output goes.
    d.writeDataSetFile("_PH2Plot.csv", {});
    ASSERT_TRUE(d.run());
    for (const char* suffix : {"_PH2plotDS1.csv", "_PH2specDS1.csv", "_PH2plotDS2.csv"})
        EXPECT_FALSE(d.exists(suffix)) << suffix;
}

TEST(DistributionFiles, PlotGroupingAndSpeciesCounts) {
    struct Row {
        const char* name;
        std::vector<std::string> plots, high, plotDS1 /* empty: not compared */, specDS1;
    };
    const std::vector<Row> rows = {
        {"a repeated plot number is two plots, each drawing H 22, volume 11 -> 110",
         {"3,1,1,20,10.91,123.456,100,100,100", "4,2,1,10,1,5,100,100,100",
          "3,1,1,10,5,60,100,100,100"},
         {"3,20"},
         {" 3 , 1 , 1 , 20 , 10.9 , 123 , 10 , 5.5 , 110 ", " 4 , 2 , 1 , 10 , 1 , 5 , 0 , 0 , 0 ",
          " 3 , 1 , 1 , 10 , 5 , 60 , 10 , 5.5 , 110 "},
         {"3,1,20", "3,2,0", "4,1,0", "4,2,10", "3,1,10", "3,2,0"}},
        {"a last plot without ground trees in its last record is not computed",
         {"3,1,1,20,10.91,123.456,100,100,100", "4,2,1,0,0,5,100,100,100"},
         {"3,20", "4,20"},
         {},
         {"3,1,20", "3,2,0"}},
        {"the species count rounds its running sum half to even: 2.5 -> 2, 3.5 -> 4",
         {"3,1,1,2.5,1,1,50,50,50", "3,1,2,1.5,1,1,50,50,50"},
         {"1,20"},
         {},
         {"3,1,4", "3,2,0"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DistributionData d;
        d.writeDataSetFile("_PH2Plot.csv", row.plots);
        d.writeLidar(1, row.high);
        ASSERT_TRUE(d.run());
        if (!row.plotDS1.empty()) {
            EXPECT_EQ(d.read("_PH2plotDS1.csv"), crlf(row.plotDS1));
        }
        EXPECT_EQ(d.read("_PH2specDS1.csv"), crlf(row.specDS1));
    }
}

TEST(DistributionFiles, ProductPromptIsAskedOncePerKeyAndAnInvalidOrNoAnswerDropsTheTree) {
    // Species 1 (DBH 10) drawn into product 2 of limits 4..8: above them, with no product 3.
    for (std::optional<int> answer : {std::optional<int>{1}, std::optional<int>{3}, {}}) {
        SCOPED_TRACE(answer.value_or(0));
        DistributionData d;
        d.writeDataSetFile(
            "_DBH.csv", {R"(1,1,"5","12")", R"(1,2,"4","8")", R"(2,1,"4","8")", R"(2,2,"8","20")"});
        d.writeDataSetFile("_PH2Plot.csv", {"3,1,2,20,10,100,100,100,100"});
        d.writeLidar(1, {"3,20", "3,30"});
        d.writeLidar(2, {"3,20"});
        d.host.productCodes = {answer};
        ASSERT_TRUE(d.run());
        ASSERT_EQ(d.host.productQuestions.size(), 1u);
        EXPECT_EQ(d.host.productQuestions[0], (std::pair<int, double>{1, 10.0}));
        const std::string ground = " 3 , 1 , 2 , 20 , 10 , 100 , 0 , 0 , 0 ";
        if (answer != 1) {
            EXPECT_EQ(d.read("_PH2plotDS1.csv"), crlf({ground}));
            continue;
        }
        // DataSet 1: H 22 and 32, volumes 11 and 16 -> 270; DataSet 2: H 40, volume 20 -> 200.
        EXPECT_EQ(d.read("_PH2plotDS1.csv"),
                  crlf({" 3 , 1 , 1 , 0 , 0 , 0 , 20 , 10.9 , 270 ", ground}));
        EXPECT_EQ(d.read("_PH2plotDS2.csv"),
                  crlf({" 3 , 1 , 1 , 0 , 0 , 0 , 10 , 5.5 , 200 ", ground}));
    }
}

TEST(DistributionFiles, LongLogIsClearedBeforeItPassesSixtyFourThousandCharacters) {
    DistributionData d;
    d.session.params.MaxPlots = 2000;
    std::vector<std::string> plots;
    for (int p = 1; p <= 1500; ++p) plots.push_back(std::to_string(p) + ",1,1,10,1,1,100,0,0");
    d.writeDataSetFile("_PH2Plot.csv", plots);
    d.writeLidar(1, {"1,20"});
    d.session.run.seed.reset();
    ASSERT_TRUE(d.run());
    // 3000 status lines of 47 characters and CR LF: the log is emptied twice on the way.
    EXPECT_EQ(d.host.clearings, 2);
    EXPECT_GT(d.host.longestLog, 64000u);
    EXPECT_LE(d.host.longestLog, 64000u + 49u);
    // A seed from the clock is logged once and not kept.
    const auto seeds = std::count_if(d.host.appended.begin(), d.host.appended.end(), [](auto& l) {
        return l.rfind("Random seed: ", 0) == 0 && l.find_first_of("0123456789") != l.npos;
    });
    EXPECT_EQ(seeds, 1);
    EXPECT_FALSE(d.session.run.seed.has_value());
}

}  // namespace
}  // namespace orr::test
