// Step 6 files and log compared whole (data set in DistributionData.h): with one class per plot
// every draw is forced, a class with a share of 1 receiving every counted LiDAR tree in every
// iteration. Draws from several classes are repeatable with a fixed seed whatever the number of
// threads. Where the step ends without completing: an input it cannot use (one message naming
// the file, the record, the field and the text found), a LiDAR plot above MaxPlots, a cancel; no
// file changes in any of them.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <set>
#include <span>

#include "core/OutputSet.h"
#include "core/RandomStreams.h"
#include "engine/distribution/DrawStream.h"
#include "files/DataSetFiles.h"
#include "tests/engine/distribution/DistributionData.h"

namespace orr::test {
namespace {

TEST(DistributionFiles, ForcedDrawsGiveTheHandWorkedFilesAndLog) {
    DistributionData d;
    d.write(DataSetFile::PlotClasses,
            {"3,1,1,20,10.91,123.456,100,100,100", "5,2,2,30,5.25,80.5,100,100,100",
             "7,1,1,10,2.34,40.4,100,100,100"});
    // Plot 3: heights 20, 30.5 and 12 count, 8 is too short; plot 9 is not a Phase 2 plot.
    d.writeLidar(1, {"3,20", "3,8", "3,30.5", "5,15", "5,11", "5,10", "9,25", "3,12"});
    d.writeLidar(2, {"3,20", "5,12", "5,14", "7,15"});
    writeFile(d.file(DataSetFile::SpeciesCountsDS2), "kept\r\n");  // no step writes it
    ASSERT_TRUE(d.run().completed());
    EXPECT_TRUE(d.host.messages.empty());
    // Plot 3: N 3 x 10, BA 3 x 5.454, volume 10 x (11 + 16.25 + 7) = 342.5 -> 342 (half to even).
    // Plot 5: DBH 6 is below product 2's 8, so the trees move to product 1: BA 2 x 1.96344,
    // volume 10 x (4.75 + 3.75). DataSet 2: plot 3 H 40 -> 200, plot 5 H 7 and 9 -> 60, plot 7
    // H 30 -> 150.
    EXPECT_EQ(
        d.read(DataSetFile::LidarPlotsDS1),
        crlf({" 3 , 1 , 1 , 20 , 10.9 , 123 , 30 , 16.4 , 342 ",
              " 5 , 2 , 1 , 0 , 0 , 0 , 20 , 3.9 , 85 ", " 5 , 2 , 2 , 30 , 5.2 , 80 , 0 , 0 , 0 ",
              " 7 , 1 , 1 , 10 , 2.3 , 40 , 0 , 0 , 0 "}));
    EXPECT_EQ(d.read(DataSetFile::SpeciesCountsDS1),
              crlf({"3,1,20", "3,2,0", "5,1,0", "5,2,30", "7,1,10", "7,2,0"}));
    EXPECT_EQ(
        d.read(DataSetFile::LidarPlotsDS2),
        crlf({" 3 , 1 , 1 , 20 , 10.9 , 123 , 10 , 5.5 , 200 ",
              " 5 , 2 , 1 , 0 , 0 , 0 , 20 , 3.9 , 60 ", " 5 , 2 , 2 , 30 , 5.2 , 80 , 0 , 0 , 0 ",
              " 7 , 1 , 1 , 10 , 2.3 , 40 , 10 , 5.5 , 150 "}));
    EXPECT_EQ(d.read(DataSetFile::SpeciesCountsDS2), "kept\r\n");

    const std::string dirLine = "The following files were created in directory - " +
                                files::dirText(d.session.dataFilesDir());
    EXPECT_EQ(d.host.logText, crlf({"Iteration Done!!", dirLine, "T_PH2plotDS1.csv",
                                    "T_PH2specDS1.csv", "T_PH2plotDS2.csv", "T_PH2specDS2.csv"}));
    EXPECT_EQ(d.host.statuses,
              (std::vector<std::string>{"Status : Iterating Phase 2 LiDAR distribution...",
                                        "Status : Iteration of Phase2 LiDAR distribution "
                                        "completed!"}));
    EXPECT_GT(d.host.progressCalls, 0u);

    // Without a DataSet 2 file: ground values only; an empty species file of DataSet 2 goes.
    d.session.inputs.lidarLow.clear();
    writeFile(d.file(DataSetFile::SpeciesCountsDS2), "");
    ASSERT_TRUE(d.run().completed());
    EXPECT_EQ(d.read(DataSetFile::LidarPlotsDS2),
              crlf({" 3 , 1 , 1 , 20 , 10.9 , 123 , 0 , 0 , 0 ",
                    " 5 , 2 , 2 , 30 , 5.2 , 80 , 0 , 0 , 0 ",
                    " 7 , 1 , 1 , 10 , 2.3 , 40 , 0 , 0 , 0 "}));
    EXPECT_FALSE(d.exists(DataSetFile::SpeciesCountsDS2));
    // No plots at all: every output goes, and the log lists none.
    d.write(DataSetFile::PlotClasses, {});
    ASSERT_TRUE(d.run().completed());
    for (DataSetFile f :
         {DataSetFile::LidarPlotsDS1, DataSetFile::SpeciesCountsDS1, DataSetFile::LidarPlotsDS2})
        EXPECT_FALSE(d.exists(f)) << d.file(f);
    EXPECT_EQ(d.host.logText, crlf({"Iteration Done!!", dirLine}));
}

// Species 1 (DBH 10) drawn into product 2 of limits 4..8: above them, with no product 3. The
// question is asked once for the two trees of DataSet 1 and the one of DataSet 2 and the answer
// taken for all three; under ProductCodePolicy::Drop nobody is asked and the three are dropped.
TEST(DistributionFiles, TheProductQuestionIsAskedOncePerKeyOrTheTreesAreDropped) {
    DistributionData d;
    d.write(DataSetFile::Dbh,
            {R"(1,1,"5","12")", R"(1,2,"4","8")", R"(2,1,"4","8")", R"(2,2,"8","20")"});
    d.write(DataSetFile::PlotClasses, {"3,1,2,20,10,100,100,100,100"});
    d.writeLidar(1, {"3,20", "3,30"});
    d.writeLidar(2, {"3,20"});
    d.host.productCodes = {1};
    StepResult result = d.run();
    ASSERT_TRUE(result.completed());
    EXPECT_TRUE(result.warnings.empty());
    EXPECT_EQ(d.host.productQuestions, (std::vector<std::pair<int, double>>{{1, 10.0}}));
    // DataSet 1: H 22 and 32, volumes 11 and 16 -> 270; DataSet 2: H 40, volume 20 -> 200.
    const std::string ground = " 3 , 1 , 2 , 20 , 10 , 100 , 0 , 0 , 0 ";
    EXPECT_EQ(d.read(DataSetFile::LidarPlotsDS1),
              crlf({" 3 , 1 , 1 , 0 , 0 , 0 , 20 , 10.9 , 270 ", ground}));
    EXPECT_EQ(d.read(DataSetFile::LidarPlotsDS2),
              crlf({" 3 , 1 , 1 , 0 , 0 , 0 , 10 , 5.5 , 200 ", ground}));

    result = d.run(ProductCodePolicy::Drop);
    ASSERT_TRUE(result.completed());
    EXPECT_EQ(d.host.productQuestions.size(), 1u);  // no further question
    EXPECT_EQ(result.warnings,
              (std::vector<Warning>{{"dropped trees",
                                     "3 LiDAR trees dropped for want of a product code: species 1 "
                                     "(3 trees, DBH 10 inches)."}}));
    EXPECT_EQ(d.read(DataSetFile::LidarPlotsDS1), crlf({ground}));
}

TEST(DistributionDraws, FixedSeedGivesIdenticalFilesAnyThreadCount) {
    DistributionData d;
    d.session.params.MaxPlots = 5000;
    d.session.params.MaxItern = 25;
    std::mt19937 gen(11);
    std::vector<std::string> ground, high, low;
    for (int p = 1; p <= 300; ++p) {  // two or three classes, 1 to 40 trees in both data sets
        const auto a = std::to_string(10 + gen() % 60), b = std::to_string(100 - std::stoi(a));
        ground.push_back(std::to_string(p) + ",1,1,10,1,1," + a + ",0,0");
        ground.push_back(std::to_string(p) + ",2,1,10,1,1," + b + ",0,0");
        if (p % 3 == 0) ground.push_back(std::to_string(p) + ",2,2,10,1,1,5,0,0");
        const unsigned trees = 1 + gen() % 40, from = 8 + gen() % 20;
        for (unsigned t = 0; t < trees; ++t) {
            high.push_back(std::to_string(p) + "," + std::to_string(from + t));
            low.push_back(std::to_string(p) + "," + std::to_string(from + 4 + t));
        }
    }
    d.write(DataSetFile::PlotClasses, ground);
    d.writeLidar(1, high);
    d.writeLidar(2, low);
    auto outputs = [&] {
        return d.read(DataSetFile::LidarPlotsDS1) + d.read(DataSetFile::SpeciesCountsDS1) +
               d.read(DataSetFile::LidarPlotsDS2);
    };
    d.session.run.seed = 1234;
    ASSERT_TRUE(d.run().completed());
    const std::string first = outputs();
    for (unsigned threads : {4u, 0u}) {
        d.session.run.threads = threads;
        ASSERT_TRUE(d.run().completed());
        EXPECT_EQ(outputs(), first) << threads << " threads";
    }
    d.session.run.seed = 1235;
    ASSERT_TRUE(d.run().completed());
    EXPECT_NE(outputs(), first);
}

// A plot's draws are the standard generator's numbers of its stream, however many are taken at
// once (across the generator's blocks), and a draw is told from an interval's bound by whole
// numbers exactly as by its value: just below, at and just above every sort of bound.
TEST(DistributionDraws, ADrawIsToldFromABoundAsItsValueIs) {
    for (const std::uint64_t position : {0ULL, 7ULL, 123456ULL}) {
        distribution::DrawStream draws(99, 2, position);
        std::mt19937_64 standard(streamSeed(99, distribution::kDistributionSalt, 2, position));
        int drawn = 0;
        for (const std::size_t most : {1, 7, 300, 500, 311, 1000, 2000}) {
            const std::span<const std::uint64_t> numbers = draws.take(most);
            ASSERT_GE(numbers.size(), 1u);
            ASSERT_LE(numbers.size(), most);
            for (const std::uint64_t number : numbers)
                ASSERT_EQ(drawBits(number), standard() >> 11) << drawn++;
        }
    }
    std::vector<double> bounds = {0.0,
                                  1.0,
                                  0.5,
                                  0.1,
                                  0.3,
                                  1.0 / 3,
                                  0x1p-53,
                                  3 * 0x1p-54,
                                  1e-300,
                                  std::nextafter(0.5, 0.0),
                                  std::nextafter(0.5, 1.0),
                                  std::nextafter(1.0, 0.0)};
    std::mt19937_64 g(5);
    for (int i = 0; i < 1000; ++i) bounds.push_back(uniform01(g) * (i % 2 == 0 ? 1 : 1e-10));
    for (const double bound : bounds) {
        const std::uint64_t above = distribution::drawAbove(bound);
        for (std::uint64_t m = above > 2 ? above - 2 : 0; m <= above + 1; ++m) {
            if (m >= (std::uint64_t{1} << 53)) break;  // no draw reaches 1
            EXPECT_EQ(static_cast<double>(m) * 0x1p-53 > bound, m >= above)
                << "bound " << bound << ", draw " << m;
        }
    }
}

using End = StepResult::End;
using Spoil = std::function<void(DistributionData&)>;

// Plot 3 of species 1 and plot 5 of species 2, with trees of both data sets; the outputs of an
// earlier run on disk.
struct GoodData : DistributionData {
    static constexpr DataSetFile kEarlier[] = {
        DataSetFile::LidarPlotsDS1, DataSetFile::SpeciesCountsDS1, DataSetFile::LidarPlotsDS2};
    GoodData() {
        write(DataSetFile::PlotClasses,
              {"3,1,1,20,10.91,123.456,100,100,100", "5,2,2,30,5.25,80.5,100,100,100"});
        writeLidar(1, {"3,20", "5,15"});
        writeLidar(2, {"3,20", "5,12"});
        for (DataSetFile f : kEarlier) writeFile(file(f), "earlier" + file(f).filename().string());
    }
    // Ran but did not complete: the start caption only, one critical message holding every one
    // of `parts` (no message for a cancel), every earlier file byte-identical and no temporary
    // file beside them.
    void expectNothingChanged(const std::vector<std::string>& parts) const {
        EXPECT_EQ(host.statuses.size(), 1u);
        ASSERT_EQ(host.messages.size(), parts.empty() ? 0u : 1u);
        for (const auto& part : parts) {
            EXPECT_EQ(host.messages[0].icon, Icon::Critical);
            EXPECT_NE(host.messages[0].text.find(part), std::string::npos)
                << host.messages[0].text << " lacks " << part;
        }
        for (DataSetFile f : kEarlier) EXPECT_EQ(read(f), "earlier" + file(f).filename().string());
        for (const auto& entry : std::filesystem::directory_iterator(session.dataFilesDir()))
            EXPECT_FALSE(isTemporaryOutputName(entry.path().filename().string())) << entry.path();
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
        auto rows = kCoefficients;
        rows[row] = text;
        d.write(DataSetFile::Coefficients, rows);
    };
}

TEST(DistributionStops, EveryBadInputGivesOneMessageAndKeepsEarlierFiles) {
    const std::string noCoefficient = "Potential ERROR: No coefficient for LiDAR ";
    struct Row {
        const char* name;
        Spoil spoil;
        std::vector<std::string> parts;  // texts the message must contain
    };
    const std::vector<Row> rows = {
        {"species above MaxSpec in the plot file",
         dataSetFile(DataSetFile::PlotClasses, {"3,1,1,20,1,1,50,50,50", "3,3,1,20,1,1,50,50,50"}),
         {"T_PH2Plot.csv", "record 2", "\"3\""}},
        {"not a number in the plot file",
         dataSetFile(DataSetFile::PlotClasses, {"3,1,1,20,1,1,50,50,50", "4,1,1,abc,1,1,50,50,50"}),
         {"T_PH2Plot.csv", "record 2", "\"abc\""}},
        {"no plot file",
         [](DistributionData& d) { std::filesystem::remove(d.file(DataSetFile::PlotClasses)); },
         {"T_PH2Plot.csv"}},
        {"an empty DBH file",
         dataSetFile(DataSetFile::Dbh, {}),
         {"Error: No min/max dbhes on file for dataset T"}},
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
        {"no DataSet 1 file chosen",
         [](DistributionData& d) { d.session.inputs.lidarHigh.clear(); },
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

// Plots are computed a chunk ahead of the lines written: a plot that meets a missing coefficient
// far into the file stops the step with the lines of every plot before it in the log and none of
// the plots after it.
TEST(DistributionStops, AMissingCoefficientStopsAtItsPlotWhateverTheChunk) {
    for (unsigned threads : {1u, 2u}) {
        DistributionData d;
        d.session.params.MaxPlots = 1000;
        d.session.run.threads = threads;
        auto rows = kCoefficients;
        rows[5] = "0,1,0,0";  // no b2 for the DataSet 1 height of species 2
        d.write(DataSetFile::Coefficients, rows);
        std::vector<std::string> ground, high;
        for (int p = 1; p <= 300; ++p) {
            ground.push_back(std::to_string(p) + (p == 150 ? ",2" : ",1") + ",1,10,1,1,100,0,0");
            high.push_back(std::to_string(p) + ",20");
        }
        d.write(DataSetFile::PlotClasses, ground);
        d.writeLidar(1, high);
        d.writeLidar(2, high);
        EXPECT_EQ(d.run().end, End::Stopped);
        ASSERT_EQ(d.host.messages.size(), 1u);
        EXPECT_EQ(d.host.messages[0].text,
                  "Potential ERROR: No coefficient for LiDAR DS1 height equation: species 2 has "
                  "no b2 in equation 3.");
        std::set<int> logged;
        for (const std::string& line : d.host.logLines()) {
            if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0])))
                logged.insert(std::stoi(line));
        }
        ASSERT_FALSE(logged.empty());
        EXPECT_EQ(*logged.begin(), 1) << threads << " threads";
        EXPECT_EQ(*logged.rbegin(), 149) << threads << " threads";
        EXPECT_EQ(logged.size(), 149u) << threads << " threads";
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
         d.session.inputs.lidarLow.string() +
         ", record 2, field 1 (plot): \"25\" is outside the allowed range 0 to 20.)"});
    // The window raises MaxPlots and runs the step again.
    d.session.params.MaxPlots = 25;
    EXPECT_TRUE(d.run().completed());
}

TEST(DistributionStops, ACancelLeavesEveryEarlierFile) {
    GoodData cancelled;
    cancelled.host.onCancelled = [&] { return cancelled.host.progressCalls > 0; };
    EXPECT_EQ(cancelled.run().end, End::Cancelled);  // in DataSet 2, after DataSet 1's progress
    EXPECT_EQ(cancelled.host.progressCalls, 1u);
    cancelled.expectNothingChanged({});
}

}  // namespace
}  // namespace orr::test
