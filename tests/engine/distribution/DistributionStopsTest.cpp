// Where step 6 stops or goes on: no DataSet 1 LiDAR file, MaxPlots, an empty DBH file, a missing
// ground-height coefficient.
#include <gtest/gtest.h>

#include "tests/engine/distribution/DistributionData.h"

namespace orr::test {
namespace {

const char* kMaxPlotsText = "Number of plots in data files exceeds the Maxplots parameter setting";

void writeSimplePlots(DistributionData& d) {
    d.writeDataSetFile("_PH2Plot.csv", {"3,1,1,20,10.91,123.456,100,100,100"});
    d.writeLidar(1, {"3,20"});
    d.session.LowLidarFileName.clear();
}

void writeEarlierOutputs(DistributionData& d) {
    writeFile(d.file("_PH2plotDS1.csv"), "earlier 1\r\n");
    writeFile(d.file("_PH2specDS1.csv"), "earlier 2\r\n");
    writeFile(d.file("_PH2plotDS2.csv"), "earlier 3\r\n");
}

void expectEarlierOutputs(const DistributionData& d) {
    EXPECT_EQ(d.read("_PH2plotDS1.csv"), "earlier 1\r\n");
    EXPECT_EQ(d.read("_PH2specDS1.csv"), "earlier 2\r\n");
    EXPECT_EQ(d.read("_PH2plotDS2.csv"), "earlier 3\r\n");
}

TEST(DistributionStops, NoDataSet1FileAfterThePickerEndsTheStep) {
    DistributionData d;
    writeSimplePlots(d);
    writeEarlierOutputs(d);
    d.session.HighLidarFileName.clear();
    int picks = 0;
    d.host.onPickLidarFiles = [&](Session&) { ++picks; };
    EXPECT_FALSE(d.run());
    EXPECT_EQ(picks, 1);
    EXPECT_TRUE(d.host.statuses.empty());
    expectEarlierOutputs(d);
}

TEST(DistributionStops, PickerThatChoosesAFileLetsTheStepRun) {
    DistributionData d;
    writeSimplePlots(d);
    const auto high = d.session.HighLidarFileName;
    d.session.HighLidarFileName.clear();
    d.host.onPickLidarFiles = [&](Session& s) { s.HighLidarFileName = high; };
    EXPECT_TRUE(d.run());
    EXPECT_TRUE(d.exists("_PH2plotDS1.csv"));
}

TEST(DistributionStops, LidarPlotEqualToMaxPlotsIsAccepted) {
    DistributionData d;
    writeSimplePlots(d);
    d.writeLidar(1, {"3,20", "20,30"});
    d.writeLidar(2, {"20,30"});
    EXPECT_TRUE(d.run());
    EXPECT_TRUE(d.host.messages.empty());
    EXPECT_EQ(d.host.parameterDialogs, 0);
}

TEST(DistributionStops, LidarPlotAboveMaxPlotsStopsWhenTheDialogDoesNotCoverIt) {
    for (bool saved : {false, true}) {
        DistributionData d;
        writeSimplePlots(d);
        writeEarlierOutputs(d);
        d.writeLidar(1, {"3,20", "21,30"});
        // Saved but still too small, or not saved at all.
        d.host.onEditParameters = [&](Session& s) {
            s.params.MaxPlots = 20;
            return saved;
        };
        EXPECT_FALSE(d.run());
        ASSERT_EQ(d.host.messages.size(), 1u);
        EXPECT_EQ(d.host.messages[0].text, kMaxPlotsText);
        EXPECT_EQ(d.host.messages[0].icon, Icon::Critical);
        EXPECT_EQ(d.host.parameterDialogs, 1);
        expectEarlierOutputs(d);
    }
}

TEST(DistributionStops, RaisedMaxPlotsRunsTheStepAgain) {
    DistributionData d;
    writeSimplePlots(d);
    writeEarlierOutputs(d);
    d.writeLidar(2, {"3,20", "25,30"});  // found in the DataSet 2 file
    d.host.onEditParameters = [](Session& s) {
        s.params.MaxPlots = 25;
        return true;
    };
    EXPECT_TRUE(d.run());
    EXPECT_EQ(d.host.messages.size(), 1u);
    EXPECT_EQ(d.host.parameterDialogs, 1);
    EXPECT_EQ(d.host.statuses.size(), 3u);  // started twice, completed once
    EXPECT_EQ(d.read("_PH2plotDS1.csv"), crlf({" 3 , 1 , 1 , 20 , 10.9 , 123 , 10 , 5.5 , 110 "}));
}

TEST(DistributionStops, EmptyDbhFileShowsItsMessageAndWritesNothing) {
    DistributionData d;
    writeSimplePlots(d);
    writeEarlierOutputs(d);
    writeFile(d.file("_DBH.csv"), "");
    EXPECT_FALSE(d.run());
    ASSERT_EQ(d.host.messages.size(), 1u);
    EXPECT_EQ(d.host.messages[0].text, "Error: No min/max dbhes on file for dataset T");
    EXPECT_EQ(d.host.messages[0].icon, Icon::Critical);
    expectEarlierOutputs(d);
}

TEST(DistributionStops, MissingCoefficientSkipsThePlotsWithOneMessagePerSpeciesAndPass) {
    DistributionData d;
    auto coeff = standardCoefficients();
    coeff[5] = "0,1,0,0";  // equation 3, species 2: no b2
    coeff[7] = "0,0,1,0";  // equation 4, species 2: no b1
    d.writeCoefficients(coeff);
    d.writeDataSetFile("_PH2Plot.csv",
                       {"3,1,1,20,10.91,123.456,100,100,100", "5,2,1,30,5,50,100,100,100",
                        "6,2,1,10,1,10,100,100,100", "8,2,1,10,1,10,100,100,100"});
    // Plot 8 has only a short tree of species 2: never grown, so no stop.
    d.writeLidar(1, {"3,20", "5,20", "6,20", "8,9"});
    d.writeLidar(2, {"5,20", "6,30"});
    ASSERT_TRUE(d.run());
    ASSERT_EQ(d.host.messages.size(), 2u);
    EXPECT_EQ(d.host.messages[0].text,
              "Potential ERROR: No coefficient for LiDAR DS1 height equation");
    EXPECT_EQ(d.host.messages[1].text,
              "Potential ERROR: No coefficient for LiDAR DS2 height equation");
    std::vector<std::string> skipped;
    for (const auto& line : d.host.appended)
        if (line.find("skipped") != std::string::npos) skipped.push_back(line);
    EXPECT_EQ(skipped,
              (std::vector<std::string>{
                  "Plot 5 skipped: no coefficient for the LiDAR DS1 height equation of species 2",
                  "Plot 6 skipped: no coefficient for the LiDAR DS1 height equation of species 2",
                  "Plot 5 skipped: no coefficient for the LiDAR DS2 height equation of species 2",
                  "Plot 6 skipped: no coefficient for the LiDAR DS2 height equation of species 2",
              }));
    // Skipped plots keep their species lines but get no class lines; nothing of them leaks into
    // the next plot.
    EXPECT_EQ(d.read("_PH2plotDS1.csv"), crlf({" 3 , 1 , 1 , 20 , 10.9 , 123 , 10 , 5.5 , 110 ",
                                               " 8 , 2 , 1 , 10 , 1 , 10 , 0 , 0 , 0 "}));
    EXPECT_EQ(d.read("_PH2specDS1.csv"),
              crlf({"3,1,20", "3,2,0", "5,1,0", "5,2,30", "6,1,0", "6,2,10", "8,1,0", "8,2,10"}));
    EXPECT_EQ(d.read("_PH2plotDS2.csv"), crlf({" 3 , 1 , 1 , 20 , 10.9 , 123 , 0 , 0 , 0 ",
                                               " 8 , 2 , 1 , 10 , 1 , 10 , 0 , 0 , 0 "}));
}

TEST(DistributionStops, NoHeightAdjustmentNeedsNoCoefficient) {
    DistributionData d;
    auto coeff = standardCoefficients();
    coeff[4] = "0,0,0,0";
    d.writeCoefficients(coeff);
    d.session.params.LiHgtAdj = 1;
    writeSimplePlots(d);
    ASSERT_TRUE(d.run());
    EXPECT_TRUE(d.host.messages.empty());
    // H = 20 itself: volume 10 -> 100.
    EXPECT_EQ(d.read("_PH2plotDS1.csv"), crlf({" 3 , 1 , 1 , 20 , 10.9 , 123 , 10 , 5.5 , 100 "}));
}

TEST(DistributionStops, ProgressThatThrowsLeavesNoFileBehind) {
    DistributionData d;
    writeSimplePlots(d);
    writeEarlierOutputs(d);
    d.host.onProgress = [](std::size_t, std::size_t) { throw std::runtime_error("stopped"); };
    EXPECT_THROW(d.run(), std::runtime_error);
    expectEarlierOutputs(d);
    for (const auto& entry : std::filesystem::directory_iterator(d.session.dataFilesDir()))
        EXPECT_EQ(entry.path().extension(), ".csv") << entry.path();
}

}  // namespace
}  // namespace orr::test
