// Step 6 keeps the LiDAR heights of the Phase 2 plots only and passes over the other plots'
// records by their plot field. The heights kept are those of a plain reading of every record,
// in file order, and a record the reader cannot use is refused wherever it stands: a skipped
// record is still split and checked as a whole record of a plot number and a number, so a file
// is refused by step 6 exactly when, and where, it was refused before, whatever plot the record
// belongs to. Only the conversion of the other plots' heights to numbers is left out.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/InputError.h"
#include "engine/distribution/DistributionInputs.h"
#include "files/DataSetFiles.h"
#include "files/RecordFile.h"
#include "tests/support/TestFiles.h"

namespace orr::test {
namespace {

using files::DataSetFile;

struct HeightsData {
    TempDir dir;
    StepInputs in;

    explicit HeightsData(const std::vector<int>& phase2Plots) {
        in.dataDir = dir.path();
        in.dataSetName = "T";
        in.params = ParamRecord::defaults();
        in.params.MaxSpec = 2;
        in.params.MaxProd = 2;
        in.params.MaxPlots = 500;
        in.threads = 2;
        in.paths.lidarHigh = dir / "high.csv";
        in.paths.lidarLow = dir / "low.csv";
        std::string plots;
        for (int plot : phase2Plots)
            plots += std::to_string(plot) + ",1,1,20,10.9,123,100,100,100\r\n";
        writeFile(files::path(in, DataSetFile::PlotClasses), plots);
    }
    distribution::PlotsAndHeights read() const {
        return distribution::readPlotsAndHeights(in, nullptr);
    }
};

// Every height of `plot` in the file, in file order, as a reading of every record gives them.
std::map<int, std::vector<double>> allHeights(const std::filesystem::path& file) {
    std::map<int, std::vector<double>> byPlot;
    files::forEachRecord<files::LidarHeightFile>(
        file, files::Limits{500, 2, 2},
        [&](const files::LidarHeight& r) { byPlot[r.plot].push_back(r.height); });
    return byPlot;
}

TEST(Step6LidarHeights, ThePhase2PlotsKeepEveryHeightOfAReadingOfEveryRecord) {
    const std::vector<int> phase2 = {4, 17, 230, 231};
    HeightsData d(phase2);
    std::mt19937 g(5);
    // Runs of plots in two-decimal heights, some plots coming back later in the file, forms
    // that are not passed over by the plot field alone (blanks, quotes, an exponent, LF alone, a
    // record over two lines) among them, and a last line without its line end.
    for (const auto& file : {d.in.paths.lidarHigh, d.in.paths.lidarLow}) {
        std::string text;
        for (int run = 0; run < 3000; ++run) {
            const int plot =
                g() % 4 == 0 ? phase2[g() % phase2.size()] : 1 + static_cast<int>(g() % 400);
            const int trees = 1 + static_cast<int>(g() % 20);
            for (int t = 0; t < trees; ++t) {
                const std::string h =
                    std::to_string(5 + g() % 90) + "." + std::to_string(g() % 100);
                switch (g() % 30) {
                    case 0:
                        text += std::to_string(plot) + ", " + h + "\r\n";
                        break;
                    case 1:
                        text += "\"" + std::to_string(plot) + "\"," + h + "\r\n";
                        break;
                    case 2:
                        text += std::to_string(plot) + ",1e1\n";
                        break;
                    case 3:
                        text += std::to_string(plot) + "\r\n" + h + "\r\n";
                        break;
                    default:
                        text += std::to_string(plot) + "," + h + "\r\n";
                }
            }
        }
        text += "231,44.5";
        writeFile(file, text);
    }
    const distribution::PlotsAndHeights read = d.read();
    const auto high = allHeights(d.in.paths.lidarHigh);
    const auto low = allHeights(d.in.paths.lidarLow);
    std::size_t kept = 0;
    for (int plot : phase2) {
        SCOPED_TRACE(plot);
        const auto span1 = read.heights[0].of(plot);
        const auto span2 = read.heights[1].of(plot);
        EXPECT_EQ(std::vector<double>(span1.begin(), span1.end()), high.at(plot));
        EXPECT_EQ(std::vector<double>(span2.begin(), span2.end()), low.at(plot));
        kept += high.at(plot).size();
    }
    EXPECT_EQ(read.heights[0].count(), kept);
    EXPECT_TRUE(read.heights[0].of(1).empty());  // not a Phase 2 plot: nothing kept
}

std::string faultOf(const HeightsData& d) {
    try {
        d.read();
    } catch (const InputError& e) {
        return e.what();
    }
    return "";
}

TEST(Step6LidarHeights, ARecordOfAnyPlotThatCannotBeReadIsRefusedAtItsNumber) {
    // Plot 9 is not a Phase 2 plot: its records after the first are passed over by the plot
    // field, but a height that is not a number, a field too many, a record cut short or a plot
    // above MaxPlots is refused under its own record number, as a reading of every record does.
    struct Row {
        std::string record;
        std::string message;  // part of the message
    };
    const std::vector<Row> rows = {
        {"9,abc", "record 4, field 2 (height): \"abc\" is not a number"},
        {"9,12,5", "record 4, field 3"},
        {"9,\"12", "record 4, field 2"},
        {"9,12.5.5", "record 4, field 2 (height): \"12.5.5\" is not a number"},
        {"501,12", "record 4, field 1 (plot): \"501\" is outside the allowed range 0 to 500"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.record);
        HeightsData d({4});
        writeFile(d.in.paths.lidarHigh, crlf({"4,30", "9,12", "9,13", row.record, "9,14", "4,20"}));
        writeFile(d.in.paths.lidarLow, crlf({"4,30"}));
        const std::string message = faultOf(d);
        EXPECT_NE(message.find("high.csv"), std::string::npos) << message;
        EXPECT_NE(message.find(row.message), std::string::npos) << message;
    }
    // The last record cut short (the file ends inside it): refused, not passed over.
    HeightsData d({4});
    writeFile(d.in.paths.lidarHigh, "4,30\r\n9,12\r\n9,13\r\n9");
    writeFile(d.in.paths.lidarLow, crlf({"4,30"}));
    const std::string message = faultOf(d);
    EXPECT_NE(message.find("record 4"), std::string::npos) << message;
    EXPECT_NE(message.find("cut short"), std::string::npos) << message;
}

TEST(Step6LidarHeights, ADataSet1FileWithoutATallTreeIsRefusedAlsoWhenItsRecordsAreSkipped) {
    HeightsData d({4});
    // Plot 9's heights are passed over only once a tree taller than 10 feet has been counted.
    writeFile(d.in.paths.lidarHigh, crlf({"9,2", "9,3", "9,4", "4,5", "9,6"}));
    writeFile(d.in.paths.lidarLow, crlf({"4,30"}));
    EXPECT_NE(faultOf(d).find("holds no LiDAR tree taller than 10 feet (5 records read)"),
              std::string::npos)
        << faultOf(d);
    writeFile(d.in.paths.lidarHigh, crlf({"9,2", "9,30", "9,4", "4,5", "9,6"}));
    EXPECT_EQ(faultOf(d), "");
}

}  // namespace
}  // namespace orr::test
