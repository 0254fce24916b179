// orravant-cli's help and usage errors, for the program and each command; and the params command:
// printing, and setting with the checks of the parameters dialog.
#include <algorithm>
#include <limits>

#include "model/session/Startup.h"
#include "tests/cli/CliSupport.h"

namespace orr::test {
namespace {

// Help is the usage on stdout; a usage error exits with 2 naming the problem on stderr.
TEST(CliUsage, HelpAndUsageErrorsExitWith0And2AndTouchNothing) {
    TempDir dir;
    using Words = std::vector<std::string>;
    const auto in = [&](Words words) {  // --app-dir APP WORDS...
        words.insert(words.begin(), {"--app-dir", (dir / "app").string()});
        return words;
    };
    const auto run8 = [&](Words more) {  // step 8 alone reads no file of the command line
        more.insert(more.begin(), {"run", "--dataset", "A", "--steps", "8"});
        return in(more);
    };
    const auto generate = [&](Words more) {
        more.insert(more.begin(), {"generate", "--out", (dir / "gen").string()});
        return more;
    };
    const std::vector<std::pair<Words, std::string>> cases = {
        {{"--help"}, "Usage: orravant-cli [--app-dir DIR] COMMAND"},
        {{"run", "--help"}, "usage: orravant-cli [--app-dir DIR] run --dataset NAME"},
        {{"generate", "--help"}, "usage: orravant-cli generate --out DIR"},
        {{}, "Usage: orravant-cli"},
        {{"frobnicate"}, "Usage: orravant-cli"},
        {{"--app-dir"}, "Usage: orravant-cli"},
        {{"--colour", "params"}, "Usage: orravant-cli"},
        {in({"run"}), "error: --dataset is required"},
        {in({"run", "--dataset", "ABC"}), "error: --coeff is required"},
        {in({"run", "--bogus"}), "error: unknown option --bogus"},
        {in({"run", "x"}), "error: unexpected argument 'x'"},
        {in({"run", "--dataset"}), "error: --dataset needs a value"},
        {in({"run", "--verbose=yes"}), "error: --verbose takes no value"},
        {in({"run", "--dataset", "A", "--dataset", "B"}), "error: --dataset given more than once"},
        {in({"run", "--dataset", "SEVENCH"}), "error: --dataset must be 1 to 6 characters"},
        {in({"run", "--dataset", "   "}), "error: --dataset must be 1 to 6 characters"},
        {in({"run", "--dataset", "a/b"}), "not allowed in a file name"},
        {in({"run", "--dataset", "A", "--steps", "4"}), "step '4' is not available (available: 5,"},
        {in({"run", "--dataset", "A", "--steps", "5,"}), "step '' is not available"},
        {in({"run", "--dataset", "A", "--steps", "five"}), "step 'five' is not available"},
        {run8({"--seed", "-1"}), "error: --seed must be a whole number"},
        {run8({"--seed", "12x"}), "error: --seed must be a whole number"},
        {run8({"--threads", "many"}), "error: --threads must be a whole number"},
        {run8({"--product-code", "maybe"}), "error: --product-code must be drop or ask"},
        {in({"params", "set"}), ""},
        {in({"params", "set", "PACF"}), ""},
        {in({"params", "set", "Colour=red"}), ""},
        {in({"params", "set", "Max\x1b[2JSpec=3"}),
         "orravant-cli params: unknown parameter \"Max\\x1B[2JSpec\"\n"},
        {in({"params", "show"}), ""},
        {{"generate"}, "error: --out is required"},
        {generate({"--preset", "huge"}), "error: --preset must be sample"},
        {generate({"--plots", "0"}), "error: --plots must be a whole number"},
        {generate({"--plots", "10000001"}), "error: --plots must be a whole number"},
        {generate({"--seed", "x"}), "error: --seed must be a whole number"},
        {generate({"--verbose"}), "error: unknown option --verbose"},
    };
    for (const auto& [words, text] : cases) {
        const Outcome r = cli(words);
        SCOPED_TRACE(r.err);
        if (std::find(words.begin(), words.end(), "--help") != words.end()) {
            EXPECT_EQ(r.status, kExitOk);
            EXPECT_EQ(r.out.rfind(text, 0), 0u) << r.out;
            EXPECT_EQ(r.err, "");
            continue;
        }
        EXPECT_EQ(r.status, kExitUsage);
        EXPECT_FALSE(r.err.empty());
        EXPECT_NE(r.err.find(text), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "app" / "PARAMETER.PRM"));
    EXPECT_FALSE(std::filesystem::exists(dir / "gen"));
}

ParamRecord stored(const TempDir& app) {
    return *decodeParamRecord(readFile(paramFilePath(app.path())));
}

TEST(ParamsCommand, PrintsTheParametersAfterStartUp) {
    TempDir dir;
    Outcome r = cliIn(dir.path(), {"params"});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_EQ(r.out,
              "PACF=20\nMaxSpec=2\nMaxProd=3\nMaxItern=100\nMaxPlots=1500\nLiHgtAdj=no\n"
              "ModelSet=0\nPTIP=0\nSTIP=0\nLidarClasses=draws\nGroundPlotCost=10\nLidarPlotCost="
              "1\nTargetError=10\n");
    ParamRecord p{1, 1, 1, 1, 1, 0, 1, 4.1f, 0.5f};
    p.GroundPlotCost = 0.1;
    p.LidarPlotCost = 1e-6;
    p.TargetError = 12.5;
    saveParameters(dir.path(), p);
    EXPECT_EQ(cli({"--app-dir=" + dir.path().string(), "params"}).out,
              "PACF=1\nMaxSpec=1\nMaxProd=1\nMaxItern=1\nMaxPlots=1\nLiHgtAdj=yes\n"
              "ModelSet=1\nPTIP=4.1\nSTIP=0.5\nLidarClasses=draws\nGroundPlotCost=0."
              "1\nLidarPlotCost=0.000001\n"
              "TargetError=12.5\n");
}

// The plot costs and the target error: set by name in any case, kept in PARAMETER.PRM after the
// record only while one differs from its default, and printed in their shortest form.
TEST(ParamsCommand, PlanSettingsRoundTripAndTheDefaultsLeaveTheRecordAlone) {
    TempDir dir;
    const std::filesystem::path file = paramFilePath(dir.path());
    Outcome r = cliIn(dir.path(), {"params", "set", "groundplotcost=25.5", "LidarPlotCost= 0.75 ",
                                   "TARGETERROR=7.25"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    ParamRecord p = stored(dir);
    EXPECT_EQ(std::tuple(p.GroundPlotCost, p.LidarPlotCost, p.TargetError),
              std::tuple(25.5, 0.75, 7.25));
    EXPECT_GT(readFile(file).size(), kParamRecordSize);
    r = cliIn(dir.path(), {"params"});
    EXPECT_NE(r.out.find("\nGroundPlotCost=25.5\nLidarPlotCost=0.75\nTargetError=7.25\n"),
              std::string::npos)
        << r.out;
    // Only what is given changes; the largest target and a cost in exponent form are taken.
    ASSERT_EQ(cliIn(dir.path(), {"params", "set", "TargetError=100", "GroundPlotCost=1e3"}).status,
              kExitOk);
    p = stored(dir);
    EXPECT_EQ(std::tuple(p.GroundPlotCost, p.LidarPlotCost, p.TargetError),
              std::tuple(1000.0, 0.75, 100.0));
    ASSERT_EQ(cliIn(dir.path(),
                    {"params", "set", "GroundPlotCost=10", "LidarPlotCost=1", "TargetError=10"})
                  .status,
              kExitOk);
    EXPECT_EQ(readFile(file), encodeParamRecord(ParamRecord::defaults()));
}

// Out-of-range plot costs or target error stored in PARAMETER.PRM (by an older or foreign
// program) stop a run before any step, naming the setting.
TEST(ParamsCommand, ARunStartsOnlyWithPlanSettingsInRange) {
    for (const auto& [field, value, message] :
         {std::tuple{&ParamRecord::GroundPlotCost, -1.0,
                     "Ground plot cost (GroundPlotCost) should be greater than 0"},
          std::tuple{&ParamRecord::LidarPlotCost, 0.0,
                     "LiDAR plot cost (LidarPlotCost) should be greater than 0"},
          std::tuple{&ParamRecord::TargetError, 150.0,
                     "Target error (TargetError) should be at most 100"},
          std::tuple{&ParamRecord::TargetError, 1e-4,
                     "Target error (TargetError) should be at least 0.001"}}) {
        SCOPED_TRACE(message);
        TempDir dir;
        ParamRecord p = ParamRecord::defaults();
        p.*field = value;
        saveParameters(dir.path(), p);
        const Outcome r = cliIn(dir.path(), {"run", "--dataset", "A", "--steps", "8"});
        EXPECT_EQ(r.status, kExitFailed);
        EXPECT_NE(r.err.find("error: The user parameters in " + (dir / "PARAMETER.PRM").string() +
                             " cannot be used: " + message + "."),
                  std::string::npos)
            << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir / "DATA FILES" / "A_Phase2.csv"));
    }
}

TEST(ParamsCommand, RefusedValuesExitWith1AndSaveNothing) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"PACF=0"}, "PACF should be greater than 0"},
        {{"MaxSpec=x2"}, "Max number of Species should be greater than 0"},
        {{"MaxProd=-3"}, "Max number of Products should be greater than 0"},
        {{"MaxItern="}, "Max number of Iterations should be greater than 0"},
        {{"MaxPlots=2000000001"}, "Max number of Plots should be at most 2000000000"},
        // A count that is not a whole number is refused, not rounded.
        {{"PACF=2.5"}, "PACF should be a whole number, not \"2.5\""},
        {{"MaxPlots= 3.5 plots"},
         "Max number of Plots should be a whole number, not \"3.5 plots\""},
        {{"MaxSpec=20abc"}, "Max number of Species should be a whole number, not \"20abc\""},
        {{"MaxItern=0.4"}, "Max number of Iterations should be a whole number, not \"0.4\""},
        {{"MaxItern=1e300"}, "Max number of Iterations should be at most 32767"},
        {{"LiHgtAdj=Maybe"}, "LiHgtAdj should be yes or no (or 0 for yes, 1 for no)"},
        {{"LiHgtAdj=2"}, "LiHgtAdj should be yes or no (or 0 for yes, 1 for no)"},
        {{"ModelSet=2"}, "ModelSet should be \"ModelSet 1\", \"ModelSet 2\", 0 or 1"},
        // Values every step must be able to carry: a top diameter that would keep the taper
        // search going for hours, tables too large for any run.
        {{"ModelSet=1", "PTIP=1e30"}, "PTIP should be a top diameter from 0 to 100 inches"},
        {{"MaxSpec=1000"}, "Max number of Species should be at most 999"},
        {{"LidarClasses=mean"}, "LidarClasses should be \"draws\", \"expected\", 0 or 1"},
        {{"LidarClasses=2"}, "LidarClasses should be \"draws\", \"expected\", 0 or 1"},
        // The plan of the next inventory: costs above 0, a target error above 0 and at most 100.
        {{"GroundPlotCost=0"}, "Ground plot cost (GroundPlotCost) should be greater than 0"},
        {{"LidarPlotCost=-2"}, "LiDAR plot cost (LidarPlotCost) should be greater than 0"},
        {{"GroundPlotCost=12 dollars"},
         "Ground plot cost (GroundPlotCost) should be a number, not \"12 dollars\""},
        {{"LidarPlotCost=inf"}, "LiDAR plot cost (LidarPlotCost) should be a number, not \"inf\""},
        {{"LidarPlotCost=1e13"}, "LiDAR plot cost (LidarPlotCost) should be at most 1000000000000"},
        {{"TargetError=0"}, "Target error (TargetError) should be greater than 0"},
        {{"TargetError=-5"}, "Target error (TargetError) should be greater than 0"},
        {{"TargetError=100.5"}, "Target error (TargetError) should be at most 100"},
        {{"TargetError="}, "Target error (TargetError) should be a number, not \"\""},
    };
    for (const auto& [values, message] : cases) {
        SCOPED_TRACE(values.front());
        TempDir dir;
        std::vector<std::string> words = {"params", "set"};
        words.insert(words.end(), values.begin(), values.end());
        const Outcome r = cliIn(dir.path(), words);
        EXPECT_EQ(r.status, kExitFailed);
        EXPECT_EQ(r.err, message + "\n");
        EXPECT_EQ(stored(dir), ParamRecord::defaults());
    }
}

