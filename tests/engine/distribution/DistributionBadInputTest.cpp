// Every input that step 6 cannot use stops it with one message naming the file, the record, the
// field and the text found, and leaves the earlier output files as they were.
#include <gtest/gtest.h>

#include <functional>

#include "tests/engine/distribution/DistributionData.h"

namespace orr::test {
namespace {

using Spoil = std::function<void(DistributionData&)>;

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

void writeGoodDataSet(DistributionData& d) {
    d.write(DataSetFile::PlotClasses,
            {"3,1,1,20,10.91,123.456,100,100,100", "5,2,2,30,5.25,80.5,100,100,100"});
    d.writeLidar(1, {"3,20", "5,15"});
    d.writeLidar(2, {"3,20", "5,12"});
}

TEST(DistributionBadInput, EveryBadInputGivesOneMessageAndKeepsEarlierFiles) {
    const auto plotFile = [](std::vector<std::string> lines) {
        return dataSetFile(DataSetFile::PlotClasses, std::move(lines));
    };
    std::vector<std::string> strata;
    for (int i = 1; i <= 1000; ++i) strata.push_back(std::to_string(i) + ",1,20,30");
    struct Row {
        const char* name;
        Spoil spoil;
        std::vector<std::string> parts;  // texts the message must contain
    };
    const std::vector<Row> rows = {
        {"species above MaxSpec in the plot file",
         plotFile({"3,1,1,20,1,1,50,50,50", "3,3,1,20,1,1,50,50,50"}),
         {"T_PH2Plot.csv", "record 2", "\"3\""}},
        {"product 0",
         plotFile({"3,1,0,20,1,1,100,100,100"}),
         {"T_PH2Plot.csv", "record 1", "\"0\""}},
        {"plot above MaxPlots in the plot file",
         plotFile({"21,1,1,20,1,1,100,100,100"}),
         {"T_PH2Plot.csv", "record 1", "\"21\""}},
        {"not a number in the plot file",
         plotFile({"3,1,1,20,1,1,100,100,100", "4,1,1,abc,1,1,100,100,100"}),
         {"T_PH2Plot.csv", "record 2", "\"abc\""}},
        {"a record cut short", plotFile({"3,1,1,20,1,1,100,100"}), {"T_PH2Plot.csv"}},
        {"no plot file",
         [](DistributionData& d) { std::filesystem::remove(d.file(DataSetFile::PlotClasses)); },
         {"T_PH2Plot.csv"}},
        {"species above MaxSpec in the DBH file",
         dataSetFile(DataSetFile::Dbh, {R"(1,1,"5","12")", R"(4,2,"12","30")"}),
         {"T_DBH.csv", "record 2", "\"4\""}},
        {"a DBH that is not a number",
         dataSetFile(DataSetFile::Dbh, {R"(1,1,"5.x","12")"}),
         {"T_DBH.csv", "record 1", "5.x"}},
        {"an empty DBH file",
         dataSetFile(DataSetFile::Dbh, {}),
         {"Error: No min/max dbhes on file for dataset T"}},
        {"a short coefficient file", coefficientRow(9, nullptr), {"T_COEFFIC.csv"}},
        {"a coefficient that is not a number",
         coefficientRow(4, "2,x,1,0"),
         {"T_COEFFIC.csv", "record 5", "\"x\""}},
        {"a strata file of 1000 records",
         dataSetFile(DataSetFile::Strata, strata),
         {"T_STRATA.csv"}},
        {"a height that is not a number",
         lidar(1, {"3,20", "5,high"}),
         {"high.csv", "record 2", "\"high\""}},
        {"a negative plot in the DataSet 1 file",
         lidar(1, {"-3,20"}),
         {"high.csv", "record 1", "\"-3\""}},
        {"a plot beyond any MaxPlots in the DataSet 2 file",
         lidar(2, {"3,20", "2000000001,20"}),
         {"low.csv", "record 2", "\"2000000001\"", "largest plot number"}},
        {"a DataSet 2 file that does not exist",
         [](DistributionData& d) { d.session.lidarLowFile = d.dir / "missing.csv"; },
         {"missing.csv"}},
        {"no DataSet 1 file chosen",
         [](DistributionData& d) { d.session.lidarHighFile.clear(); },
         {"Please select Phase 1 Lidar Height"}},
        {"a directory for the DataSet 1 file",
         [](DistributionData& d) { d.session.lidarHighFile = d.dir.path(); },
         {"File "}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DistributionData d;
        writeGoodDataSet(d);
        d.writeEarlierOutputs();
        row.spoil(d);
        EXPECT_EQ(d.run().end, StepResult::End::Stopped);
        ASSERT_EQ(d.host.messages.size(), 1u);
        EXPECT_EQ(d.host.messages[0].icon, Icon::Critical);
        for (const auto& part : row.parts)
            EXPECT_NE(d.host.messages[0].text.find(part), std::string::npos)
                << d.host.messages[0].text << " lacks " << part;
        d.expectEarlierOutputs();
        EXPECT_EQ(d.host.statuses.size(), 1u);  // started, never completed
    }
}

}  // namespace
}  // namespace orr::test
