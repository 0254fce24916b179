// Step 10: steps 5 to 9 in a row, and how it ends.
#include "tests/model/workflow/WorkflowFixture.h"

namespace orr::workflow {
namespace {

class AllSteps : public WorkflowTest {
  protected:
    AllSteps() {
        for (int i = 0; i < 5; ++i)  // every step logs a line, as the real ones do
            ScriptedSteps::behaviour[i] = [this, i](const StepInputs&, StepHost& h) {
                if (i + 5 == failing) return stopped();
                if (i + 5 == cancelled) return StepResult::cancelled();
                h.log("step " + std::to_string(i + 5) + " done");
                return StepResult{};
            };
        wf.activate();
    }
    int failing = 0;
    int cancelled = 0;
};

TEST_F(AllSteps, EveryStepInOrderEndsWithTheCompletionLineAndTheClockSeeds) {
    // Steps 6 and 7 replace the log when they end; the seed they drew from stays in it.
    for (int i : {1, 2})
        ScriptedSteps::behaviour[i] = [](const StepInputs& in, StepHost&) {
            StepResult r;
            r.closingLog = {"done with " + std::to_string(in.seed)};
            r.closingReplacesLog = true;
            return r;
        };
    ASSERT_TRUE(wf.runStep(7, host));
    const auto afterSeven = host.logLines();
    ASSERT_EQ(afterSeven.size(), 2u);
    const std::string seed7 = afterSeven[0].substr(std::string("done with ").size());
    EXPECT_EQ(afterSeven[1], "Random seed: " + seed7);

    ScriptedSteps::calls.clear();
    EXPECT_TRUE(wf.runAllSteps(host));
    EXPECT_EQ(ScriptedSteps::calls, (std::vector<int>{5, 6, 7, 8, 9}));
    const auto lines = host.logLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "All steps completed successfully!");
    EXPECT_EQ(lines[1].rfind("Random seed of step 6: ", 0), 0u);
    EXPECT_EQ(lines[2].rfind("Random seed of step 7: ", 0), 0u);
    EXPECT_EQ(host.statuses.back(), "Status: All steps completed successfully!");
    EXPECT_TRUE(wf.isEnabled(Button::ViewOutput));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(wf.running());
}

TEST_F(AllSteps, AFailingOrCancelledStepStopsTheRunAndIsNotReportedAsSuccess) {
    failing = 6;
    EXPECT_FALSE(wf.runAllSteps(host));
    EXPECT_EQ(ScriptedSteps::calls, (std::vector<int>{5, 6}));
    EXPECT_EQ(host.logLines().back(), "Step 6 did not complete; steps 7 through 9 were not run.");
    EXPECT_EQ(host.statuses.back(), "Status: Step 6 did not complete!");
    EXPECT_TRUE(wf.isEnabled(Button::Iterate));
    EXPECT_FALSE(wf.isEnabled(Button::ComputePhase1));
    EXPECT_FALSE(wf.running());

    failing = 9;  // the last step names no later ones
    EXPECT_FALSE(wf.runAllSteps(host));
    EXPECT_EQ(host.logLines().back(), "Step 9 did not complete.");
    EXPECT_EQ(host.statuses.back(), "Status: Step 9 did not complete!");
    EXPECT_FALSE(wf.isEnabled(Button::ViewOutput));

    failing = 0;
    cancelled = 7;
    EXPECT_FALSE(wf.runAllSteps(host));
    EXPECT_EQ(host.logLines().back(), "Step 7 was cancelled; steps 8 through 9 were not run.");
    EXPECT_EQ(host.statuses.back(), "Status: Step 7 was cancelled!");
    for (const auto& s : host.statuses) EXPECT_EQ(s.find("successfully"), std::string::npos);
}

}  // namespace
}  // namespace orr::workflow