// A count takes a whole number, blanks around it allowed; a list takes its text in any case or
// its position; the top diameters are stored only with ModelSet 2.
TEST(ParamsCommand, SetTakesLeadingNumbersListTextsOrPositionsAndTipsOnlyWithModelSet2) {
    TempDir dir;
    const auto set = [&](std::vector<std::string> values) {
        values.insert(values.begin(), {"params", "set"});
        const Outcome r = cliIn(dir.path(), values);
        EXPECT_EQ(r.status, kExitOk) << r.err;
        const ParamRecord p = stored(dir);
        return std::tuple(p.LiHgtAdj, p.ModelSet, p.PTIP, p.STIP);
    };
    set({"MaxSpec= 3", "MaxProd=2 ", "MaxPlots=4", "MaxItern=32767", "PACF=+20"});
    const ParamRecord p = stored(dir);
    EXPECT_EQ(std::tuple(p.MaxSpec, p.MaxProd, p.MaxPlots, p.MaxItern, p.PACF),
              std::tuple(3, 2, 4, 32767, 20));
    EXPECT_EQ(set({"LiHgtAdj=Yes", "PTIP=4", "STIP=2"}), std::tuple(0, 0, 0.0f, 0.0f));
    EXPECT_EQ(set({"LiHgtAdj=NO"}), std::tuple(1, 0, 0.0f, 0.0f));
    EXPECT_EQ(set({"lihgtadj=yes"}), std::tuple(0, 0, 0.0f, 0.0f));
    EXPECT_EQ(set({"LiHgtAdj=1", "ModelSet=ModelSet 2", "PTIP=4.1", "STIP=2.5cm"}),
              std::tuple(1, 1, 4.1f, 2.5f));
    EXPECT_EQ(set({"ModelSet=0", "PTIP=9"}), std::tuple(1, 0, 4.1f, 2.5f));
}

