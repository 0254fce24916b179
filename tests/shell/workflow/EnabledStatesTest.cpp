// The enabled-state chain of the main window, activation and Reset.
#include <gtest/gtest.h>

#include "shell/workflow/Workflow.h"
#include "tests/shell/workflow/ScriptedSteps.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::workflow {
namespace {

using test::ScriptedSteps;

std::vector<Button> enabledButtons(const Workflow& wf) {
    std::vector<Button> on;
    for (Button b : allButtons())
        if (wf.isEnabled(b)) on.push_back(b);
    return on;
}

class EnabledStates : public ::testing::Test {
  protected:
    EnabledStates() { session.appDir = dir.path(); }
    void SetUp() override { ScriptedSteps::clear(); }
    void completeSetUp() {
        session.DataSetName = "ABC";
        session.CoeffFileName = "/data/ABC_COEFFIC.csv";
        session.StrataFileName = "/data/ABC_STRATA.csv";
        session.DBHFileName = "/data/ABC_DBH.csv";
        session.TreeInputFileName = "/data/trees.csv";
        session.HighLidarFileName = "/data/high.csv";
    }
    test::TempDir dir;
    Session session;
    test::FakeHost host;
    Workflow wf{session, ScriptedSteps::steps()};
};

const std::vector<Button> kAlwaysOn = {
    Button::DataSetCreate, Button::SetParam, Button::RegCoeff, Button::AssignPlotsDBH,
    Button::Instructions,  Button::Reset,    Button::Exit};

TEST_F(EnabledStates, AtStartOnlySetUpHelpResetAndExitAreEnabled) {
    EXPECT_EQ(enabledButtons(wf), kAlwaysOn);
    for (Label l : allLabels()) {
        EXPECT_FALSE(wf.label(l).visible) << labelName(l);
        EXPECT_EQ(wf.label(l).caption, initialCaption(l)) << labelName(l);
    }
}

TEST_F(EnabledStates, ActivationWithAnyOfTheFourNamesMissingChangesNothing) {
    completeSetUp();
    for (auto* name : {&session.CoeffFileName, &session.StrataFileName, &session.DBHFileName}) {
        const auto kept = *name;
        name->clear();
        wf.activate();
        EXPECT_EQ(enabledButtons(wf), kAlwaysOn);
        *name = kept;
    }
    session.DataSetName.clear();
    wf.activate();
    EXPECT_EQ(enabledButtons(wf), kAlwaysOn);
}

TEST_F(EnabledStates, ActivationAfterTheSetUpEnablesStepsFiveAndTenOnly) {
    completeSetUp();
    session.TreeInputFileName.clear();
    session.HighLidarFileName.clear();
    int changes = 0;
    wf.setChangeHandler([&] { ++changes; });
    wf.activate();
    auto expected = kAlwaysOn;
    expected.insert(expected.begin() + 4, Button::ComputePlots);
    expected.insert(expected.begin() + 5, Button::AllSteps);
    EXPECT_EQ(enabledButtons(wf), expected);
    EXPECT_EQ(changes, 1);
}

TEST_F(EnabledStates, EachCompletedStepEnablesTheNextOne) {
    completeSetUp();
    wf.activate();
    const std::pair<int, Button> chain[] = {{5, Button::Iterate},
                                            {6, Button::ComputePhase1},
                                            {7, Button::CombinePhase2},
                                            {8, Button::ComputeDoubleSample},
                                            {9, Button::ViewOutput}};
    for (auto [step, next] : chain) {
        EXPECT_FALSE(wf.isEnabled(next)) << step;
        EXPECT_TRUE(wf.runStep(step, host)) << step;
        EXPECT_TRUE(wf.isEnabled(next)) << step;
    }
    EXPECT_EQ(ScriptedSteps::calls, (std::vector<int>{5, 6, 7, 8, 9}));
    EXPECT_TRUE(wf.label(Label::lblOutputfiles).visible);
}

TEST_F(EnabledStates, AStepThatDoesNotCompleteEnablesNothing) {
    completeSetUp();
    wf.activate();
    ScriptedSteps::behaviour[0] = [](Session&, StepHost&) { return false; };
    EXPECT_FALSE(wf.runStep(5, host));
    EXPECT_FALSE(wf.isEnabled(Button::Iterate));
    EXPECT_FALSE(wf.label(Label::LblPlotOutfile1).visible);
}

TEST_F(EnabledStates, StepsSixAndSevenLockResetAndExitWhileTheyRun) {
    completeSetUp();
    wf.activate();
    std::vector<std::pair<bool, bool>> seen;
    auto look = [&](Session&, StepHost&) {
        seen.emplace_back(wf.isEnabled(Button::Reset), wf.isEnabled(Button::Exit));
        return true;
    };
    ScriptedSteps::behaviour[0] = look;
    ScriptedSteps::behaviour[1] = look;
    ScriptedSteps::behaviour[2] = [&](Session& s, StepHost& h) {
        look(s, h);
        return false;  // a failing step 7 must still give Reset and Exit back
    };
    for (int step : {5, 6, 7}) wf.runStep(step, host);
    EXPECT_EQ(seen,
              (std::vector<std::pair<bool, bool>>{{true, true}, {false, false}, {false, false}}));
    EXPECT_TRUE(wf.isEnabled(Button::Reset));
    EXPECT_TRUE(wf.isEnabled(Button::Exit));
    EXPECT_FALSE(wf.isEnabled(Button::CombinePhase2));
}

TEST_F(EnabledStates, ResetAfterStepNineDisablesFiveToElevenAndHidesEveryLabel) {
    completeSetUp();
    session.LowLidarFileName = "/data/low.csv";
    session.params.MaxItern = 250;
    wf.showLabel(Label::lbldatasetname, "DataSetName - ABC");
    wf.showLabel(Label::LblCoeffFile, "ABC_COEFFIC.csv");
    wf.showLabel(Label::LblStratDBHfilename, "ABC_STRATA.csv, ABC_DBH.csv");
    wf.activate();
    for (int step = 5; step <= 9; ++step) ASSERT_TRUE(wf.runStep(step, host));
    host.log = "kept\r\n";

    wf.reset();

    EXPECT_EQ(enabledButtons(wf), kAlwaysOn);
    for (Label l : allLabels()) EXPECT_FALSE(wf.label(l).visible) << labelName(l);
    EXPECT_TRUE(session.DataSetName.empty());
    EXPECT_TRUE(session.CoeffFileName.empty());
    EXPECT_TRUE(session.StrataFileName.empty());
    EXPECT_TRUE(session.DBHFileName.empty());
    EXPECT_TRUE(session.TreeInputFileName.empty());
    EXPECT_TRUE(session.HighLidarFileName.empty());
    EXPECT_TRUE(session.LowLidarFileName.empty());
    EXPECT_EQ(session.params.MaxItern, 250);
    EXPECT_EQ(host.log, "kept\r\n");
    // Nothing computable until the set-up is done again.
    wf.activate();
    EXPECT_EQ(enabledButtons(wf), kAlwaysOn);
}

TEST_F(EnabledStates, NoSecondStepStartsWhileOneRuns) {
    completeSetUp();
    wf.activate();
    bool nestedResult = true;
    ScriptedSteps::behaviour[0] = [&](Session&, StepHost& h) {
        EXPECT_TRUE(wf.running());
        nestedResult = wf.runStep(5, h) || wf.runAllSteps(h);
        return true;
    };
    EXPECT_TRUE(wf.runStep(5, host));
    EXPECT_FALSE(nestedResult);
    EXPECT_EQ(ScriptedSteps::calls, std::vector<int>{5});
    EXPECT_FALSE(wf.running());
}

TEST_F(EnabledStates, AStepMissingFromTheBuildIsReportedAndEnablesNothing) {
    Workflow partial{session, ScriptedSteps::steps(6)};
    completeSetUp();
    partial.activate();
    ASSERT_TRUE(partial.runStep(5, host));
    EXPECT_FALSE(partial.runStep(6, host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Step 6 is not available in this build.");
    EXPECT_EQ(host.messages[0].icon, Icon::Critical);
    EXPECT_FALSE(partial.isEnabled(Button::ComputePhase1));
    EXPECT_TRUE(partial.isEnabled(Button::Reset));
}

TEST_F(EnabledStates, AStepThatThrowsIsReportedAsNotCompleted) {
    completeSetUp();
    wf.activate();
    ScriptedSteps::behaviour[1] = [](Session&, StepHost&) -> bool {
        throw std::runtime_error("cannot write /data/ABC_PH2plotDS1.csv");
    };
    EXPECT_FALSE(wf.runStep(6, host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "cannot write /data/ABC_PH2plotDS1.csv");
    EXPECT_TRUE(wf.isEnabled(Button::Reset));
    EXPECT_TRUE(wf.isEnabled(Button::Exit));
    EXPECT_FALSE(wf.running());
}

}  // namespace
}  // namespace orr::workflow
