// The main window's workflow over stand-ins for steps 5 to 9: the enabled-state chain,
// activation, Reset, one step at a time, the data set's lock, step 10 and the output captions.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>

#include "files/DataSetFiles.h"
#include "model/workflow/StatusLog.h"
#include "model/workflow/Workflow.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::workflow {
namespace {

// Behaviour of steps 5..9 (index step - 5); an empty slot completes without doing anything.
std::function<StepResult(const StepInputs&, StepHost&)> behaviour[5];
std::vector<int> calls;  // the steps run so far, in order

template <int Step>
StepResult scripted(const StepInputs& inputs, StepHost& host) {
    calls.push_back(Step);
    return behaviour[Step - 5] ? behaviour[Step - 5](inputs, host) : StepResult{};
}

std::span<const StepEntry> scriptedSteps() {
    static const std::array<StepEntry, 5> table = {
        {test::standIn(5, &scripted<5>, true), test::standIn(6, &scripted<6>, true),
         test::standIn(7, &scripted<7>, true), test::standIn(8, &scripted<8>, true),
         test::standIn(9, &scripted<9>, true)}};
    return table;
}

const std::vector<Button> kAlwaysOn = {
    Button::DataSetCreate, Button::SetParam, Button::RegCoeff, Button::AssignPlotsDBH,
    Button::Instructions,  Button::Reset,    Button::Exit};

// A session whose set-up (name, coefficient, strata, DBH, tree and high LiDAR files) is complete
// but not yet seen by an activation.
class WorkflowTest : public ::testing::Test {
  protected:
    WorkflowTest() {
        session.appDir = dir.path();
        std::filesystem::create_directories(session.dataFilesDir());
        session.dataSetName = "ABC";
        session.inputs.coefficients = "/d/ABC_COEFFIC.csv";
        session.inputs.strata = "/d/ABC_STRATA.csv";
        session.inputs.dbh = "/d/ABC_DBH.csv";
        session.inputs.trees = "/field data/TREES.csv";
        session.inputs.lidarHigh = "/lidar/High Heights.csv";
        session.params = ParamRecord::defaults();  // a step does not start with parameters of 0
        for (auto& b : behaviour) b = nullptr;
        calls.clear();
    }
    std::vector<Button> enabled() const {
        std::vector<Button> on;
        for (Button b : allButtons())
            if (wf.isEnabled(b)) on.push_back(b);
        return on;
    }
    std::filesystem::path file(files::DataSetFile f) const {
        return files::path(session.dataFilesDir(), session.dataSetName, f);
    }
    void expectShown(const std::vector<std::pair<Label, std::string>>& rows) {
        for (const auto& [l, caption] : rows) {
            EXPECT_TRUE(wf.label(l).visible) << labelName(l);
            EXPECT_EQ(wf.label(l).caption, caption);
        }
    }
    static StepResult stopped() { return StepResult::stopped("stopped"); }

