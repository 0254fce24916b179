// Step 5 on small files whose outputs were worked out by hand, and on input it cannot use.
// The data set: three species, two products, PACF 10, ModelSet 0.
//   height: species 1 H = 10.25 + 2 D, species 2 H = 5 + 3 D, species 3 no equation
//   volume: species 1 V = D^2 H / 64, species 2 V = 2 + D / 2, species 3 V = 0
//   smallest DBH of product 1: species 1 6, species 2 5, species 3 4
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <tuple>

#include "core/NumberText.h"
#include "engine/phase2/PlotTotalsStep.h"
#include "files/DataSetFiles.h"
#include "model/session/Session.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::test {
namespace {

const std::string kCoefficients = crlf({
    "0,0,0,0", "0,0,0,0", "0,0,0,0",           // DBH from height
    "10.25,2,1,0", "5,3,1,0", "0,0,0,0",       // height
    "0,0,0,0", "0,0,0,0", "0,0,0,0",           // ground height, DataSet 1
    "0,0,0,0", "0,0,0,0", "0,0,0,0",           // ground height, DataSet 2
    "0,0,0,0.015625", "2,0.5,0,0", "0,0,0,0",  // volume
});

const std::string kDbhLimits = crlf({R"(1,1,"6","9.9")", R"(1,2,"10","30")", R"(2,1,"5","11")",
                                     R"(2,2,"11.1","30")", R"(3,1,"4","30")", "3,2,0,0"});

using files::DataSetFile;
constexpr std::array kPhase2Files = {DataSetFile::TreeVolumes, DataSetFile::PlotClasses,
                                     DataSetFile::PlotTotals, DataSetFile::Phase2Summary};

// A session on the data set above with data set name "T" and MaxPlots 10; no tree file yet.
struct Phase2Data {
    Phase2Data() {
        session.appDir = dir / "app";
        std::filesystem::create_directories(session.dataFilesDir());
        session.dataSetName = "T";
        session.params = ParamRecord::defaults();
        auto& p = session.params;
        std::tie(p.PACF, p.MaxSpec, p.MaxProd, p.MaxPlots) = std::tuple(10, 3, 2, 10);
        session.inputs.coefficients = dir / "coeff.csv";
        session.inputs.dbh = dir / "dbh.csv";
        session.inputs.trees = dir / "trees.csv";
        writeFile(session.inputs.coefficients, kCoefficients);
        writeFile(session.inputs.dbh, kDbhLimits);
    }
    std::filesystem::path file(DataSetFile f) const {
        return files::path(session.dataFilesDir(), session.dataSetName, f);
    }
    std::string output(DataSetFile f) const { return readFile(file(f)); }
    bool run() { return runStep(5, &computePlotTotals, session, host).completed(); }