// The choice of steps 6 and 7 by its word (any case) or position: stored after the record only
// when it is "expected", so that a file of the defaults stays 22 bytes, and printed back as set.
TEST(ParamsCommand, LidarClassesRoundTripsAndLeavesADefaultFileAt22Bytes) {
    TempDir dir;
    using Stored = std::pair<std::int16_t, std::uintmax_t>;  // the choice, the file's size
    const auto set = [&](const std::string& value) {
        const Outcome r = cliIn(dir.path(), {"params", "set", "LidarClasses=" + value});
        EXPECT_EQ(r.status, kExitOk) << r.err;
        return Stored(stored(dir).LidarClasses,
                      std::filesystem::file_size(paramFilePath(dir.path())));
    };
    const auto printedChoice = [&] {
        const std::string out = cliIn(dir.path(), {"params"}).out;
        const std::size_t at = out.find("LidarClasses=");
        return out.substr(at, out.find('\n', at) + 1 - at);
    };
    EXPECT_EQ(set("EXPECTED").first, 1);
    EXPECT_GT(set("expected").second, 22u);
    EXPECT_EQ(printedChoice(), "LidarClasses=expected\n");
    EXPECT_EQ(set("Draws"), Stored(0, 22));
    EXPECT_EQ(printedChoice(), "LidarClasses=draws\n");
    EXPECT_EQ(set(" 1 ").first, 1);
    EXPECT_EQ(set("0"), Stored(0, 22));
    // Setting another parameter keeps the choice.
    set("expected");
    EXPECT_EQ(cliIn(dir.path(), {"params", "set", "MaxItern=7"}).status, kExitOk);
    EXPECT_EQ(stored(dir).LidarClasses, 1);
    EXPECT_EQ(stored(dir).MaxItern, 7);
}

