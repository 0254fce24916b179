// Where step 6 stops or goes on: no DataSet 1 LiDAR file, MaxPlots, a missing ground-height
// coefficient, a host that gives up.
#include <gtest/gtest.h>

#include "tests/engine/distribution/DistributionData.h"

namespace orr::test {
namespace {

// Plot 3 with one class and one tree of DataSet 1 (H 22, volume 11), no DataSet 2; earlier
// outputs on disk.
struct SimplePlot : DistributionData {
    SimplePlot() {
        writeDataSetFile("_PH2Plot.csv", {"3,1,1,20,10.91,123.456,100,100,100"});
        writeLidar(1, {"3,20"});
        writeEarlierOutputs();
    }
};
const std::string kPlot3 = " 3 , 1 , 1 , 20 , 10.9 , 123 , 10 , 5.5 , 110 ";

TEST(DistributionStops, NoDataSet1FileAfterThePickerEndsTheStepAndAChosenOneRunsIt) {
    SimplePlot d;
    const auto high = d.session.HighLidarFileName;
    d.session.HighLidarFileName.clear();
    int picks = 0;
    d.host.onPickLidarFiles = [&](Session& s) {
        if (++picks == 2) s.HighLidarFileName = high;
    };
    EXPECT_FALSE(d.run());
    EXPECT_EQ(picks, 1);
    EXPECT_TRUE(d.host.statuses.empty());
    d.expectEarlierOutputs();
    EXPECT_TRUE(d.run());
    EXPECT_EQ(d.read("_PH2plotDS1.csv"), crlf({kPlot3}));
}

TEST(DistributionStops, MaxPlotsBoundaryAndTheParametersDialog) {
    struct Row {
        const char* name;
        int lidarPlot, pass, maxPlotsSaved;
        bool saved, completes;
    };
    const std::vector<Row> rows = {
        {"a plot equal to MaxPlots is accepted", 20, 1, 0, false, true},
        {"one more, dialog cancelled", 21, 1, 20, false, false},
        {"one more, dialog saved but too small", 21, 1, 20, true, false},
        {"a DataSet 2 plot, MaxPlots raised to cover it", 25, 2, 25, true, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SimplePlot d;
        d.writeLidar(row.pass, {"3,20", std::to_string(row.lidarPlot) + ",30"});
        d.host.onEditParameters = [&](Session& s) {
            s.params.MaxPlots = row.maxPlotsSaved;
            return row.saved;
        };
        EXPECT_EQ(d.run(), row.completes);
        const bool over = row.lidarPlot > 20;
        EXPECT_EQ(d.host.parameterDialogs, over ? 1 : 0);
        ASSERT_EQ(d.host.messages.size(), over ? 1u : 0u);
        if (over) {
            EXPECT_EQ(d.host.messages[0].text,
                      "Number of plots in data files exceeds the Maxplots parameter setting");
            EXPECT_EQ(d.host.messages[0].icon, Icon::Critical);
        }
        if (!row.completes) d.expectEarlierOutputs();
        if (row.pass == 2) {  // run again: started twice, completed once
            EXPECT_EQ(d.host.statuses.size(), 3u);
            EXPECT_EQ(d.read("_PH2plotDS1.csv"), crlf({kPlot3}));
        }
    }
}

TEST(DistributionStops, MissingCoefficientSkipsThePlotsWithOneMessagePerSpeciesAndPass) {
    DistributionData d;
    auto coeff = standardCoefficients();
    coeff[5] = "0,1,0,0";  // DataSet 1 ground height, species 2: no b2
    coeff[7] = "0,0,1,0";  // DataSet 2 ground height, species 2: no b1
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
    std::vector<std::string> expected;
    for (const char* pass : {"DS1", "DS2"})
        for (const char* plot : {"5", "6"})
            expected.push_back(std::string("Plot ") + plot +
                               " skipped: no coefficient for the LiDAR " + pass +
                               " height equation of species 2");
    EXPECT_EQ(skipped, expected);
    // Skipped plots keep their species lines but get no class lines; nothing of them leaks into
    // the next plot.
    EXPECT_EQ(d.read("_PH2plotDS1.csv"), crlf({kPlot3, " 8 , 2 , 1 , 10 , 1 , 10 , 0 , 0 , 0 "}));
    EXPECT_EQ(d.read("_PH2specDS1.csv"),
              crlf({"3,1,20", "3,2,0", "5,1,0", "5,2,30", "6,1,0", "6,2,10", "8,1,0", "8,2,10"}));
    EXPECT_EQ(d.read("_PH2plotDS2.csv"), crlf({" 3 , 1 , 1 , 20 , 10.9 , 123 , 0 , 0 , 0 ",
                                               " 8 , 2 , 1 , 10 , 1 , 10 , 0 , 0 , 0 "}));
}

TEST(DistributionStops, NoHeightAdjustmentNeedsNoCoefficient) {
    SimplePlot d;
    auto coeff = standardCoefficients();
    coeff[4] = "0,0,0,0";
    d.writeCoefficients(coeff);
    d.session.params.LiHgtAdj = 1;
    ASSERT_TRUE(d.run());
    EXPECT_TRUE(d.host.messages.empty());
    // H = 20 itself: volume 10 -> 100.
    EXPECT_EQ(d.read("_PH2plotDS1.csv"), crlf({" 3 , 1 , 1 , 20 , 10.9 , 123 , 10 , 5.5 , 100 "}));
}

TEST(DistributionStops, ProgressThatThrowsLeavesNoFileBehind) {
    SimplePlot d;
    d.host.onProgress = [](std::size_t, std::size_t) { throw std::runtime_error("stopped"); };
    EXPECT_THROW(d.run(), std::runtime_error);
    d.expectEarlierOutputs();
    for (const auto& entry : std::filesystem::directory_iterator(d.session.dataFilesDir()))
        EXPECT_EQ(entry.path().extension(), ".csv") << entry.path();
}

}  // namespace
}  // namespace orr::test
