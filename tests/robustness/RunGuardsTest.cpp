// What guards a whole run of the command line: one run at a time on a data set, parameters that
// every step can carry, output that reached its destination, and data-set names counted in
// characters.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "model/session/DataSetLock.h"
#include "model/session/Startup.h"
#include "tests/robustness/RobustData.h"

namespace orr::test {
namespace {

namespace fs = std::filesystem;

class RunGuards : public ::testing::Test {
  protected:
    void SetUp() override {
        const CliRun good = data.run();
        ASSERT_EQ(0, good.status) << good.err;
        before = snapshot(data.dataDir());
    }
    RobustData data;
    Snapshot before;
};

TEST_F(RunGuards, ARunOnADataSetInUseStopsAtOnceNamingTheOtherRun) {
    {
        const DataSetLock other = DataSetLock::acquire(data.dataDir(), "ROB", "a test run");
        const CliRun second = data.run();
        EXPECT_EQ(second.status, 1);
        EXPECT_EQ(second.err.rfind("error: The data set ROB is in use by another run (a test run, "
                                   "process " +
                                       std::to_string(::getpid()) + ", started ",
                                   0),
                  0u)
            << second.err;
        EXPECT_EQ(second.out, "");
        Snapshot during = snapshot(data.dataDir());
        EXPECT_EQ(during.erase("ROB.lock"), 1u);  // the other run's lock file, and nothing else
        EXPECT_TRUE(during == before);
    }
    // The lock goes with its run: the next run goes ahead and leaves no lock file behind.
    EXPECT_EQ(data.run().status, 0);
    EXPECT_TRUE(snapshot(data.dataDir()) == before);
}

// A PARAMETER.PRM that no step can carry stops the run before its first step: a PACF of -20
// would make step 5 remove its plot files, a PTIP of infinity would keep the taper search going
// for ever.
TEST_F(RunGuards, ParametersOutOfRangeStopTheRunBeforeAnyStep) {
    struct Case {
        void (*spoil)(ParamRecord&);
        std::string problem;
    };
    const std::vector<Case> cases = {
        {[](ParamRecord& p) { p.PACF = -20; }, "PACF should be greater than 0"},
        {[](ParamRecord& p) { p.ModelSet = 7; },
         "ModelSet should be 0 (\"ModelSet 1\") or 1 (\"ModelSet 2\"), not 7"},
        {[](ParamRecord& p) {
             p.ModelSet = 1;
             p.PTIP = std::numeric_limits<float>::infinity();
         },
         "PTIP should be a top diameter from 0 to 100 inches, not infinity"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.problem);
        ParamRecord p = data.params;
        c.spoil(p);
        saveParameters(data.app(), p);
        const CliRun run = data.run();
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "error: The user parameters in " + paramFilePath(data.app()).string() +
                               " cannot be used: " + c.problem +
                               ". Set them in step 2 (or with 'orravant-cli params set').\n");
        EXPECT_TRUE(snapshot(data.dataDir()) == before);
    }
}

TEST_F(RunGuards, OutputThatCannotBeWrittenIsAFailure) {
    const char* cli = std::getenv("ORRAVANT_CLI");
    ASSERT_NE(cli, nullptr);
    const std::string app = "'" + data.app().string() + "'";
    for (const std::string& words : {std::string("--help"), "--app-dir " + app + " params"}) {
        SCOPED_TRACE(words);
        const int status = std::system(
            ("'" + std::string(cli) + "' " + words + " >/dev/full 2>/dev/null").c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 1);
    }
}

TEST_F(RunGuards, ADataSetNameIsCountedInCharacters) {
    EXPECT_EQ(data.run("\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4").status, 0);  // "äääää"
    EXPECT_TRUE(
        fs::exists(data.dataDir() / "\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4_Regress.txt"));
    EXPECT_EQ(data.run("\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4").status, 2);
}

}  // namespace
}  // namespace orr::test