    TempDir dir;
    Session session;
    FakeHost host;
};

// Plot 1 holds the DBH boundary (6 counted, 5.99 left out), a missing height (predicted 22.25,
// shown as 22), a height of 0.4 kept, and a species-3 class with trees but no volume. Plot 1
// comes back after plot 2 and is a plot of its own; plot 3 has only trees below the minimum.
const std::string kTrees =
    crlf({"1,1,1,6,0,20,1.5,0.125", "1,1,1,5.99,30,20,0,0", "1,1,2,8,0.4,20,0,0",
          "1,2,1,10,25,20,0,0", "1,3,2,4,12,20,0,0", "2,2,2,12,30,25,0,0", "1,1,1,10,20,20,0,0",
          "3,1,1,5,40,20,0,0", "3,2,1,4.5,40,20,0,0", "4,1,1,6,30,20,-2.5,3.14159"});

TEST(Phase2Golden, WritesTheFourFilesAndTheLog) {
    Phase2Data d;
    writeFile(d.session.inputs.trees, kTrees);
    d.session.params.MaxPlots = 4;  // the highest plot of the file is accepted
    d.host.logText = "old text\r\n";
    ASSERT_TRUE(d.run());
    // 6 * 6 * 22.25 / 64 = 12.515625 rounds to the even 12.51562; 0.125 to 0.12.
    EXPECT_EQ(d.output(DataSetFile::TreeVolumes),
              crlf({"1,1,1,6,22,12.51562,1.5,0.12", "1,1,2,8,0,0.4,0,0", "1,2,1,10,25,7,0,0",
                    "1,3,2,4,12,0,0,0", "2,2,2,12,30,8,0,0", "1,1,1,10,20,31.25,0,0",
                    "4,1,1,6,30,16.875,-2.5,3.14"}));
    // Plot 1: N 40, BA 11.78064, volume 199.15625; species 3 product 2 (volume 0) is written.
    EXPECT_EQ(d.output(DataSetFile::PlotClasses),
              crlf({"1,1,1,10,2,125.16,25,16.67,62.84", "1,1,2,10,3.5,4,25,29.63,2.01",
                    "1,2,1,10,5.5,70,25,46.3,35.15", "1,3,2,10,0.9,0,25,7.41,0",
                    "2,2,2,10,7.9,80,100,100,100", "1,1,1,10,5.5,312.5,100,100,100",
                    "4,1,1,10,2,168.75,100,100,100"}));
    EXPECT_EQ(d.output(DataSetFile::PlotTotals),
              crlf({"1,40,11.78,199.16", "2,10,7.85,80", "1,10,5.45,312.5", "4,10,1.96,168.75"}));
    // Four plots closed (1, 2, 1 again, 4); plot 3 is not counted.
    EXPECT_EQ(d.output(DataSetFile::Phase2Summary),
              crlf({"1,1,7.5,2.35,151.6,4", "1,2,2.5,0.87,1,4", "2,1,2.5,1.36,17.5,4",
                    "2,2,2.5,1.96,20,4", "3,2,2.5,0.22,0,4"}));
    EXPECT_EQ(d.host.logText,
              crlf({"Computing plot totals/percentages by species-product....",
                    "Computing plot totals all species, products combined....",
                    "Obtaining Summary of Phase 2 ground estimates.... ",
                    "The Following Files are Created in directory " +
                        files::dirText(d.session.dataFilesDir()),
                    "T_PH2TreeV.csv", "T_PH2Plot.csv", "T_PH2PlotT.csv", "T_PH2Sum.csv"}));
    EXPECT_EQ(d.host.statuses,
              (std::vector<std::string>{"Status: Computing Plot Totals..",
                                        "Status: Plot Totals Computation completed!"}));
    EXPECT_TRUE(d.host.messages.empty());
}

// A tree file far longer than the pieces its lines are made in, with trees left out all along:
// every counted tree's line, in the file's order, whatever the number of threads.
TEST(Phase2Golden, ALongTreeFileKeepsItsOrderOnAnyNumberOfThreads) {
    Phase2Data d;
    d.session.params.MaxPlots = 1000;
    std::string trees;
    std::string expected;
    for (int i = 0; i < 30000; ++i) {
        const int plot = 1 + i / 40;
        // Species 2 (V = 2 + D / 2, smallest counted DBH 5): every seventh tree is too small.
        const double dbh = i % 7 == 3 ? 4.5 : 5 + (i % 50) / 4.0;
        const std::string dbhText = shortest(dbh);
        trees += std::to_string(plot) + ",2,1," + dbhText + "," + std::to_string(20 + i % 9) +
                 ",20,0,0\r\n";
        if (dbh < 5) continue;
        expected += std::to_string(plot) + ",2,1," + dbhText + "," + std::to_string(20 + i % 9) +
                    "," + shortest(2 + dbh / 2) + ",0,0\r\n";
    }
    writeFile(d.session.inputs.trees, trees);
    for (unsigned threads : {1u, 3u}) {
        d.session.run.threads = threads;
        ASSERT_TRUE(d.run()) << threads;
        // Compared whole (a diff of some 26,000 lines would take long to print).
        EXPECT_TRUE(d.output(DataSetFile::TreeVolumes) == expected) << threads;
    }
}

TEST(Phase2Golden, ZeroTotalsGiveZeroPercentAndCodesOfZeroCountOnlyInThePlotTotal) {
    // DBH 0 has no basal area and species 3 no volume; species 0 product 0 is in no class.
    Phase2Data d;
    writeFile(d.session.inputs.dbh,
              crlf({R"(1,1,"6","9.9")", "1,2,0,0", "2,1,0,0", "2,2,0,0", "3,1,0,0", "3,2,0,0"}));
    writeFile(d.session.inputs.trees,
              crlf({"7,3,1,0,12,20,0,0", "7,3,2,0,12,20,0,0", "7,0,0,0,12,20,0,0"}));
    ASSERT_TRUE(d.run());
    EXPECT_EQ(d.output(DataSetFile::PlotClasses),
              crlf({"7,3,1,10,0,0,33.33,0,0", "7,3,2,10,0,0,33.33,0,0"}));
    EXPECT_EQ(d.output(DataSetFile::PlotTotals), crlf({"7,30,0,0"}));
}

// Bad input: one critical message naming the file, the record, the field and the text found;
// the step does not complete and the files of an earlier run stay byte for byte.
const std::string kGood = crlf({"1,1,1,6,30,20,0,0", "2,2,1,10,25,20,0,0"});
const std::string kMissing = "<missing>", kUnset = "<unset>";

struct BadInput {
    std::filesystem::path InputPaths::*file;
    std::string content;  // kMissing: the path names no file; kUnset: no file chosen
    std::vector<std::string> messageParts;
};

TEST(Phase2InputError, EachBadInputStopsWithOneMessageAndKeepsEarlierFiles) {
    const auto trees = &InputPaths::trees, coeff = &InputPaths::coefficients;
    const std::vector<BadInput> cases = {
        {trees, kGood + "2,4,1,10,25,20,0,0\r\n", {"trees.csv", "record 3", "Species", "\"4\""}},
        // Read well, but nothing to total: the files of the run before are kept.
        {trees,
         "3,1,1,5,40,20,0,0\r\n5,2,2,4.99,40,20,0,0\r\n",
         {"trees.csv: no tree reaches the smallest DBH of product 1 of its species (2 trees read; "
          "the smallest such DBH in ",
          "dbh.csv is 4 inches). The earlier plot totals are kept."}},
        {coeff,
         kCoefficients.substr(0, kCoefficients.rfind("0,0,0,0\r\n")),
         {"coeff.csv", "14", "15"}},
        {trees, kMissing, {"none.csv"}},
        {trees, kUnset, {"Please Enter Input File"}},  // no tree file chosen
    };
    for (const BadInput& c : cases) {
        SCOPED_TRACE(c.messageParts[0]);
        Phase2Data d;
        writeFile(d.session.inputs.trees, kGood);
        for (auto f : kPhase2Files) writeFile(d.file(f), "old");
        auto& path = d.session.inputs.*c.file;
        if (c.content == kMissing) {
            path = d.dir / "none.csv";
        } else if (c.content == kUnset) {
            path.clear();
        } else {
            writeFile(path, c.content);
        }
        EXPECT_FALSE(d.run());
        ASSERT_EQ(d.host.messages.size(), 1u);
        EXPECT_EQ(d.host.messages[0].icon, Icon::Critical);
        for (const auto& part : c.messageParts) {
            EXPECT_NE(d.host.messages[0].text.find(part), std::string::npos)
                << "'" << part << "' not in: " << d.host.messages[0].text;
        }
        for (auto f : kPhase2Files) EXPECT_EQ(d.output(f), "old");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(d.session.dataFilesDir()),
                                std::filesystem::directory_iterator()),
                  4)
            << "no temporary file is left behind";
    }
}

}  // namespace
}  // namespace orr::test
