// orravant-cli run, in-process: exit codes, a step-5 run whose printed log is compared whole,
// warnings and --strict, the product-code prompt of step 6, and the bundled sample through every
// step without a warning, with the same results when its plot numbers lie past 16 bits.
#include <algorithm>
#include <cstdlib>
#include <set>
#include <sstream>

#include "model/session/Startup.h"
#include "tests/cli/CliSupport.h"
#include "tools/generator/Generator.h"

namespace orr::test {
namespace {

// Two plots worked out by hand (PACF 10, species 1 H = 10 + 2 D, V = D^2 H / 64, species 2
// V = 2 + D / 2; the smallest DBH of product 1 is 6 for species 1).
class RunCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(app);
        std::filesystem::create_directories(in);
        ParamRecord p = ParamRecord::defaults();
        std::tie(p.PACF, p.MaxPlots, p.MaxProd) = std::tuple(10, 10, 2);
        saveParameters(app, p);
        writeFile(in / "coeff.csv",
                  crlf({"0,0,0,0", "0,0,0,0", "10,2,1,0", "5,3,1,0", "0,0,0,0", "0,0,0,0",
                        "0,0,0,0", "0,0,0,0", "0,0,0,0.015625", "2,0.5,0,0"}));
        writeFile(in / "strata.csv", crlf({"1,1,10,20"}));
        writeFile(in / "dbh.csv", crlf({R"(1,1,"6","9.9")", R"(1,2,"10","30")", R"(2,1,"5","11")",
                                        R"(2,2,"11.1","30")"}));
        writeFile(in / "trees.csv", crlf({"1,1,1,8,0,20,0,0", "1,1,1,5,30,20,0,0",
                                          "1,2,2,12,30,20,0,0", "3,1,2,10,20,20,0,0"}));
        writeFile(in / "ds1.csv", crlf({"1,25", "3,30"}));
    }

    // run with every file flag and --steps 5.
    std::vector<std::string> args() const {
        std::vector<std::string> a = {"run", "--steps", "5", "--dataset", "RUN"};
        for (std::string name : {"coeff", "strata", "dbh", "trees", "ds1"})
            a.insert(a.end(), {"--" + name, (in / (name + ".csv")).string()});
        return a;
    }
    // The same with the value of `flag` replaced.
    std::vector<std::string> argsWith(const std::string& flag, const std::string& value) const {
        auto a = args();
        *(std::find(a.begin(), a.end(), flag) + 1) = value;
        return a;
    }

    std::string dataFile(const std::string& name) const {
        return readFile(app / "DATA FILES" / name);
    }

    TempDir dir;
    std::filesystem::path app = dir / "app";
    std::filesystem::path in = dir / "in";
};