    test::TempDir dir;
    Session session;
    test::FakeHost host;
    Workflow wf{session, scriptedSteps()};
};

TEST_F(WorkflowTest, StepsFiveAndTenAreEnabledOnlyOnceTheSetUpIsCompleteAndSeen) {
    EXPECT_EQ(enabled(), kAlwaysOn);
    for (Label l : allLabels()) EXPECT_FALSE(wf.label(l).visible) << labelName(l);
    const Session full = session;
    for (auto drop : {+[](Session& s) { s.dataSetName.clear(); },
                      +[](Session& s) { s.inputs.coefficients.clear(); },
                      +[](Session& s) { s.inputs.strata.clear(); },
                      +[](Session& s) { s.inputs.dbh.clear(); }}) {
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

TEST_F(WorkflowTest, AFailedOrThrowingStepEnablesNothing) {
    wf.activate();
    behaviour[0] = [](const StepInputs&, StepHost&) { return stopped(); };
    EXPECT_FALSE(wf.runStep(5, host));
    behaviour[0] = [](const StepInputs&, StepHost&) -> StepResult {
        throw std::runtime_error("cannot write ABC_PH2Plot.csv");
    };
    EXPECT_FALSE(wf.runStep(5, host));
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().text, "cannot write ABC_PH2Plot.csv");
    EXPECT_EQ(host.messages.back().icon, Icon::Critical);
    EXPECT_FALSE(wf.isEnabled(Button::Iterate));
    EXPECT_FALSE(wf.label(Label::PlotClassesFile).visible);
    EXPECT_TRUE(wf.isEnabled(Button::Reset) && wf.isEnabled(Button::Exit));
    EXPECT_FALSE(wf.running());
}

TEST_F(WorkflowTest, EachStepEnablesTheNextAndResetDisablesFiveToElevenAndKeepsLogAndParameters) {
    session.inputs.lidarLow = "/lidar/low.csv";
    session.params.MaxItern = 250;
    wf.showLabel(Label::DataSetName, "DataSetName - ABC");
    wf.activate();
    const Button next[] = {Button::Iterate, Button::ComputePhase1, Button::CombinePhase2,
                           Button::ComputeDoubleSample, Button::ViewOutput};
    for (int step = 5; step <= 9; ++step) {
        EXPECT_FALSE(wf.isEnabled(next[step - 5])) << step;
        ASSERT_TRUE(wf.runStep(step, host)) << step;
        EXPECT_TRUE(wf.isEnabled(next[step - 5])) << step;
    }
    host.logText = "kept\r\n";
    wf.reset();
    EXPECT_EQ(enabled(), kAlwaysOn);
    for (Label l : allLabels()) EXPECT_FALSE(wf.label(l).visible) << labelName(l);
    for (const auto* name :
         {&session.inputs.coefficients, &session.inputs.strata, &session.inputs.dbh,
          &session.inputs.trees, &session.inputs.lidarHigh, &session.inputs.lidarLow})
        EXPECT_TRUE(name->empty()) << *name;
    EXPECT_TRUE(session.dataSetName.empty());
    EXPECT_EQ(session.params.MaxItern, 250);
    EXPECT_EQ(host.logText, "kept\r\n");
    wf.activate();
    EXPECT_EQ(enabled(), kAlwaysOn);
}

TEST_F(WorkflowTest, StepsSixAndSevenLockResetAndExitAndNoSecondStepStartsWhileOneRuns) {
    wf.activate();
    std::vector<std::pair<bool, bool>> seen;
    bool nested = true;
    behaviour[0] = [&](const StepInputs&, StepHost&) {
        nested = wf.running() && (wf.runStep(5, host) || wf.runAllSteps(host));
        return StepResult{};
    };
    for (int i = 1; i < 3; ++i)
        behaviour[i] = [&](const StepInputs&, StepHost&) {
            seen.emplace_back(wf.isEnabled(Button::Reset), wf.isEnabled(Button::Exit));
            // step 7 fails and must still give them back
            return seen.size() < 2 ? StepResult{} : stopped();
        };
    for (int step : {5, 6, 7}) wf.runStep(step, host);
    EXPECT_FALSE(nested);
    EXPECT_EQ(calls, (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(seen, (std::vector<std::pair<bool, bool>>{{false, false}, {false, false}}));
    EXPECT_TRUE(wf.isEnabled(Button::Reset) && wf.isEnabled(Button::Exit));
    EXPECT_FALSE(wf.running());
}

// A step (or step 10) holds the data set from its start to its end, as the command line does;
// one that cannot have it, or whose parameters no step can carry, does not start and says why.
TEST_F(WorkflowTest, AStepDoesNotStartOnADataSetInUseOrWithParametersOutOfRange) {
    wf.activate();
    std::string seen;
    behaviour[0] = [&](const StepInputs&, StepHost&) {
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
    EXPECT_EQ(calls, (std::vector<int>{5, 6}));
}

// Step 10: steps 5 to 9 in a row; every step logs a line, as the real ones do.
TEST_F(WorkflowTest, AllStepsEndWithTheCompletionLineAndTheClockSeedsOrStopAtAFailure) {
    int failing = 0, cancelled = 0;
    for (int i = 0; i < 5; ++i)
        behaviour[i] = [&, i](const StepInputs& in, StepHost& h) {
            if (i + 5 == failing) return stopped();
            if (i + 5 == cancelled) return StepResult::cancelled();
            StepResult r;
            if (i == 1 || i == 2) {  // steps 6 and 7 replace the log; their seeds stay in it
                r.closingLog = {"done with " + std::to_string(in.seed)};
                r.closingReplacesLog = true;
            } else {
                h.log("step " + std::to_string(i + 5) + " done");
            }
            return r;
        };
    wf.activate();
    failing = 6;
    EXPECT_FALSE(wf.runAllSteps(host));
    EXPECT_EQ(calls, (std::vector<int>{5, 6}));
    EXPECT_EQ(host.logLines().back(), "Step 6 did not complete; steps 7 through 9 were not run.");
    EXPECT_EQ(host.statuses.back(), "Status: Step 6 did not complete!");
    EXPECT_TRUE(wf.isEnabled(Button::Iterate));
    EXPECT_FALSE(wf.isEnabled(Button::ComputePhase1));
    EXPECT_FALSE(wf.running());
    failing = 9;  // the last step names no later ones
    EXPECT_FALSE(wf.runAllSteps(host));
    EXPECT_EQ(host.logLines().back(), "Step 9 did not complete.");
    EXPECT_FALSE(wf.isEnabled(Button::ViewOutput));
    failing = 0;
    cancelled = 7;
    EXPECT_FALSE(wf.runAllSteps(host));
    EXPECT_EQ(host.logLines().back(), "Step 7 was cancelled; steps 8 through 9 were not run.");
    EXPECT_EQ(host.statuses.back(), "Status: Step 7 was cancelled!");
    for (const auto& status : host.statuses)
        EXPECT_EQ(status.find("successfully"), std::string::npos) << status;

    cancelled = 0;
    ASSERT_TRUE(wf.runStep(7, host));
    const auto afterSeven = host.logLines();
    ASSERT_EQ(afterSeven.size(), 2u);
    EXPECT_EQ(afterSeven[1], "Random seed: " + afterSeven[0].substr(10));

    calls.clear();
    const std::size_t messages = host.messages.size();
    EXPECT_TRUE(wf.runAllSteps(host));
    EXPECT_EQ(calls, (std::vector<int>{5, 6, 7, 8, 9}));
    const auto lines = host.logLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "All steps completed successfully!");
    EXPECT_EQ(lines[1].rfind("Random seed of step 6: ", 0), 0u);
    EXPECT_EQ(lines[2].rfind("Random seed of step 7: ", 0), 0u);
    EXPECT_EQ(host.statuses.back(), "Status: All steps completed successfully!");
    EXPECT_TRUE(wf.isEnabled(Button::ViewOutput));
    EXPECT_EQ(host.messages.size(), messages);
}

TEST_F(WorkflowTest, CompletedStepsNameTheirFilesInTheOutputLabels) {
    wf.activate();
    for (int step : {5, 6, 7, 8}) ASSERT_TRUE(wf.runStep(step, host));
    expectShown(
        {{Label::PlotClassesFile, "OutFile=  ABC_PH2Plot.csv"},
         {Label::TreeFile, "InFile - TREES.csv OutFile= ABC_PH2TreeV.csv"},
         {Label::LidarPlotsDS1,
          "Data Set 1   Infile= ABC_PH2Plot.csv   Outfile= ABC_PH2plotDS1.csv"},
         {Label::Phase1DS1, "DataSet 1   Infile= High Heights.csv   Outfile= ABC_Phase1DS1.csv"},
         {Label::Phase2File, "Outfile= ABC_Phase2.csv"}});
    // Data set 2 only with a low file, and in step 7 only when the step wrote its file.
    EXPECT_FALSE(wf.label(Label::LidarPlotsDS2).visible);
    EXPECT_FALSE(wf.label(Label::Phase1DS2).visible);
    wf.setInput(ChosenInput::LidarDS2, "C:\\lidar\\LOW.csv");
    behaviour[2] = [this](const StepInputs&, StepHost&) {
        StepResult r;
        r.outputs = {file(files::DataSetFile::Phase1DS2), file(files::DataSetFile::Phase1DS1)};
        for (const auto& written : r.outputs) test::writeFile(written, "1,1,20,10,100\r\n");
        return r;
    };
    // The steps that read the LiDAR files, and those after them, run again on the new one.
    for (int step : {6, 7, 8}) ASSERT_TRUE(wf.runStep(step, host));
    expectShown({{Label::LidarPlotsDS2,
                  "Data Set 2   Infile= ABC_PH2Plot.csv   Outfile= ABC_PH2plotDS2.csv"},
                 {Label::Phase1DS2, "DataSet 2   Infile= LOW.csv   Outfile= ABC_Phase1DS2.csv"}});
    // Step 9 lists the reports that hold something.
    test::writeFile(file(files::DataSetFile::StratumVolume), "");
    test::writeFile(file(files::DataSetFile::Regression), "x\r\n");
    ASSERT_TRUE(wf.runStep(9, host));
    expectShown({{Label::Regression, "Outfile= ABC_Regress.txt"},
                 {Label::StratumVolume, "Outfile= ABC_StratVol.txt"},
                 {Label::Reports, "ABC_Regress.txt"}});
    test::writeFile(file(files::DataSetFile::StratumVolume), "x\r\n");
    test::writeFile(file(files::DataSetFile::VolumeSummary), "x\r\n");
    ASSERT_TRUE(wf.runStep(9, host));
    expectShown({{Label::Reports, "ABC_StratVol.txt, ABC_Regress.txt, ABC_VolSum.txt"}});
}

// A change of the session through the model makes exactly the steps that depend on it stale:
// their labels go and the steps after them wait until they run again, or the change is undone.
TEST_F(WorkflowTest, AChangeMakesStaleExactlyTheStepsThatDependOnIt) {
    wf.activate();
    for (int step : {5, 6, 7, 8, 9}) ASSERT_TRUE(wf.runStep(step, host));
    ASSERT_TRUE(wf.isEnabled(Button::ViewOutput));
    // MaxItern is used from step 6 on: step 5 stays current.
    ParamRecord p = session.params;
    p.MaxItern = 50;
    wf.setParameters(p);
    EXPECT_TRUE(wf.label(Label::PlotClassesFile).visible);
    EXPECT_FALSE(wf.label(Label::LidarPlotsDS1).visible);
    EXPECT_FALSE(wf.label(Label::Regression).visible);
    EXPECT_TRUE(wf.isEnabled(Button::Iterate));
    EXPECT_FALSE(wf.isEnabled(Button::ComputePhase1));
    EXPECT_FALSE(wf.isEnabled(Button::ViewOutput));
    p.MaxItern = ParamRecord::defaults().MaxItern;
    wf.setParameters(p);
    EXPECT_TRUE(wf.label(Label::Regression).visible);
    EXPECT_TRUE(wf.isEnabled(Button::ViewOutput));
    // The tree file is read by step 5: every step waits for step 5 to run again.
    wf.setInput(ChosenInput::Trees, "/field data/OTHER.csv");
    EXPECT_FALSE(wf.label(Label::PlotClassesFile).visible);
    EXPECT_TRUE(wf.isEnabled(Button::ComputePlots));
    EXPECT_FALSE(wf.isEnabled(Button::Iterate));
    ASSERT_TRUE(wf.runStep(5, host));
    EXPECT_TRUE(wf.isEnabled(Button::Iterate));
    EXPECT_FALSE(wf.isEnabled(Button::ComputePhase1));
    // Another data-set name: no label shows the old data set's files.
    wf.setDataSetName("XYZ");
    for (Label l : allLabels()) {
        if (labelFile(l)) {
            EXPECT_FALSE(wf.label(l).visible) << labelName(l);
        }
    }
    EXPECT_TRUE(wf.isEnabled(Button::ComputePlots));
    EXPECT_FALSE(wf.isEnabled(Button::Iterate));
}

TEST(StatusLog, EveryLineEndsInCrLfAndShowsWithOneLineFeed) {
    StatusLog log;
    log.append("DataSet Name is: ABC");
    log.append("");
    EXPECT_EQ(log.text(), "DataSet Name is: ABC\r\n\r\n");
    EXPECT_EQ(log.length(), 24u);
    EXPECT_EQ(StatusLog::forDisplay("a\r\nb\rc\nd"), "a\nb\nc\nd");
}

}  // namespace
}  // namespace orr::workflow
