// Where step 6 ends without completing: a LiDAR plot above MaxPlots, a missing ground-height
// coefficient, a cancel, a host that fails. No file changes in any of them.
#include <gtest/gtest.h>

#include <functional>

#include "tests/engine/distribution/DistributionData.h"

namespace orr::test {
namespace {

using End = StepResult::End;

// Plot 3 with one class and one tree of DataSet 1 (H 22, volume 11), plot 5 of species 2 without
// LiDAR trees; no DataSet 2; earlier outputs on disk.
struct SimplePlot : DistributionData {
    SimplePlot() {
        write(DataSetFile::PlotClasses,
              {"3,1,1,20,10.91,123.456,100,100,100", "5,2,1,30,5,50,100,100,100"});
        writeLidar(1, {"3,20"});
        writeEarlierOutputs();
    }
    // Ran but did not complete: the start caption only, one critical message (none for a
    // cancel), and every earlier file as it was.
    void expectNothingChanged(const std::string& message) const {
        EXPECT_EQ(host.statuses.size(), 1u);
        ASSERT_EQ(host.messages.size(), message.empty() ? 0u : 1u);
        if (!message.empty()) {
            EXPECT_EQ(host.messages[0].text, message);
            EXPECT_EQ(host.messages[0].icon, Icon::Critical);
        }
        expectEarlierOutputs();
    }
};

TEST(DistributionStops, LidarPlotAboveMaxPlotsNeedsALargerMaxPlots) {
    SimplePlot d;
    d.writeLidar(1, {"3,20", "20,30"});  // MaxPlots itself is accepted
    d.writeLidar(2, {"3,20", "25,30"});
    const StepResult result = d.run();
    EXPECT_EQ(result.end, End::NeedsLargerMaxPlots);
    EXPECT_EQ(result.plot, 25);
    d.expectNothingChanged(
        "Number of plots in data files exceeds the Maxplots parameter setting\n(File " +
        d.session.lidarLowFile.string() +
        ", record 2, field 1 (plot): \"25\" is outside the allowed range 0 to 20.)");
    // The window raises MaxPlots and runs the step again.
    d.session.params.MaxPlots = 25;
    EXPECT_TRUE(d.run().completed());

    // DataSet 1 is checked before a fault of the plot file is reported, DataSet 2 after it.
    d.write(DataSetFile::PlotClasses, {"3,1,9,20,1,1,100,100,100"});
    d.writeLidar(1, {"3,20", "26,30"});
    d.writeLidar(2, {"27,30"});
    EXPECT_EQ(d.run().plot, 26);
    d.writeLidar(1, {"3,20"});
    EXPECT_EQ(d.run().end, End::Stopped);
    EXPECT_NE(d.host.messages.back().text.find("T_PH2Plot.csv"), std::string::npos);
}

TEST(DistributionStops, MissingGroundHeightCoefficientStopsTheStep) {
    struct Row {
        const char* name;
        std::size_t row;   // in standardCoefficients()
        const char* text;  // the row without its coefficient
        std::vector<std::string> high, low;
        int liHgtAdj;
        std::string outcome;  // the message, or the line of plot 3 when the step completes
    };
    const std::vector<Row> rows = {
        {"DataSet 1, a drawn tree of species 2",
         5,
         "0,1,0,0",
         {"3,20", "5,20"},
         {},
         0,
         "Potential ERROR: No coefficient for LiDAR DS1 height equation: species 2 has no b2 in "
         "equation 3."},
        {"DataSet 2, a drawn tree of species 2",
         7,
         "0,0,1,0",
         {"3,20"},
         {"5,20"},
         0,
         "Potential ERROR: No coefficient for LiDAR DS2 height equation: species 2 has no b1 in "
         "equation 4."},
        {"only a short tree of species 2 is never grown",
         5,
         "0,1,0,0",
         {"3,20", "5,9"},
         {},
         0,
         " 3 , 1 , 1 , 20 , 10.9 , 123 , 10 , 5.5 , 110 "},
        // Without the adjustment the ground height is the LiDAR height: H 20, volume 10.
        {"LiDAR heights not adjusted need no coefficient",
         4,
         "0,0,0,0",
         {"3,20"},
         {},
         1,
         " 3 , 1 , 1 , 20 , 10.9 , 123 , 10 , 5.5 , 100 "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SimplePlot d;
        auto coeff = standardCoefficients();
        coeff[row.row] = row.text;
        d.write(DataSetFile::Coefficients, coeff);
        d.session.params.LiHgtAdj = static_cast<std::int16_t>(row.liHgtAdj);
        d.writeLidar(1, row.high);
        if (!row.low.empty()) d.writeLidar(2, row.low);
        const StepResult result = d.run();
        if (row.outcome.starts_with("Potential")) {
            EXPECT_EQ(result.end, End::Stopped);
            d.expectNothingChanged(row.outcome);
        } else {
            EXPECT_TRUE(result.completed());
            EXPECT_TRUE(d.host.messages.empty());
            EXPECT_EQ(d.read(DataSetFile::LidarPlotsDS1),
                      crlf({row.outcome, " 5 , 2 , 1 , 30 , 5 , 50 , 0 , 0 , 0 "}));
        }
    }
}

TEST(DistributionStops, CancelOrAFailingHostLeavesEveryEarlierFile) {
    SimplePlot cancelled;
    cancelled.writeLidar(2, {"3,20"});
    cancelled.host.onCancelled = [&] { return cancelled.host.progressCalls > 0; };
    EXPECT_EQ(cancelled.run().end, End::Cancelled);  // in DataSet 2, after DataSet 1's progress
    EXPECT_EQ(cancelled.host.progressCalls, 1u);
    cancelled.expectNothingChanged("");

    SimplePlot failing;
    failing.host.onProgress = [](std::size_t, std::size_t) { throw std::runtime_error("stopped"); };
    EXPECT_EQ(failing.run().end, End::Stopped);
    failing.expectNothingChanged("stopped");
}

}  // namespace
}  // namespace orr::test
