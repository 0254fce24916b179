// orravant-cli run, in-process: usage errors, exit codes, and a whole step-5 run whose files and
// printed log are compared whole.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliCommand.h"
#include "shell/session/Startup.h"
#include "tests/support/TestFiles.h"

namespace orr::test {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// Two plots worked out by hand (PACF 10, species 1 H = 10 + 2 D, V = D^2 H / 64, species 2
// V = 2 + D / 2; the smallest DBH of product 1 is 6 for species 1).
class RunCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(app);
        std::filesystem::create_directories(in);
        ParamRecord p = ParamRecord::defaults();
        p.PACF = 10;
        p.MaxPlots = 10;
        p.MaxProd = 2;
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

    std::vector<std::string> fullArgs() const {
        return {"--dataset", "RUN",
                "--coeff",   (in / "coeff.csv").string(),
                "--strata",  (in / "strata.csv").string(),
                "--dbh",     (in / "dbh.csv").string(),
                "--trees",   (in / "trees.csv").string(),
                "--ds1",     (in / "ds1.csv").string(),
                "--steps",   "5"};
    }

    Outcome run(std::vector<std::string> args, std::string input = "", bool terminal = false) {
        std::istringstream inStream(input);
        std::ostringstream out, err;
        CliContext ctx{app, std::move(args), terminal, inStream, out, err};
        const int status = runCommand(ctx);
        return {status, out.str(), err.str()};
    }

    std::filesystem::path dataFile(const std::string& name) const {
        return app / "DATA FILES" / name;
    }

    TempDir dir;
    std::filesystem::path app = dir / "app";
    std::filesystem::path in = dir / "in";
};

TEST_F(RunCommandTest, HelpPrintsTheUsage) {
    const Outcome r = run({"--help"});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_EQ(r.out.rfind("usage: orravant-cli [--app-dir DIR] run --dataset NAME", 0), 0u)
        << r.out;
    EXPECT_EQ(r.err, "");
}

TEST_F(RunCommandTest, UsageErrorsExitWith2AndTouchNothing) {
    std::filesystem::remove_all(app);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "--dataset is required"},
        {{"--dataset", "ABC"}, "--coeff is required"},
        {{"--bogus"}, "unknown option --bogus"},
        {{"positional"}, "unexpected argument 'positional'"},
        {{"--dataset"}, "--dataset needs a value"},
        {{"--verbose=yes"}, "--verbose takes no value"},
        {{"--dataset", "A", "--dataset", "B"}, "--dataset given more than once"},
    };
    for (const auto& [args, problem] : cases) {
        const Outcome r = run(args);
        EXPECT_EQ(r.status, kExitUsage);
        EXPECT_NE(r.err.find("error: " + problem), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(app)) << "a usage error starts nothing";
}

TEST_F(RunCommandTest, BadValuesAreUsageErrors) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--dataset", "SEVENCH"}, "--dataset must be 1 to 6 characters"},
        {{"--dataset", "   "}, "--dataset must be 1 to 6 characters"},
        {{"--dataset", "a/b"}, "not allowed in a file name"},
        {{"--steps", "4"}, "step '4' is not available (available: 5,"},
        {{"--steps", "5,"}, "step '' is not available"},
        {{"--steps", "five"}, "step 'five' is not available"},
        {{"--seed", "-1"}, "--seed must be a whole number"},
        {{"--seed", "12x"}, "--seed must be a whole number"},
        {{"--threads", "many"}, "--threads must be a whole number"},
        {{"--product-code", "maybe"}, "--product-code must be drop or ask"},
    };
    for (const auto& [override, problem] : cases) {
        auto args = fullArgs();
        // The later of two values would be "given more than once": replace the flag's value.
        auto it = std::find(args.begin(), args.end(), override[0]);
        if (it != args.end()) {
            *(it + 1) = override[1];
        } else {
            args.insert(args.end(), override.begin(), override.end());
        }
        const Outcome r = run(args);
        EXPECT_EQ(r.status, kExitUsage) << problem;
        EXPECT_NE(r.err.find(problem), std::string::npos) << r.err;
    }
}

TEST_F(RunCommandTest, StepFiveRunWritesItsFilesAndPrintsItsLog) {
    const Outcome r = run(fullArgs());
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string dirText = (app / "DATA FILES").string() + "/";
    EXPECT_EQ(r.out,
              "Computing plot totals/percentages by species-product....\n"
              "Computing plot totals all species, products combined....\n"
              "Obtaining Summary of Phase 2 ground estimates.... \n"
              "The Following Files are Created in directory " +
                  dirText +
                  "\n"
                  "RUN_PH2TreeV.csv\nRUN_PH2Plot.csv\nRUN_PH2PlotT.csv\nRUN_PH2Sum.csv\n");
    // Tree 1: H = 26, V = 64 * 26 / 64 = 26, BA 0.349056. Tree 2 lies below the minimum.
    // Tree 3: V = 8, BA 0.785376. Tree 4 (plot 3): V = 100 * 20 / 64 = 31.25, BA 0.5454.
    EXPECT_EQ(readFile(dataFile("RUN_PH2TreeV.csv")),
              crlf({"1,1,1,8,26,26,0,0", "1,2,2,12,30,8,0,0", "3,1,2,10,20,31.25,0,0"}));
    EXPECT_EQ(readFile(dataFile("RUN_PH2Plot.csv")),
              crlf({"1,1,1,10,3.5,260,50,30.77,76.47", "1,2,2,10,7.9,80,50,69.23,23.53",
                    "3,1,2,10,5.5,312.5,100,100,100"}));
    EXPECT_EQ(readFile(dataFile("RUN_PH2PlotT.csv")), crlf({"1,20,11.34,340", "3,10,5.45,312.5"}));
    EXPECT_EQ(readFile(dataFile("RUN_PH2Sum.csv")),
              crlf({"1,1,5,1.75,130,2", "1,2,5,2.73,156.25,2", "2,2,5,3.93,40,2"}));
}