TEST_F(RunCommandTest, AStepThatStopsExitsWith1AndNamesTheProblem) {
    const Outcome r = cliIn(app, argsWith("--trees", (in / "missing.csv").string()));
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_EQ(r.err.rfind("error: File " + (in / "missing.csv").string(), 0), 0u) << r.err;
    EXPECT_NE(r.err.find("error: step 5 did not complete\n"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(app / "DATA FILES" / "RUN_PH2Plot.csv"));
}

// Stratum areas that step 9 would refuse stop the run before step 5 changes a file; without
// step 9 the areas are not read at all.
TEST_F(RunCommandTest, RefusedStratumAreasStopTheRunBeforeAnyStep) {
    const std::string areas = (in / "areas.csv").string();
    writeFile(areas, crlf({"1,100", "2,50"}));
    auto all = argsWith("--steps", "5,6,7,8,9");
    all.insert(all.end(), {"--areas", areas});
    const Outcome refused = cliIn(app, all);
    EXPECT_EQ(refused.status, kExitFailed);
    EXPECT_EQ(refused.err, "error: File " + areas +
                               ", record 2, field 1 (stratum): \"2\" is not a stratum of the "
                               "strata file.\n")
        << refused.err;
    EXPECT_FALSE(std::filesystem::exists(app / "DATA FILES" / "RUN_PH2Plot.csv"));

    auto stepFive = args();
    stepFive.insert(stepFive.end(), {"--areas", areas});
    EXPECT_EQ(cliIn(app, stepFive).status, kExitOk);
}

// One ground tree of product 2 and one LiDAR tree whose DBH (always 40) lies above every product
// of its species: step 6 asks for its product code, or drops the tree with a warning under
// --product-code drop or on an empty answer. Without --seed the clock's seed is logged.
TEST_F(RunCommandTest, StepSixAsksForAProductCodeOrDropsTheTree) {
    // MaxItern 3; LiHgtAdj "No": the ground height is the LiDAR height.
    saveParameters(app, {10, 1, 2, 3, 10, 1, 0, 0.0f, 0.0f});
    writeFile(in / "coeff.csv", crlf({"40,0,1,0", "10,2,1,0", "0,0,0,0", "0,0,0,0", "1,0,0,0"}));
    writeFile(in / "dbh.csv", crlf({R"(1,1,"5","10")", R"(1,2,"10.1","20")"}));
    writeFile(in / "trees.csv", crlf({"1,1,2,15,50,20,0,0"}));
    writeFile(in / "ds1.csv", crlf({"1,40"}));
    for (const auto& [mode, input] :
         {std::pair("drop", "1\n"), std::pair("ask", "\n"), std::pair("ask", "1\n")}) {
        SCOPED_TRACE(std::string(mode) + " " + input);
        const bool ask = mode == std::string("ask"), dropped = !ask || input[0] == '\n';
        auto a = argsWith("--steps", "5,6");
        a.insert(a.end(), {"--product-code", mode});
        if (ask) a.insert(a.end(), {"--seed", "3"});
        const Outcome r = cliIn(app, a, input, !ask);  // drop does not ask even a terminal
        ASSERT_EQ(r.status, kExitOk) << r.err;
        // The question names the plot of the tree and the codes it takes.
        EXPECT_EQ(r.err.find(" PLOT = 1\n SPECIES = 1\n DBH = 40\n Valid product codes: 1 to 2\n"
                             " ENTER PRODUCT CODE...") != std::string::npos,
                  ask)
            << r.err;
        EXPECT_EQ(r.out.find("\nWarning: 1 LiDAR tree dropped for want of a product code: "
                             "species 1 (1 tree, DBH 40 inches).\n") != std::string::npos,
                  dropped)
            << r.out;
        EXPECT_EQ(r.err.find("warning: dropped trees: 1\n") != std::string::npos, dropped);
        if (!ask) {
            ASSERT_EQ(r.out.rfind("Random seed: ", 0), 0u) << r.out;
            const std::string seed = r.out.substr(13, r.out.find('\n') - 13);
            EXPECT_FALSE(seed.empty());
            EXPECT_EQ(seed.find_first_not_of("0123456789"), std::string::npos) << seed;
        } else if (!dropped) {
            // The tree counts in product 1 in each of the three iterations: LN = PACF,
            // LBA = 0.005454 * 40^2 * 10 = 87.264, LVOL = 1 * 10; the ground class is product 2
            // (BA 0.005454 * 15^2 * 10 = 12.2715).
            EXPECT_EQ(dataFile("RUN_PH2plotDS1.csv"),
                      crlf({" 1 , 1 , 1 , 0 , 0 , 0 , 10 , 87.3 , 10 ",
                            " 1 , 1 , 2 , 10 , 12.3 , 10 , 0 , 0 , 0 "}));
        }
    }
}

// Warnings: logged where they arise, counted by kind at the end; exit 0, or 1 under --strict.
// An empty field reads as 0; a predicted height of 10 + 2 * 300 = 610 feet is implausible.
TEST_F(RunCommandTest, WarningsAreCountedByKindAndFailTheRunOnlyUnderStrict) {
    writeFile(in / "trees.csv", crlf({"1,1,1,8,0,20,,", "1,1,1,300,0,20,0,0"}));
    for (const bool strict : {false, true}) {
        auto a = args();
        if (strict) a.push_back("--strict");
        const Outcome r = cliIn(app, a);
        EXPECT_EQ(r.status, strict ? kExitFailed : kExitOk) << r.err;
        EXPECT_NE(r.out.find("Warning: File " + (in / "trees.csv").string() +
                             ": 2 empty fields read as 0, the first in record 1, field 7.\n"),
                  std::string::npos)
            << r.out;
        EXPECT_NE(r.out.find("Warning: 1 predicted heights of ground trees above 400 feet, the "
                             "first 610 feet in plot 1, species 1"),
                  std::string::npos)
            << r.out;
        EXPECT_EQ(r.err,
                  std::string("warning: empty fields: 1\nwarning: heights above 400 ft: 1\n") +
                      (strict ? "error: 2 warnings under --strict\n" : ""));
    }
}

// A step that reads no LiDAR file needs no --ds1 (and step 8 none of the chosen files); paths
// are taken from the current directory, and the data directory in the log is absolute even when
// --app-dir is relative; --verbose shows the status captions and progress on stderr.
TEST_F(RunCommandTest, OnlyTheFilesTheChosenStepsReadAreRequiredAndRelativePathsAreTaken) {
    const Outcome eight = cliIn(app, {"run", "--dataset", "RUN", "--steps", "8"});
    EXPECT_EQ(eight.status, kExitFailed) << eight.err;  // no earlier step has run
    EXPECT_NE(eight.err.find("_PH2plotDS1.csv is missing"), std::string::npos) << eight.err;

    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(in);
    const Outcome r = cli({"--app-dir", "../app", "run", "--dataset", "REL", "--coeff", "coeff.csv",
                           "--strata", "strata.csv", "--dbh", "dbh.csv", "--trees", "./trees.csv",
                           "--steps", "5", "--verbose"});
    std::filesystem::current_path(before);
    ASSERT_EQ(r.status, kExitOk) << r.err;
    // No random step: no seed line.
    EXPECT_EQ(r.out,
              "Computing plot totals/percentages by species-product....\n"
              "Computing plot totals all species, products combined....\n"
              "Obtaining Summary of Phase 2 ground estimates.... \n"
              "The Following Files are Created in directory " +
                  (app / "DATA FILES").string() +
                  "/\nREL_PH2TreeV.csv\nREL_PH2Plot.csv\nREL_PH2PlotT.csv\nREL_PH2Sum.csv\n");
    // Plot 1: trees of 26 and 8 cubic feet (BA 0.349056 and 0.785376) and one below its
    // product's minimum; plot 3: 100 * 20 / 64 = 31.25 cubic feet, BA 0.5454.
    EXPECT_EQ(dataFile("REL_PH2PlotT.csv"), crlf({"1,20,11.34,340", "3,10,5.45,312.5"}));
    for (auto line : {"Status: Computing Plot Totals..\n",
                      "Status: Plot Totals Computation completed!\n", "progress: 100% ("})
        EXPECT_NE(r.err.find(line), std::string::npos) << r.err;
}

// `text` with `by` added to every whole number at least `from` in the fields `fields` (0-based)
// of its lines; the blanks the plot files pad their numbers with are kept.
std::string shifted(const std::string& text, std::set<int> fields, long by, long from = 0) {
    constexpr auto npos = std::string::npos;
    std::string out, cell;
    int field = 0;
    const auto flush = [&] {
        const std::size_t digits = cell.find_first_not_of(' ');
        const std::size_t stop = cell.find_first_not_of("0123456789", digits);
        if (fields.count(field) && digits != stop && cell.find_first_not_of(" \r", stop) == npos &&
            std::stol(cell.substr(digits, stop - digits)) >= from)
            cell = cell.substr(0, digits) +
                   std::to_string(std::stol(cell.substr(digits, stop - digits)) + by) +
                   (stop == npos ? "" : cell.substr(stop));
        out += cell;
        cell.clear();
    };
    for (const char c : text) {
        if (c != ',' && c != '\n') {
            cell += c;
            continue;
        }
        flush();
        out += c;
        field = c == ',' ? field + 1 : 0;
    }
    flush();
    return out;
}

// Runs steps 5 to 9 on the data set `files` in a new application directory with MaxPlots.
std::filesystem::path runSample(const std::filesystem::path& app,
                                const generator::DataSetFiles& files, std::int32_t maxPlots) {
    std::filesystem::create_directories(app);
    ParamRecord params = generator::presetShape("sample")->params;
    params.MaxPlots = maxPlots;
    saveParameters(app, params);
    const Outcome r =
        cliIn(app, {"run", "--dataset", "S", "--coeff", files.coefficients.string(), "--strata",
                    files.strata.string(), "--dbh", files.dbh.string(), "--trees",
                    files.trees.string(), "--ds1", files.lidarDs1.string(), "--ds2",
                    files.lidarDs2.string(), "--seed", "3", "--product-code", "drop"});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.err, "");  // no warning, no tree dropped for want of a product code
    return app / "DATA FILES";
}

