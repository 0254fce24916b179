// The enabled-state chain of the main window, activation, Reset, the one-step-at-a-time rule and
// the data set's lock.
#include "tests/model/workflow/WorkflowFixture.h"

namespace orr::workflow {
namespace {

const std::vector<Button> kAlwaysOn = {
    Button::DataSetCreate, Button::SetParam, Button::RegCoeff, Button::AssignPlotsDBH,
    Button::Instructions,  Button::Reset,    Button::Exit};

class EnabledStates : public WorkflowTest {
  protected:
    std::vector<Button> enabled() const {
        std::vector<Button> on;
        for (Button b : allButtons())
            if (wf.isEnabled(b)) on.push_back(b);
        return on;
    }
};

TEST_F(EnabledStates, StepsFiveAndTenAreEnabledOnlyOnceTheSetUpIsCompleteAndSeen) {
    EXPECT_EQ(enabled(), kAlwaysOn);
    for (Label l : allLabels()) EXPECT_FALSE(wf.label(l).visible) << labelName(l);
    const Session full = session;
    for (auto drop :
         {+[](Session& s) { s.dataSetName.clear(); },
          +[](Session& s) { s.coefficientFile.clear(); }, +[](Session& s) { s.strataFile.clear(); },
          +[](Session& s) { s.dbhFile.clear(); }}) {
        session = full;
        drop(session);
        wf.activate();
        EXPECT_EQ(enabled(), kAlwaysOn);
    }
    session = full;
    int changes = 0;
    wf.setChangeHandler([&] { ++changes; });
    wf.activate();
    auto expected = kAlwaysOn;
    expected.insert(expected.begin() + 4, {Button::ComputePlots, Button::AllSteps});
    EXPECT_EQ(enabled(), expected);
    EXPECT_EQ(changes, 1);
}

TEST_F(EnabledStates, EachCompletedStepEnablesTheNextAndAFailedOneNothing) {
    wf.activate();
    ScriptedSteps::behaviour[0] = [](const StepInputs&, StepHost&) { return stopped(); };
    EXPECT_FALSE(wf.runStep(5, host));
    EXPECT_FALSE(wf.isEnabled(Button::Iterate));
    EXPECT_FALSE(wf.label(Label::PlotClassesFile).visible);
    ScriptedSteps::behaviour[0] = nullptr;
    const Button next[] = {Button::Iterate, Button::ComputePhase1, Button::CombinePhase2,
                           Button::ComputeDoubleSample, Button::ViewOutput};
    for (int step = 5; step <= 9; ++step) {
        EXPECT_FALSE(wf.isEnabled(next[step - 5])) << step;
        EXPECT_TRUE(wf.runStep(step, host)) << step;
        EXPECT_TRUE(wf.isEnabled(next[step - 5])) << step;
    }
}

TEST_F(EnabledStates, ResetAfterStepNineDisablesFiveToElevenHidesLabelsAndKeepsLogAndParameters) {
    session.lidarLowFile = "/lidar/low.csv";
    session.params.MaxItern = 250;
    wf.showLabel(Label::DataSetName, "DataSetName - ABC");
    wf.activate();
    for (int step = 5; step <= 9; ++step) ASSERT_TRUE(wf.runStep(step, host));
    host.logText = "kept\r\n";
    wf.reset();
    EXPECT_EQ(enabled(), kAlwaysOn);
    for (Label l : allLabels()) EXPECT_FALSE(wf.label(l).visible) << labelName(l);
    for (const auto* name : {&session.coefficientFile, &session.strataFile, &session.dbhFile,
                             &session.treeFile, &session.lidarHighFile, &session.lidarLowFile})
        EXPECT_TRUE(name->empty()) << *name;
    EXPECT_TRUE(session.dataSetName.empty());
    EXPECT_EQ(session.params.MaxItern, 250);
    EXPECT_EQ(host.logText, "kept\r\n");
    wf.activate();
    EXPECT_EQ(enabled(), kAlwaysOn);
}

TEST_F(EnabledStates, StepsSixAndSevenLockResetAndExitAndNoSecondStepStartsWhileOneRuns) {
    wf.activate();
    std::vector<std::pair<bool, bool>> seen;
    bool nested = true;
    ScriptedSteps::behaviour[0] = [&](const StepInputs&, StepHost&) {
        nested = wf.running() && (wf.runStep(5, host) || wf.runAllSteps(host));
        return StepResult{};
    };
    for (int i = 1; i < 3; ++i)
        ScriptedSteps::behaviour[i] = [&](const StepInputs&, StepHost&) {
            seen.emplace_back(wf.isEnabled(Button::Reset), wf.isEnabled(Button::Exit));
            // step 7 fails and must still give them back
            return seen.size() < 2 ? StepResult{} : stopped();
        };
    for (int step : {5, 6, 7}) wf.runStep(step, host);
    EXPECT_FALSE(nested);
    EXPECT_EQ(ScriptedSteps::calls, (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(seen, (std::vector<std::pair<bool, bool>>{{false, false}, {false, false}}));
    EXPECT_TRUE(wf.isEnabled(Button::Reset) && wf.isEnabled(Button::Exit));
    EXPECT_FALSE(wf.running());
}

TEST_F(EnabledStates, AThrowingStepIsReportedAndEnablesNothing) {
    ScriptedSteps::behaviour[1] = [](const StepInputs&, StepHost&) -> StepResult {
        throw std::runtime_error("cannot write ABC_PH2plotDS1.csv");
    };
    wf.activate();
    ASSERT_TRUE(wf.runStep(5, host));
    EXPECT_FALSE(wf.runStep(6, host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "cannot write ABC_PH2plotDS1.csv");
    EXPECT_EQ(host.messages[0].icon, Icon::Critical);
    EXPECT_FALSE(wf.isEnabled(Button::ComputePhase1));
    EXPECT_TRUE(wf.isEnabled(Button::Reset) && wf.isEnabled(Button::Exit));
    EXPECT_FALSE(wf.running());
}

// A step (or step 10) holds the data set from its start to its end, as the command line does;
// one that cannot have it, or whose parameters no step can carry, does not start and says why.
TEST_F(EnabledStates, AStepDoesNotStartOnADataSetInUseOrWithParametersOutOfRange) {
    wf.activate();
    std::string seen;
    ScriptedSteps::behaviour[0] = [&](const StepInputs&, StepHost&) {
        try {
            DataSetLock::acquire(session.dataFilesDir(), "ABC", "orravant-cli run");
        } catch (const DataSetBusy& e) {
            seen = e.what();
        }
        return StepResult{};
    };
    ASSERT_TRUE(wf.runStep(5, host));
    EXPECT_EQ(seen.rfind("The data set ABC is in use by another run (the Orravant window, ", 0), 0u)
        << seen;
    {
        const DataSetLock other = DataSetLock::acquire(session.dataFilesDir(), "ABC", "a test");
        EXPECT_FALSE(wf.beginStep(6));
        EXPECT_EQ(wf.refusal().rfind("The data set ABC is in use by another run (a test, ", 0), 0u)
            << wf.refusal();
        EXPECT_FALSE(wf.beginAllSteps());
        EXPECT_FALSE(wf.running());
    }
    session.params.PACF = 0;
    EXPECT_FALSE(wf.beginAllSteps());
    EXPECT_EQ(wf.refusal(),
              "The user parameters cannot be used: PACF should be greater than 0. Set them in "
              "step 2.");
    session.params.PACF = 20;
    EXPECT_TRUE(wf.runStep(6, host));
    EXPECT_EQ(ScriptedSteps::calls, (std::vector<int>{5, 6}));
}

}  // namespace
}  // namespace orr::workflow
