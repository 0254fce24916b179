// orravant-cli: global options and command dispatch.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliMain.h"
#include "tests/support/TestFiles.h"

namespace orr {
namespace {

using test::TempDir;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome cli(std::vector<std::string> words) {
    words.insert(words.begin(), "orravant-cli");
    std::vector<const char*> argv;
    for (const std::string& w : words) argv.push_back(w.c_str());
    std::istringstream in;
    std::ostringstream out, err;
    const int status = cliMain(static_cast<int>(argv.size()), argv.data(), in, out, err);
    return {status, out.str(), err.str()};
}

TEST(CliMain, HelpPrintsUsageOnStdout) {
    const Outcome r = cli({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("Usage: orravant-cli [--app-dir DIR] COMMAND", 0), 0u) << r.out;
    EXPECT_EQ(r.err, "");
}

TEST(CliMain, MissingOrUnknownCommandIsAUsageError) {
    for (const auto& words : std::vector<std::vector<std::string>>{
             {}, {"frobnicate"}, {"--app-dir"}, {"--colour", "params"}}) {
        const Outcome r = cli(words);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("Usage: orravant-cli"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

TEST(CliMain, AppDirGoesToTheCommand) {
    TempDir dir;
    const Outcome r = cli({"--app-dir", dir.path().string(), "params", "set", "MaxSpec=4"});
    EXPECT_EQ(r.status, 0) << r.err;
    const Outcome shown = cli({"--app-dir=" + dir.path().string(), "params"});
    EXPECT_EQ(shown.status, 0);
    EXPECT_NE(shown.out.find("MaxSpec=4\n"), std::string::npos) << shown.out;
    EXPECT_TRUE(std::filesystem::is_directory(dir / "DATA FILES"));
}

TEST(CliMain, ARefusedValueExitsWith1) {
    TempDir dir;
    const Outcome r = cli({"--app-dir", dir.path().string(), "params", "set", "PACF=0"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "PACF should be greater than 0\n");
}

}  // namespace
}  // namespace orr
