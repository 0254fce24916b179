// Step 10: the pickers, steps 5 to 9 in a row, and how it ends.
#include "tests/model/workflow/WorkflowFixture.h"

namespace orr::workflow {
namespace {

class AllSteps : public WorkflowTest {
  protected:
    AllSteps() {
        host.onPickTreeFile = [this](Session& s) {
            order.push_back("tree");
            s.TreeInputFileName = "/d/trees.csv";
        };
        host.onPickLidarFiles = [this](Session& s) {
            order.push_back("lidar");
            s.HighLidarFileName = "/d/high.csv";
        };
        for (int i = 0; i < 5; ++i)  // every step logs a line, as the real ones do
            ScriptedSteps::behaviour[i] = [this, i](Session&, StepHost& h) {
                order.push_back("step " + std::to_string(i + 5));
                if (i + 5 == failing) return false;
                h.setStatus("Status: step " + std::to_string(i + 5));
                h.appendLog("step " + std::to_string(i + 5) + " done");
                return true;
            };
        wf.activate();
    }
    std::vector<std::string> order;
    int failing = 0;
};

TEST_F(AllSteps, NoPickerShowsWithEveryFileChosenAndOnlyTheMissingOnesBeforeStepFiveOtherwise) {
    EXPECT_TRUE(wf.runAllSteps(host));
    EXPECT_EQ(order, (std::vector<std::string>{"step 5", "step 6", "step 7", "step 8", "step 9"}));
    EXPECT_EQ(host.log, "All steps completed successfully!\r\n");
    EXPECT_EQ(host.statuses.back(), "Status: All steps completed successfully!");
    EXPECT_TRUE(wf.isEnabled(Button::ViewOutput));
    EXPECT_TRUE(host.messages.empty());

    failing = 5;
    for (auto* missing : {&session.TreeInputFileName, &session.HighLidarFileName}) missing->clear();
    order.clear();
    EXPECT_FALSE(wf.runAllSteps(host));
    session.HighLidarFileName.clear();
    EXPECT_FALSE(wf.runAllSteps(host));
    EXPECT_EQ(order, (std::vector<std::string>{"tree", "lidar", "step 5", "lidar", "step 5"}));
    EXPECT_EQ(session.TreeInputFileName, "/d/trees.csv");
}

TEST_F(AllSteps, AFailingStepStopsTheRunAndIsNotReportedAsSuccess) {
    failing = 6;
    EXPECT_FALSE(wf.runAllSteps(host));
    EXPECT_EQ(ScriptedSteps::calls, (std::vector<int>{5, 6}));
    EXPECT_EQ(host.logLines(),
              (std::vector<std::string>{
                  "step 5 done", "Step 6 did not complete; steps 7 through 9 were not run."}));
    EXPECT_EQ(host.statuses.back(), "Status: Step 6 did not complete!");
    EXPECT_TRUE(wf.isEnabled(Button::Iterate));
    EXPECT_FALSE(wf.isEnabled(Button::ComputePhase1));
    EXPECT_FALSE(wf.running());

    failing = 9;  // the last step names no later ones
    EXPECT_FALSE(wf.runAllSteps(host));
    EXPECT_EQ(host.logLines().back(), "Step 9 did not complete.");
    EXPECT_EQ(host.statuses.back(), "Status: Step 9 did not complete!");
    EXPECT_FALSE(wf.isEnabled(Button::ViewOutput));
    for (const auto& s : host.statuses) EXPECT_EQ(s.find("successfully"), std::string::npos);
}

}  // namespace
}  // namespace orr::workflow
