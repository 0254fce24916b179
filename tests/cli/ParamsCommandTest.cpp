// orravant-cli params: printing, and setting with the checks of the parameters dialog.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliCommand.h"
#include "shell/session/Startup.h"
#include "tests/support/TestFiles.h"

namespace orr {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome params(const std::filesystem::path& appDir, std::vector<std::string> args) {
    std::istringstream in;
    std::ostringstream out, err;
    CliContext ctx{.appDir = appDir,
                   .args = std::move(args),
                   .stdinIsTerminal = false,
                   .in = in,
                   .out = out,
                   .err = err};
    const int status = paramsCommand(ctx);
    return {status, out.str(), err.str()};
}

ParamRecord stored(const std::filesystem::path& appDir) {
    return *decodeParamRecord(readFile(paramFilePath(appDir)));
}

TEST(ParamsCommand, AFirstCallStartsUpAndPrintsTheDefaults) {
    TempDir dir;
    const Outcome r = params(dir.path(), {});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "PACF=20\nMaxSpec=2\nMaxProd=3\nMaxItern=100\nMaxPlots=1500\nLiHgtAdj=1\n"
              "ModelSet=0\nPTIP=0\nSTIP=0\n");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "DATA FILES"));
    EXPECT_EQ(readFile(dir / "PARAMETER.PRM"), encodeParamRecord(ParamRecord::defaults()));
}

TEST(ParamsCommand, PrintsTheTipsInTheirShortestText) {
    TempDir dir;
    saveParameters(dir.path(), {1, 1, 1, 1, 1, 0, 1, 4.1f, 0.5f});
    const Outcome r = params(dir.path(), {});
    EXPECT_EQ(r.out,
              "PACF=1\nMaxSpec=1\nMaxProd=1\nMaxItern=1\nMaxPlots=1\nLiHgtAdj=0\n"
              "ModelSet=1\nPTIP=4.1\nSTIP=0.5\n");
}

TEST(ParamsCommand, AnEmptyParameterFileIsDeletedAndPrintsZeros) {
    TempDir dir;
    writeFile(dir / "PARAMETER.PRM", "");
    const Outcome r = params(dir.path(), {});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "PACF=0\nMaxSpec=0\nMaxProd=0\nMaxItern=0\nMaxPlots=0\nLiHgtAdj=0\n"
              "ModelSet=0\nPTIP=0\nSTIP=0\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "PARAMETER.PRM"));
}

TEST(ParamsCommand, SetStoresCountsRoundedHalfToEvenFromTheirLeadingNumber) {
    TempDir dir;
    const Outcome r =
        params(dir.path(), {"set", "MaxSpec=2.6", "MaxProd=2.5", "MaxPlots= 3.5 plots"});
    EXPECT_EQ(r.status, 0) << r.err;
    ParamRecord expected = ParamRecord::defaults();
    expected.MaxSpec = 3;
    expected.MaxProd = 2;
    expected.MaxPlots = 4;
    EXPECT_EQ(stored(dir.path()), expected);
}

void expectRefused(const std::vector<std::string>& args, const std::string& message) {
    TempDir dir;
    params(dir.path(), {});  // start-up writes the defaults
    const Outcome r = params(dir.path(), args);
    EXPECT_EQ(r.status, 1) << args.back();
    EXPECT_EQ(r.err, message + "\n");
    EXPECT_EQ(stored(dir.path()), ParamRecord::defaults()) << "saved despite " << args.back();
}

TEST(ParamsCommand, CountsMustBeGreaterThanZero) {
    expectRefused({"set", "PACF=0"}, "PACF should be greater than 0");
    expectRefused({"set", "MaxSpec=x2"}, "Max number of Species should be greater than 0");
    expectRefused({"set", "MaxSpec=0.4"}, "Max number of Species should be greater than 0");
    expectRefused({"set", "MaxProd=-3"}, "Max number of Products should be greater than 0");
    expectRefused({"set", "MaxItern="}, "Max number of Iterations should be greater than 0");
    expectRefused({"set", "MaxPlots=0.5"}, "Max number of Plots should be greater than 0");
}