// A parameter file holding a value out of range is printed as it is, with a note, and a value
// not given in `set` must then be set too before anything is saved.
TEST(ParamsCommand, AStoredValueOutOfRangeIsShownAndMustBeSet) {
    TempDir dir;
    ParamRecord bad = ParamRecord::defaults();
    bad.ModelSet = 1;
    bad.PTIP = std::numeric_limits<float>::infinity();
    saveParameters(dir.path(), bad);
    Outcome r = cliIn(dir.path(), {"params"});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_NE(r.out.find("PTIP=infinity\n"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("note: The user parameters in " + (dir / "PARAMETER.PRM").string() +
                         " cannot be used: PTIP should be a top diameter from 0 to 100 inches, "
                         "not infinity."),
              std::string::npos)
        << r.err;
    r = cliIn(dir.path(), {"params", "set", "MaxItern=50"});
    EXPECT_EQ(std::pair(r.status, r.err),
              std::pair(kExitFailed,
                        std::string("PTIP should be a top diameter from 0 to 100 inches, not "
                                    "infinity\n")));
    EXPECT_EQ(cliIn(dir.path(), {"params", "set", "MaxItern=50", "PTIP=4"}).status, kExitOk);
    EXPECT_EQ(stored(dir).PTIP, 4.0f);
}

TEST(ParamsCommand, AStartUpFailureExitsWith1NamingThePath) {
    TempDir dir;
    writeFile(dir / "DATA FILES", "in the way");
    const Outcome r = cliIn(dir.path(), {"params"});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_NE(r.err.find((dir / "DATA FILES").string()), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace orr::test
