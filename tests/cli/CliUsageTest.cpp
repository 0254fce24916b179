// orravant-cli's help and usage errors, for the program and each command.
#include "tests/cli/CliSupport.h"

namespace orr::test {
namespace {

TEST(CliUsage, HelpPrintsTheUsageOnStdout) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--help"}, "Usage: orravant-cli [--app-dir DIR] COMMAND"},
        {{"run", "--help"}, "usage: orravant-cli [--app-dir DIR] run --dataset NAME"},
        {{"generate", "--help"}, "usage: orravant-cli generate --out DIR"},
    };
    for (const auto& [words, usage] : cases) {
        const Outcome r = cli(words);
        EXPECT_EQ(r.status, kExitOk);
        EXPECT_EQ(r.out.rfind(usage, 0), 0u) << r.out;
        EXPECT_EQ(r.err, "");
    }
}

TEST(CliUsage, UsageErrorsExitWith2NameTheProblemAndTouchNothing) {
    TempDir dir;
    const std::string app = (dir / "app").string(), gen = (dir / "gen").string();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "Usage: orravant-cli"},
        {{"frobnicate"}, "Usage: orravant-cli"},
        {{"--app-dir"}, "Usage: orravant-cli"},
        {{"--colour", "params"}, "Usage: orravant-cli"},
        {{"--app-dir", app, "run"}, "error: --dataset is required"},
        {{"--app-dir", app, "run", "--dataset", "ABC"}, "error: --coeff is required"},
        {{"--app-dir", app, "run", "--bogus"}, "error: unknown option --bogus"},
        {{"--app-dir", app, "run", "x"}, "error: unexpected argument 'x'"},
        {{"--app-dir", app, "run", "--dataset"}, "error: --dataset needs a value"},
        {{"--app-dir", app, "run", "--verbose=yes"}, "error: --verbose takes no value"},
        {{"--app-dir", app, "run", "--dataset", "A", "--dataset", "B"},
         "error: --dataset given more than once"},
        {{"--app-dir", app, "params", "set"}, ""},
        {{"--app-dir", app, "params", "set", "PACF"}, ""},
        {{"--app-dir", app, "params", "set", "Colour=red"}, ""},
        {{"--app-dir", app, "params", "show"}, ""},
        {{"generate"}, "error: --out is required"},
        {{"generate", "--out", gen, "--preset", "huge"}, "error: --preset must be sample"},
        {{"generate", "--out", gen, "--plots", "0"}, "error: --plots must be a whole number"},
        {{"generate", "--out", gen, "--plots", "10000001"},
         "error: --plots must be a whole number"},
        {{"generate", "--out", gen, "--seed", "x"}, "error: --seed must be a whole number"},
        {{"generate", "--out", gen, "--verbose"}, "error: unknown option --verbose"},
    };
    for (const auto& [words, problem] : cases) {
        const Outcome r = cli(words);
        SCOPED_TRACE(r.err);
        EXPECT_EQ(r.status, kExitUsage);
        EXPECT_FALSE(r.err.empty());
        EXPECT_NE(r.err.find(problem), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "app" / "PARAMETER.PRM"));
    EXPECT_FALSE(std::filesystem::exists(dir / "gen"));
}

}  // namespace
}  // namespace orr::test
