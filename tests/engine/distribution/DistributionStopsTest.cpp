// Where step 6 ends without completing: an input it cannot use (one message naming the file, the
// record, the field and the text found), a LiDAR plot above MaxPlots, a cancel, a host that
// fails. No file changes in any of them.
#include <gtest/gtest.h>

#include <functional>

#include "tests/engine/distribution/DistributionData.h"

namespace orr::test {
namespace {

using End = StepResult::End;
using Spoil = std::function<void(DistributionData&)>;

// Plot 3 of species 1 and plot 5 of species 2, with trees of both data sets; earlier outputs on
// disk.
struct GoodData : DistributionData {
    GoodData() {
        write(DataSetFile::PlotClasses,
              {"3,1,1,20,10.91,123.456,100,100,100", "5,2,2,30,5.25,80.5,100,100,100"});
        writeLidar(1, {"3,20", "5,15"});
        writeLidar(2, {"3,20", "5,12"});
        writeEarlierOutputs();
    }
    // Ran but did not complete: the start caption only, one critical message holding every one
    // of `parts` (no message for a cancel), and every earlier file as it was.
    void expectNothingChanged(const std::vector<std::string>& parts) const {
        EXPECT_EQ(host.statuses.size(), 1u);
        ASSERT_EQ(host.messages.size(), parts.empty() ? 0u : 1u);
        for (const auto& part : parts) {
            EXPECT_EQ(host.messages[0].icon, Icon::Critical);
            EXPECT_NE(host.messages[0].text.find(part), std::string::npos)
                << host.messages[0].text << " lacks " << part;
        }
        expectEarlierOutputs();
    }
};

Spoil dataSetFile(DataSetFile f, std::vector<std::string> lines) {
    return [f, lines](DistributionData& d) { d.write(f, lines); };
}
Spoil lidar(int pass, std::vector<std::string> lines) {
    return [pass, lines](DistributionData& d) { d.writeLidar(pass, lines); };
}
Spoil coefficientRow(std::size_t row, const char* text) {
    return [row, text](DistributionData& d) {
        auto rows = standardCoefficients();
        rows.resize(text ? rows.size() : row);
        if (text) rows[row] = text;
        d.write(DataSetFile::Coefficients, rows);
    };
}

TEST(DistributionStops, EveryBadInputGivesOneMessageAndKeepsEarlierFiles) {
    const auto plotFile = [](std::vector<std::string> lines) {
        return dataSetFile(DataSetFile::PlotClasses, std::move(lines));
    };
    const std::string noCoefficient = "Potential ERROR: No coefficient for LiDAR ";
    struct Row {
        const char* name;
        Spoil spoil;
        std::vector<std::string> parts;  // texts the message must contain
    };
    const std::vector<Row> rows = {
        {"species above MaxSpec in the plot file",
         plotFile({"3,1,1,20,1,1,50,50,50", "3,3,1,20,1,1,50,50,50"}),
         {"T_PH2Plot.csv", "record 2", "\"3\""}},
        {"not a number in the plot file",
         plotFile({"3,1,1,20,1,1,100,100,100", "4,1,1,abc,1,1,100,100,100"}),
         {"T_PH2Plot.csv", "record 2", "\"abc\""}},
        {"no plot file",
         [](DistributionData& d) { std::filesystem::remove(d.file(DataSetFile::PlotClasses)); },
         {"T_PH2Plot.csv"}},
        {"a DBH that is not a number",
         dataSetFile(DataSetFile::Dbh, {R"(1,1,"5.x","12")"}),
         {"T_DBH.csv", "record 1", "5.x"}},
        {"an empty DBH file",
         dataSetFile(DataSetFile::Dbh, {}),
         {"Error: No min/max dbhes on file for dataset T"}},
        {"a short coefficient file", coefficientRow(9, nullptr), {"T_COEFFIC.csv"}},
        // Met only when a tree of species 2 is drawn and grown.
        {"no b2 for the DataSet 1 height of species 2",
         coefficientRow(5, "0,1,0,0"),
         {noCoefficient + "DS1 height equation: species 2 has no b2 in equation 3."}},
        {"no b1 for the DataSet 2 height of species 2",
         coefficientRow(7, "0,0,1,0"),
         {noCoefficient + "DS2 height equation: species 2 has no b1 in equation 4."}},
        {"a plot beyond any MaxPlots in the DataSet 2 file",
         lidar(2, {"3,20", "2000000001,20"}),
         {"low.csv", "record 2", "\"2000000001\"", "largest plot number"}},
        {"a DataSet 2 file that does not exist",
         [](DistributionData& d) { d.session.lidarLowFile = d.dir / "missing.csv"; },
         {"missing.csv"}},
        {"no DataSet 1 file chosen",
         [](DistributionData& d) { d.session.lidarHighFile.clear(); },
         {"Please select Phase 1 Lidar Height"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        GoodData d;
        row.spoil(d);
        EXPECT_EQ(d.run().end, End::Stopped);
        d.expectNothingChanged(row.parts);
    }
}

TEST(DistributionStops, LidarPlotAboveMaxPlotsNeedsALargerMaxPlots) {
    GoodData d;
    d.writeLidar(1, {"3,20", "20,30"});  // MaxPlots itself is accepted
    d.writeLidar(2, {"3,20", "25,30"});
    const StepResult result = d.run();
    EXPECT_EQ(result.end, End::NeedsLargerMaxPlots);
    EXPECT_EQ(result.plot, 25);
    d.expectNothingChanged(
        {"Number of plots in data files exceeds the Maxplots parameter setting\n(File " +
         d.session.lidarLowFile.string() +
         ", record 2, field 1 (plot): \"25\" is outside the allowed range 0 to 20.)"});
    // The window raises MaxPlots and runs the step again.
    d.session.params.MaxPlots = 25;
    EXPECT_TRUE(d.run().completed());
}

TEST(DistributionStops, CancelOrAFailingHostLeavesEveryEarlierFile) {
    GoodData cancelled;
    cancelled.host.onCancelled = [&] { return cancelled.host.progressCalls > 0; };
    EXPECT_EQ(cancelled.run().end, End::Cancelled);  // in DataSet 2, after DataSet 1's progress
    EXPECT_EQ(cancelled.host.progressCalls, 1u);
    cancelled.expectNothingChanged({});

    GoodData failing;
    failing.host.onProgress = [](std::size_t, std::size_t) { throw std::runtime_error("stopped"); };
    EXPECT_EQ(failing.run().end, End::Stopped);
    failing.expectNothingChanged({"stopped"});
}

}  // namespace
}  // namespace orr::test