TEST(ParamsCommand, CountsMustBeAtMost32767) {
    expectRefused({"set", "MaxPlots=32767.5"}, "Max number of Plots should be at most 32767");
    expectRefused({"set", "PACF=40000"}, "PACF should be at most 32767");
    expectRefused({"set", "MaxItern=1e300"}, "Max number of Iterations should be at most 32767");
    TempDir dir;
    EXPECT_EQ(params(dir.path(), {"set", "MaxPlots=32767.4"}).status, 0);
    EXPECT_EQ(stored(dir.path()).MaxPlots, 32767);
}

TEST(ParamsCommand, TheFirstRefusedCountInDialogOrderIsReported) {
    expectRefused({"set", "MaxPlots=0", "MaxSpec=0"},
                  "Max number of Species should be greater than 0");
}

TEST(ParamsCommand, CountsLeftAtZeroByAnEmptyFileAreRefused) {
    TempDir dir;
    writeFile(dir / "PARAMETER.PRM", "");
    const Outcome r = params(dir.path(), {"set", "MaxSpec=2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "PACF should be greater than 0\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "PARAMETER.PRM"));
}

TEST(ParamsCommand, ListsTakeTheirTextsOrPositions) {
    TempDir dir;
    EXPECT_EQ(params(dir.path(), {"set", "LiHgtAdj=Yes", "ModelSet=ModelSet 2"}).status, 0);
    EXPECT_EQ(stored(dir.path()).LiHgtAdj, 0);
    EXPECT_EQ(stored(dir.path()).ModelSet, 1);
    EXPECT_EQ(params(dir.path(), {"set", "LiHgtAdj=1", "ModelSet=0"}).status, 0);
    EXPECT_EQ(stored(dir.path()).LiHgtAdj, 1);
    EXPECT_EQ(stored(dir.path()).ModelSet, 0);
    expectRefused({"set", "LiHgtAdj=Maybe"}, "LiHgtAdj should be \"Yes\", \"No\", 0 or 1");
    expectRefused({"set", "ModelSet=2"},
                  "ModelSet should be \"ModelSet 1\", \"ModelSet 2\", 0 or 1");
}

TEST(ParamsCommand, TipsAreStoredOnlyWithModelSet2) {
    TempDir dir;
    params(dir.path(), {});
    // ModelSet 1 (position 0): PTIP and STIP keep their values.
    Outcome r = params(dir.path(), {"set", "PTIP=4", "STIP=2"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(stored(dir.path()).PTIP, 0.0f);
    EXPECT_EQ(stored(dir.path()).STIP, 0.0f);
    // Switching to ModelSet 2 in the same call stores them, as single-precision values.
    r = params(dir.path(), {"set", "ModelSet=1", "PTIP=4.1", "STIP=2.5cm"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(stored(dir.path()).PTIP, 4.1f);
    EXPECT_EQ(stored(dir.path()).STIP, 2.5f);
    // Back to ModelSet 1: the stored tips stay.
    r = params(dir.path(), {"set", "ModelSet=0", "PTIP=9"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(stored(dir.path()).ModelSet, 0);
    EXPECT_EQ(stored(dir.path()).PTIP, 4.1f);
}

TEST(ParamsCommand, SavesWithoutTruncatingTheFile) {
    TempDir dir;
    writeFile(dir / "PARAMETER.PRM", encodeParamRecord(ParamRecord::defaults()) + "XY");
    EXPECT_EQ(params(dir.path(), {"set", "PACF=25"}).status, 0);
    ParamRecord expected = ParamRecord::defaults();
    expected.PACF = 25;
    EXPECT_EQ(readFile(dir / "PARAMETER.PRM"), encodeParamRecord(expected) + "XY");
}

TEST(ParamsCommand, UsageErrors) {
    TempDir dir;
    EXPECT_EQ(params(dir.path(), {"set"}).status, 2);
    EXPECT_EQ(params(dir.path(), {"set", "PACF"}).status, 2);
    EXPECT_EQ(params(dir.path(), {"set", "Colour=red"}).status, 2);
    EXPECT_EQ(params(dir.path(), {"show"}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "PARAMETER.PRM"));
}

TEST(ParamsCommand, AStartUpFailureIsReportedWithExitStatus1) {
    TempDir dir;
    writeFile(dir / "DATA FILES", "in the way");
    const Outcome r = params(dir.path(), {});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find((dir / "DATA FILES").string()), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace orr
