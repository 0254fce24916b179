// orravant-cli generate, in-process: usage errors and the files it writes.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliCommand.h"
#include "tests/support/TestFiles.h"

namespace orr::test {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome generate(std::vector<std::string> args) {
    std::istringstream in;
    std::ostringstream out, err;
    CliContext ctx{std::nullopt, std::move(args), false, in, out, err};
    const int status = generateCommand(ctx);
    return {status, out.str(), err.str()};
}

TEST(GenerateCommand, UsageErrors) {
    TempDir dir;
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "--out is required"},
        {{"--out", dir.path().string(), "--preset", "huge"}, "--preset must be sample"},
        {{"--out", dir.path().string(), "--plots", "0"}, "--plots must be a whole number"},
        {{"--out", dir.path().string(), "--plots", "32768"}, "--plots must be a whole number"},
        {{"--out", dir.path().string(), "--seed", "x"}, "--seed must be a whole number"},
        {{"--out", dir.path().string(), "--verbose"}, "unknown option --verbose"},
    };
    for (const auto& [args, problem] : cases) {
        const Outcome r = generate(args);
        EXPECT_EQ(r.status, kExitUsage);
        EXPECT_NE(r.err.find("error: " + problem), std::string::npos) << r.err;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(GenerateCommand, WritesTheSevenFilesAndSaysWhere) {
    TempDir dir;
    const auto out = dir / "set";
    const Outcome r = generate({"--out", out.string(), "--plots", "50", "--seed", "7"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out, "Data set written to " + out.string() +
                         ": 50 Phase 1 plots, 5 Phase 2 plots, 3 species, 3 strata\n"
                         "  coefficients.csv\n  strata.csv\n  dbh.csv\n  trees.csv\n"
                         "  lidar-ds1.csv\n  lidar-ds2.csv\n  params.txt\n");
    for (auto name : {"coefficients.csv", "strata.csv", "dbh.csv", "trees.csv", "lidar-ds1.csv",
                      "lidar-ds2.csv", "params.txt"}) {
        EXPECT_GT(std::filesystem::file_size(out / name), 0u) << name;
    }
}

TEST(GenerateCommand, HelpPrintsTheUsage) {
    const Outcome r = generate({"--help"});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_EQ(r.out.rfind("usage: orravant-cli generate --out DIR", 0), 0u);
}

}  // namespace
}  // namespace orr::test