// The sample with every plot number raised by two million (MaxPlots then lies past the 16 bits
// of PARAMETER.PRM's field) gives the same estimates and, plot numbers apart, the same files.
TEST(SampleRun, PlotNumbersPast16BitsGiveTheSameResults) {
    const char* source = std::getenv("ORRAVANT_SOURCE_DIR");
    const auto sample =
        generator::dataSetFiles(std::filesystem::path(source ? source : ".") / "examples/sample");
    TempDir dir;
    constexpr long kShift = 2000000;
    const auto far = generator::dataSetFiles(dir / "far");
    std::filesystem::create_directories(dir / "far");
    std::filesystem::copy_file(sample.coefficients, far.coefficients);
    std::filesystem::copy_file(sample.dbh, far.dbh);
    for (const auto& [from, to] :
         {std::pair(sample.trees, far.trees), std::pair(sample.lidarDs1, far.lidarDs1),
          std::pair(sample.lidarDs2, far.lidarDs2)})
        writeFile(to, shifted(readFile(from), {0}, kShift));
    writeFile(far.strata, shifted(readFile(sample.strata), {1, 2}, kShift));

    const auto nearData = runSample(dir / "near", sample, 500);
    // A forest a forester would recognise: at PACF 20 every Phase 2 plot holds about 80 to 250
    // sq.ft of basal area and 1,500 to 8,000 cu.ft of volume per acre.
    std::size_t plots = 0;
    std::istringstream phase2(readFile(nearData / "S_Phase2.csv"));
    for (std::string line; std::getline(phase2, line); ++plots) {
        std::istringstream fields(line);
        std::string plot, n, ba, volume;
        std::getline(fields, plot, ',');
        std::getline(fields, n, ',');
        std::getline(fields, ba, ',');
        std::getline(fields, volume, ',');
        EXPECT_TRUE(std::stod(ba) > 75 && std::stod(ba) < 280) << line;
        EXPECT_TRUE(std::stod(volume) > 1200 && std::stod(volume) < 8000) << line;
    }
    EXPECT_EQ(plots, 40u);
    const auto farData = runSample(dir / "far-app", far, 500 + kShift);
    std::size_t compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(nearData)) {
        const std::string name = entry.path().filename().string();
        if (name == "S_Run.csv" || name == "S_Report.html") continue;  // name the input files
        const std::string nearText = readFile(entry.path());
        const std::string farText = readFile(farData / name);
        // The plot files start with the plot number; no other file has a number that large.
        EXPECT_TRUE(shifted(farText, {0}, -kShift, kShift) == nearText) << name;
        ++compared;
    }
    EXPECT_EQ(compared, 16u);
}

}  // namespace
}  // namespace orr::test
