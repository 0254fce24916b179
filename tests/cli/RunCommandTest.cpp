// orravant-cli run, in-process: bad values, exit codes, a whole step-5 run whose files and
// printed log are compared whole, and the product-code prompt of step 6.
#include <algorithm>

#include "model/session/Startup.h"
#include "tests/cli/CliSupport.h"

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
    // The same with the value of `flag` replaced, or the flag added.
    std::vector<std::string> argsWith(const std::string& flag, const std::string& value) const {
        auto a = args();
        const auto it = std::find(a.begin(), a.end(), flag);
        if (it == a.end())
            a.insert(a.end(), {flag, value});
        else
            *(it + 1) = value;
        return a;
    }

    std::string dataFile(const std::string& name) const {
        return readFile(app / "DATA FILES" / name);
    }

    TempDir dir;
    std::filesystem::path app = dir / "app";
    std::filesystem::path in = dir / "in";
};

TEST_F(RunCommandTest, BadValuesAreUsageErrors) {
    const std::vector<std::array<std::string, 3>> cases = {
        {"--dataset", "SEVENCH", "--dataset must be 1 to 6 characters"},
        {"--dataset", "   ", "--dataset must be 1 to 6 characters"},
        {"--dataset", "a/b", "not allowed in a file name"},
        {"--steps", "4", "step '4' is not available (available: 5,"},
        {"--steps", "5,", "step '' is not available"},
        {"--steps", "five", "step 'five' is not available"},
        {"--seed", "-1", "--seed must be a whole number"},
        {"--seed", "12x", "--seed must be a whole number"},
        {"--threads", "many", "--threads must be a whole number"},
        {"--product-code", "maybe", "--product-code must be drop or ask"},
    };
    for (const auto& [flag, value, problem] : cases) {
        const Outcome r = cliIn(app, argsWith(flag, value));
        EXPECT_EQ(r.status, kExitUsage) << problem;
        EXPECT_NE(r.err.find(problem), std::string::npos) << r.err;
    }
}

TEST_F(RunCommandTest, StepFiveRunWritesItsFilesAndPrintsItsLog) {
    const Outcome r = cliIn(app, args());
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.err, "");
    // No random step: no seed line.
    EXPECT_EQ(r.out,
              "Computing plot totals/percentages by species-product....\n"
              "Computing plot totals all species, products combined....\n"
              "Obtaining Summary of Phase 2 ground estimates.... \n"
              "The Following Files are Created in directory " +
                  (app / "DATA FILES").string() +
                  "/\nRUN_PH2TreeV.csv\nRUN_PH2Plot.csv\nRUN_PH2PlotT.csv\nRUN_PH2Sum.csv\n");
    // Tree 1: H = 26, V = 26, BA 0.349056; tree 2 lies below the minimum; tree 3: V = 8,
    // BA 0.785376; tree 4 (plot 3): V = 100 * 20 / 64 = 31.25, BA 0.5454.
    EXPECT_EQ(dataFile("RUN_PH2TreeV.csv"),
              crlf({"1,1,1,8,26,26,0,0", "1,2,2,12,30,8,0,0", "3,1,2,10,20,31.25,0,0"}));
    EXPECT_EQ(dataFile("RUN_PH2Plot.csv"),
              crlf({"1,1,1,10,3.5,260,50,30.77,76.47", "1,2,2,10,7.9,80,50,69.23,23.53",
                    "3,1,2,10,5.5,312.5,100,100,100"}));
    EXPECT_EQ(dataFile("RUN_PH2PlotT.csv"), crlf({"1,20,11.34,340", "3,10,5.45,312.5"}));
    EXPECT_EQ(dataFile("RUN_PH2Sum.csv"),
              crlf({"1,1,5,1.75,130,2", "1,2,5,2.73,156.25,2", "2,2,5,3.93,40,2"}));
}

TEST_F(RunCommandTest, AStepThatStopsExitsWith1AndNamesTheProblem) {
    const Outcome r = cliIn(app, argsWith("--trees", (in / "missing.csv").string()));
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_EQ(r.err.rfind("error: File " + (in / "missing.csv").string(), 0), 0u) << r.err;
    EXPECT_NE(r.err.find("error: step 5 did not complete\n"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(app / "DATA FILES" / "RUN_PH2Plot.csv"));
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
        EXPECT_EQ(
            r.err.find(" SPECIES = 1\n DBH = 40\n ENTER PRODUCT CODE...") != std::string::npos, ask)
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
    const Outcome noCoeff = cliIn(app, {"run", "--dataset", "RUN", "--steps", "5"});
    EXPECT_EQ(noCoeff.status, kExitUsage);
    EXPECT_NE(noCoeff.err.find("--coeff"), std::string::npos) << noCoeff.err;

    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(in);
    const Outcome r = cli({"--app-dir", "../app", "run", "--dataset", "REL", "--coeff", "coeff.csv",
                           "--strata", "strata.csv", "--dbh", "dbh.csv", "--trees", "./trees.csv",
                           "--steps", "5", "--verbose"});
    std::filesystem::current_path(before);
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(dataFile("REL_PH2PlotT.csv"), crlf({"1,20,11.34,340", "3,10,5.45,312.5"}));
    EXPECT_NE(r.out.find("Created in directory " + (app / "DATA FILES").string() + "/\n"),
              std::string::npos)
        << r.out;
    for (auto line : {"Status: Computing Plot Totals..\n",
                      "Status: Plot Totals Computation completed!\n", "progress: 100% ("})
        EXPECT_NE(r.err.find(line), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("Status:"), std::string::npos);
}

}  // namespace
}  // namespace orr::test