TEST_F(RunCommandTest, RelativePathsAreTakenFromTheCurrentDirectory) {
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(in);
    const Outcome r =
        run({"--dataset", "REL", "--coeff", "coeff.csv", "--strata", "strata.csv", "--dbh",
             "dbh.csv", "--trees", "./trees.csv", "--ds1", "ds1.csv", "--steps", "5"});
    std::filesystem::current_path(before);
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_TRUE(std::filesystem::exists(dataFile("REL_PH2Sum.csv")));
}

TEST_F(RunCommandTest, AStepThatStopsExitsWith1AndNamesTheProblem) {
    auto args = fullArgs();
    *(std::find(args.begin(), args.end(), "--trees") + 1) = (in / "missing.csv").string();
    const Outcome r = run(args);
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_EQ(r.err.rfind("error: File " + (in / "missing.csv").string(), 0), 0u) << r.err;
    EXPECT_NE(r.err.find("error: step 5 did not complete\n"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dataFile("RUN_PH2Plot.csv")));
}

TEST_F(RunCommandTest, VerboseShowsTheStatusCaptionsOnStderr) {
    auto args = fullArgs();
    args.push_back("--verbose");
    const Outcome r = run(args);
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_NE(r.err.find("Status: Computing Plot Totals..\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Status: Plot Totals Computation completed!\n"), std::string::npos);
    EXPECT_NE(r.err.find("progress: 100% (4 of 4)\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("Status:"), std::string::npos);
}

TEST_F(RunCommandTest, NoRandomSeedLineWithoutARandomStep) {
    const Outcome r = run(fullArgs());
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out.find("Random seed"), std::string::npos);
}

}  // namespace
}  // namespace orr::test

namespace orr::test {
namespace {

// One ground tree of product 2 and one LiDAR tree whose DBH (always 40) lies above every product
// of its species: step 6 has to ask for its product code.
class ProductCodePromptRun : public RunCommandTest {
  protected:
    void SetUp() override {
        RunCommandTest::SetUp();
        ParamRecord p = ParamRecord::defaults();
        p.PACF = 10;
        p.MaxSpec = 1;
        p.MaxProd = 2;
        p.MaxItern = 3;
        p.MaxPlots = 10;
        p.LiHgtAdj = 1;  // "No": the ground height is the LiDAR height
        saveParameters(app, p);
        writeFile(in / "coeff.csv",
                  crlf({"40,0,1,0", "10,2,1,0", "0,0,0,0", "0,0,0,0", "1,0,0,0"}));
        writeFile(in / "dbh.csv", crlf({R"(1,1,"5","10")", R"(1,2,"10.1","20")"}));
        writeFile(in / "trees.csv", crlf({"1,1,2,15,50,20,0,0"}));
        writeFile(in / "ds1.csv", crlf({"1,40"}));
    }

    std::vector<std::string> args(const std::string& mode) const {
        auto a = fullArgs();
        *(std::find(a.begin(), a.end(), "--steps") + 1) = "5,6";
        a.insert(a.end(), {"--seed", "3", "--product-code", mode});
        return a;
    }
};

TEST_F(ProductCodePromptRun, DropModeDropsAndLogsHowManyQuestionsItAnswered) {
    const Outcome r = run(args("drop"), "1\n", true);
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_NE(r.out.find("\nProduct-code questions answered by dropping the tree: 1\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.err.find("ENTER PRODUCT CODE"), std::string::npos);
}

TEST_F(ProductCodePromptRun, AskModeEmptyAnswerDropsTheTree) {
    const Outcome r = run(args("ask"), "\n");
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_NE(r.err.find(" SPECIES = 1\n DBH = 40\n ENTER PRODUCT CODE..."), std::string::npos)
        << r.err;
    EXPECT_NE(r.out.find("Product-code questions answered by dropping the tree: 1\n"),
              std::string::npos);
}

TEST_F(ProductCodePromptRun, AskModeAnswerBecomesTheTreesProduct) {
    const Outcome r = run(args("ask"), "1\n");
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out.find("dropping"), std::string::npos);
    // The tree counts in product 1 in each of the three iterations: LN = PACF, LBA =
    // 0.005454 * 40^2 * 10 = 87.264, LVOL = 1 * 10; the ground class is product 2 (BA 0.005454 *
    // 15^2 * 10 = 12.2715).
    EXPECT_EQ(readFile(dataFile("RUN_PH2plotDS1.csv")),
              crlf({" 1 , 1 , 1 , 0 , 0 , 0 , 10 , 87.3 , 10 ",
                    " 1 , 1 , 2 , 10 , 12.3 , 10 , 0 , 0 , 0 "}));
}

TEST_F(ProductCodePromptRun, WithoutASeedTheClockSeedIsLogged) {
    auto a = args("drop");
    a.erase(std::find(a.begin(), a.end(), "--seed"), std::find(a.begin(), a.end(), "--seed") + 2);
    const Outcome r = run(a);
    ASSERT_EQ(r.status, kExitOk) << r.err;
    ASSERT_EQ(r.out.rfind("Random seed: ", 0), 0u) << r.out;
    const std::string seed = r.out.substr(13, r.out.find('\n') - 13);
    EXPECT_FALSE(seed.empty());
    EXPECT_EQ(seed.find_first_not_of("0123456789"), std::string::npos) << seed;
}

}  // namespace
}  // namespace orr::test
