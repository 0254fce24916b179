// What guards a whole run of the command line: one run at a time on a data set, parameters that
// every step can carry, output that reached its destination, and data-set names counted in
// characters; and a step cancelled in the middle leaves the files of the run before it whole and
// no temporary file behind.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "model/session/DataSetLock.h"
#include "model/session/Startup.h"
#include "model/workflow/StepTable.h"
#include "tests/robustness/RobustData.h"
#include "tests/support/FakeHost.h"

namespace orr::test {
namespace {

namespace fs = std::filesystem;

class RunGuards : public ::testing::Test {
  protected:
    RobustData data;
    const Snapshot before = data.goodRun();
};

TEST_F(RunGuards, ARunOnADataSetInUseStopsAtOnceNamingTheOtherRun) {
    {
        const DataSetLock other = DataSetLock::acquire(data.dataDir(), "ROB", "a test run");
        const Outcome second = data.run();
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
    // The lock goes with its run: the next run goes ahead and leaves no lock file behind (the
    // same files but for the minute of the run, in a minute of its own perhaps).
    EXPECT_EQ(data.run().status, 0);
    const Snapshot after = withoutRunTime(snapshot(data.dataDir()));
    EXPECT_TRUE(after == withoutRunTime(before));
    EXPECT_NE(after.at("ROB_Report.html").find(R"(<dd class="run-time">RUN TIME</dd>)"),
              std::string::npos);
    EXPECT_NE(after.at("ROB_Run.csv").find(R"("ROB_Report.html","SIZE","SHA-256")"),
              std::string::npos);
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
        const Outcome run = data.run();
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

class CancelledStep : public ::testing::TestWithParam<int> {};

TEST_P(CancelledStep, EarlierFilesStayWholeAndNoTemporaryFileIsLeft) {
    // Enough plots that every step reports progress more than once before it ends.
    RobustData data(600);
    const Snapshot before = data.goodRun();
    const workflow::StepEntry* step = workflow::findStep(workflow::stepTable(), GetParam());

    // Cancelled before the first, then before the second report of progress.
    for (std::size_t stopAt : {1u, 2u}) {
        SCOPED_TRACE("cancelled at progress report " + std::to_string(stopAt));
        FakeHost host;
        std::size_t reports = 0;
        host.onProgress = [&](std::size_t done, std::size_t total) {
            ++reports;
            EXPECT_LE(done, total);
        };
        host.onCancelled = [&] { return reports >= stopAt; };
        const StepResult result = runStep(GetParam(), step->run, data.session(), host);
        EXPECT_EQ(result.end, StepResult::End::Cancelled);
        EXPECT_TRUE(host.messages.empty());
        EXPECT_TRUE(snapshot(data.dataDir()) == before) << "a data file changed or was left";
    }
}

INSTANTIATE_TEST_SUITE_P(Steps5To7, CancelledStep, ::testing::Values(5, 6, 7),
                         [](const auto& info) { return "Step" + std::to_string(info.param); });

}  // namespace
}  // namespace orr::test
