// Step 10: the pickers, steps 5 to 9 in a row, and how it ends.
#include <gtest/gtest.h>

#include "shell/workflow/Workflow.h"
#include "tests/shell/workflow/ScriptedSteps.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::workflow {
namespace {

using test::ScriptedSteps;

class AllSteps : public ::testing::Test {
  protected:
    AllSteps() {
        session.appDir = dir.path();
        session.DataSetName = "ABC";
        session.CoeffFileName = "/d/ABC_COEFFIC.csv";
        session.StrataFileName = "/d/ABC_STRATA.csv";
        session.DBHFileName = "/d/ABC_DBH.csv";
        ScriptedSteps::clear();
        host.onPickTreeFile = [this](Session& s) {
            ++treePickers;
            s.TreeInputFileName = "/d/trees.csv";
        };
        host.onPickLidarFiles = [this](Session& s) {
            ++lidarPickers;
            s.HighLidarFileName = "/d/high.csv";
        };
        wf.activate();
    }
    // Every step writes a line of its own, as the real ones do.
    void stepsLog() {
        for (int i = 0; i < 5; ++i)
            ScriptedSteps::behaviour[i] = [i](Session&, StepHost& h) {
                h.setStatus("Status: step " + std::to_string(i + 5));
                h.appendLog("step " + std::to_string(i + 5) + " done");
                return true;
            };
    }

    test::TempDir dir;
    Session session;
    test::FakeHost host;
    Workflow wf{session, ScriptedSteps::steps()};
    int treePickers = 0, lidarPickers = 0;
};

TEST_F(AllSteps, WithEveryFileChosenNoPickerShowsAndTheLogEndsWithTheCompletionLineAlone) {
    session.TreeInputFileName = "/d/trees.csv";
    session.HighLidarFileName = "/d/high.csv";
    stepsLog();
    EXPECT_TRUE(wf.runAllSteps(host));
    EXPECT_EQ(treePickers, 0);
    EXPECT_EQ(lidarPickers, 0);
    EXPECT_EQ(ScriptedSteps::calls, (std::vector<int>{5, 6, 7, 8, 9}));
    EXPECT_EQ(host.log, "All steps completed successfully!\r\n");
    ASSERT_FALSE(host.statuses.empty());
    EXPECT_EQ(host.statuses.back(), "Status: All steps completed successfully!");
    EXPECT_TRUE(wf.isEnabled(Button::ViewOutput));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(AllSteps, MissingFilesAreAskedForFirstAndOnlyOnce) {
    std::vector<std::string> order;
    host.onPickTreeFile = [&](Session& s) {
        order.push_back("tree");
        s.TreeInputFileName = "/d/trees.csv";
    };
    host.onPickLidarFiles = [&](Session& s) {
        order.push_back("lidar");
        s.HighLidarFileName = "/d/high.csv";
    };
    ScriptedSteps::behaviour[0] = [&](Session& s, StepHost&) {
        order.push_back("step 5 with " + s.TreeInputFileName.string());
        return true;
    };
    EXPECT_TRUE(wf.runAllSteps(host));
    EXPECT_EQ(order, (std::vector<std::string>{"tree", "lidar", "step 5 with /d/trees.csv"}));
}

TEST_F(AllSteps, OnlyTheMissingPickerIsShown) {
    session.TreeInputFileName = "/d/trees.csv";
    EXPECT_TRUE(wf.runAllSteps(host));
    EXPECT_EQ(treePickers, 0);
    EXPECT_EQ(lidarPickers, 1);
}

TEST_F(AllSteps, AFailingStepStopsTheRunAndIsNotReportedAsSuccess) {
    session.TreeInputFileName = "/d/trees.csv";
    session.HighLidarFileName = "/d/high.csv";
    stepsLog();
    ScriptedSteps::behaviour[1] = [](Session& s, StepHost& h) {
        h.message("Error: No min/max dbhes on file for dataset " + s.DataSetName, Icon::Critical);
        return false;
    };
    EXPECT_FALSE(wf.runAllSteps(host));
    EXPECT_EQ(ScriptedSteps::calls, (std::vector<int>{5, 6}));
    EXPECT_EQ(host.logLines(),
              (std::vector<std::string>{
                  "step 5 done", "Step 6 did not complete; steps 7 through 9 were not run."}));
    EXPECT_EQ(host.statuses.back(), "Status: Step 6 did not complete!");
    for (const auto& s : host.statuses) EXPECT_EQ(s.find("successfully"), std::string::npos);
    EXPECT_TRUE(wf.isEnabled(Button::Iterate));
    EXPECT_FALSE(wf.isEnabled(Button::ComputePhase1));
    EXPECT_TRUE(wf.isEnabled(Button::Reset));
    EXPECT_FALSE(wf.running());
}

TEST_F(AllSteps, AFailingLastStepSaysSoWithoutNamingLaterSteps) {
    ScriptedSteps::behaviour[4] = [](Session&, StepHost&) { return false; };
    EXPECT_FALSE(wf.runAllSteps(host));
    EXPECT_EQ(host.logLines().back(), "Step 9 did not complete.");
    EXPECT_EQ(host.statuses.back(), "Status: Step 9 did not complete!");
    EXPECT_FALSE(wf.isEnabled(Button::ViewOutput));
}

TEST_F(AllSteps, ACancelledLidarPickerLetsTheStepDecideAndStopsTheRunWhenItEnds) {
    host.onPickLidarFiles = [this](Session&) { ++lidarPickers; };  // cancelled
    ScriptedSteps::behaviour[1] = [](Session& s, StepHost& h) {
        h.pickLidarFiles(s);  // the step asks again and ends when still nothing is chosen
        return !s.HighLidarFileName.empty();
    };
    EXPECT_FALSE(wf.runAllSteps(host));
    EXPECT_EQ(lidarPickers, 2);
    EXPECT_EQ(ScriptedSteps::calls, (std::vector<int>{5, 6}));
}

}  // namespace
}  // namespace orr::workflow
