// Step 5 on small tree files whose four output files were worked out by hand.
#include "engine/phase2/Phase2Totals.h"
#include "tests/engine/phase2/Phase2Fixture.h"

namespace orr::test {
namespace {

// Plot 1 holds the DBH boundary (6 counted, 5.99 left out), a missing height (predicted 22.25,
// shown as 22), a height of 0.4 kept, and a species-3 class with trees but no volume. Plot 1
// comes back after plot 2 and is a plot of its own; plot 3 has only trees below the minimum.
const std::string kTrees = crlf({
    "1,1,1,6,0,20,1.5,0.125",
    "1,1,1,5.99,30,20,0,0",
    "1,1,2,8,0.4,20,0,0",
    "1,2,1,10,25,20,0,0",
    "1,3,2,4,12,20,0,0",
    "2,2,2,12,30,25,0,0",
    "1,1,1,10,20,20,0,0",
    "3,1,1,5,40,20,0,0",
    "3,2,1,4.5,40,20,0,0",
    "4,1,1,6,30,20,-2.5,3.14159",
});

class Phase2Golden : public Phase2Fixture {};

TEST_F(Phase2Golden, TreeVolumeFileHoldsEveryCountedTreeInInputOrder) {
    writeFile(session.TreeInputFileName, kTrees);
    ASSERT_TRUE(runPhase2Totals(session, host));
    // 6 * 6 * 22.25 / 64 = 12.515625 rounds to the even 12.51562; 0.125 to 0.12.
    EXPECT_EQ(output(kTreeVolumeSuffix), crlf({
                                             "1,1,1,6,22,12.51562,1.5,0.12",
                                             "1,1,2,8,0,0.4,0,0",
                                             "1,2,1,10,25,7,0,0",
                                             "1,3,2,4,12,0,0,0",
                                             "2,2,2,12,30,8,0,0",
                                             "1,1,1,10,20,31.25,0,0",
                                             "4,1,1,6,30,16.875,-2.5,3.14",
                                         }));
}

TEST_F(Phase2Golden, PlotFileHasOneRecordPerClassOfEveryClosedPlot) {
    writeFile(session.TreeInputFileName, kTrees);
    ASSERT_TRUE(runPhase2Totals(session, host));
    // Plot 1: N 40, BA 11.78064 (the species-1 product-1 tree is one sixth of it), volume
    // 199.15625. Species 3 product 2 has N 10 and volume 0 and is still written.
    EXPECT_EQ(output(kPlotSuffix), crlf({
                                       "1,1,1,10,2,125.16,25,16.67,62.84",
                                       "1,1,2,10,3.5,4,25,29.63,2.01",
                                       "1,2,1,10,5.5,70,25,46.3,35.15",
                                       "1,3,2,10,0.9,0,25,7.41,0",
                                       "2,2,2,10,7.9,80,100,100,100",
                                       "1,1,1,10,5.5,312.5,100,100,100",
                                       "4,1,1,10,2,168.75,100,100,100",
                                   }));
}

TEST_F(Phase2Golden, PlotTotalFileCountsTheSecondGroupOfPlotOneAsAPlot) {
    writeFile(session.TreeInputFileName, kTrees);
    ASSERT_TRUE(runPhase2Totals(session, host));
    EXPECT_EQ(output(kPlotTotalSuffix), crlf({
                                            "1,40,11.78,199.16",
                                            "2,10,7.85,80",
                                            "1,10,5.45,312.5",
                                            "4,10,1.96,168.75",
                                        }));
}

TEST_F(Phase2Golden, SummaryDividesByEveryClosedPlot) {
    writeFile(session.TreeInputFileName, kTrees);
    ASSERT_TRUE(runPhase2Totals(session, host));
    // Four plots closed (1, 2, 1 again, 4); plot 3 is not counted.
    EXPECT_EQ(output(kPhase2SummarySuffix), crlf({
                                                "1,1,7.5,2.35,151.6,4",
                                                "1,2,2.5,0.87,1,4",
                                                "2,1,2.5,1.36,17.5,4",
                                                "2,2,2.5,1.96,20,4",
                                                "3,2,2.5,0.22,0,4",
                                            }));
}

TEST_F(Phase2Golden, LogAndStatusTellWhatWasWritten) {
    writeFile(session.TreeInputFileName, kTrees);
    host.log = "old text\r\n";
    ASSERT_TRUE(runPhase2Totals(session, host));
    EXPECT_EQ(host.log,
              crlf({
                  "Computing plot totals/percentages by species-product....",
                  "Computing plot totals all species, products combined....",
                  "Obtaining Summary of Phase 2 ground estimates.... ",
                  "The Following Files are Created in directory " + session.dataFilesDirText(),
                  "T_PH2TreeV.csv",
                  "T_PH2Plot.csv",
                  "T_PH2PlotT.csv",
                  "T_PH2Sum.csv",
              }));
    EXPECT_EQ(host.statuses,
              (std::vector<std::string>{"Status: Computing Plot Totals..",
                                        "Status: Plot Totals Computation completed!"}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Phase2Golden, AllTreesBelowTheMinimumLeaveNoOutputFiles) {
    // An earlier run's files are removed: the outputs of this run are empty.
    writeFile(session.dataSetFile(kPlotSuffix), "old\r\n");
    writeFile(session.TreeInputFileName, crlf({"3,1,1,5,40,20,0,0", "5,2,2,4.99,40,20,0,0"}));
    ASSERT_TRUE(runPhase2Totals(session, host));
    for (auto suffix : {kTreeVolumeSuffix, kPlotSuffix, kPlotTotalSuffix, kPhase2SummarySuffix}) {
        EXPECT_FALSE(exists(suffix)) << suffix;
    }
    const auto lines = host.logLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines.back(),
              "The Following Files are Created in directory " + session.dataFilesDirText());
}

TEST_F(Phase2Golden, ZeroBasalAreaOrVolumeTotalGivesZeroPercent) {
    // Species 3 has no volume equation; a DBH of 0 has no basal area (species 3 product 1 has no
    // minimum in this DBH file).
    writeFile(session.DBHFileName, crlf({R"(1,1,"6","9.9")"}));
    writeFile(session.TreeInputFileName, crlf({"7,3,1,0,12,20,0,0", "7,3,2,0,12,20,0,0"}));
    ASSERT_TRUE(runPhase2Totals(session, host));
    EXPECT_EQ(output(kPlotSuffix), crlf({"7,3,1,10,0,0,50,0,0", "7,3,2,10,0,0,50,0,0"}));
    EXPECT_EQ(output(kPlotTotalSuffix), crlf({"7,20,0,0"}));
}

TEST_F(Phase2Golden, CodesOfZeroCountInThePlotTotalsButInNoClass) {
    // Species 0 uses the empty coefficient row: height and volume 0, a minimum DBH of 0.
    writeFile(session.TreeInputFileName,
              crlf({"2,0,1,10,30,20,0,0", "2,2,0,10,25,20,0,0", "2,2,1,10,25,20,0,0"}));
    ASSERT_TRUE(runPhase2Totals(session, host));
    EXPECT_EQ(output(kTreeVolumeSuffix),
              crlf({"2,0,1,10,30,0,0,0", "2,2,0,10,25,7,0,0", "2,2,1,10,25,7,0,0"}));
    // N 30, BA 3 * 0.5454, volume 14: the one class holds a third of N and BA and half the volume.
    EXPECT_EQ(output(kPlotSuffix), crlf({"2,2,1,10,5.5,70,33.33,33.33,50"}));
    EXPECT_EQ(output(kPlotTotalSuffix), crlf({"2,30,16.36,140"}));
    EXPECT_EQ(output(kPhase2SummarySuffix), crlf({"2,1,10,5.45,70,1"}));
}

TEST_F(Phase2Golden, ProgressReachesTheEnd) {
    writeFile(session.TreeInputFileName, kTrees);
    std::size_t lastDone = 0, lastTotal = 0;
    host.onProgress = [&](std::size_t done, std::size_t total) {
        EXPECT_LE(done, total);
        lastDone = done;
        lastTotal = total;
    };
    ASSERT_TRUE(runPhase2Totals(session, host));
    EXPECT_EQ(lastTotal, 10u);
    EXPECT_EQ(lastDone, 10u);
}

}  // namespace
}  // namespace orr::test
