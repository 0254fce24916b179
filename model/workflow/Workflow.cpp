#include "model/workflow/Workflow.h"

#include <exception>
#include <string>

#include "model/workflow/StepCaptions.h"

namespace orr::workflow {

namespace {

constexpr Button kComputationButtons[] = {
    Button::ComputePlots,        Button::Iterate,  Button::ComputePhase1, Button::CombinePhase2,
    Button::ComputeDoubleSample, Button::AllSteps, Button::ViewOutput,
};

// Clears the running flag however the step ends.
class RunningGuard {
  public:
    explicit RunningGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningGuard() { flag_ = false; }
    RunningGuard(const RunningGuard&) = delete;
    RunningGuard& operator=(const RunningGuard&) = delete;

  private:
    bool& flag_;
};

}  // namespace

Workflow::Workflow(Session& session, StepSet steps) : session_(session), steps_(steps) {
    for (Button b : allButtons()) setEnabled(b, true);
    for (Button b : kComputationButtons) setEnabled(b, false);
    for (Label l : allLabels()) labels_[index(l)] = {false, std::string(initialCaption(l))};
}

void Workflow::changed() {
    if (onChange_) onChange_();
}

void Workflow::activate() {
    if (session_.DataSetName.empty() || session_.CoeffFileName.empty() ||
        session_.StrataFileName.empty() || session_.DBHFileName.empty())
        return;
    setEnabled(Button::ComputePlots, true);
    setEnabled(Button::AllSteps, true);
    changed();
}

void Workflow::reset() {
    for (Label l : allLabels()) labels_[index(l)].visible = false;
    session_.clearNames();
    for (Button b : kComputationButtons) setEnabled(b, false);
    changed();
}

void Workflow::showLabel(Label l, std::string caption) {
    labels_[index(l)] = {true, std::move(caption)};
    changed();
}

bool Workflow::runStep(int step, StepHost& host) {
    if (running_ || !stepButton(step)) return false;
    RunningGuard guard(running_);
    return runOne(step, host);
}

bool Workflow::runOne(int step, StepHost& host) {
    const StepFunction run = steps_.forStep(step);
    if (!run) {
        host.message("Step " + std::to_string(step) + " is not available in this build.",
                     Icon::Critical);
        return false;
    }
    // Steps 6 and 7 keep Reset and Exit disabled while they run, whatever their outcome.
    const bool locksWindow = step == 6 || step == 7;
    if (locksWindow) {
        setEnabled(Button::Reset, false);
        setEnabled(Button::Exit, false);
        changed();
    }
    bool completed = false;
    try {
        completed = run(session_, host);
    } catch (const std::exception& e) {
        host.message(e.what(), Icon::Critical);
        completed = false;
    }
    if (locksWindow) {
        setEnabled(Button::Reset, true);
        setEnabled(Button::Exit, true);
    }
    if (completed) afterStep(step);
    changed();
    return completed;
}

void Workflow::afterStep(int step) {
    for (auto& [label, caption] : captionsAfterStep(step, session_)) {
        OutputLabel& shown = labels_[index(label)];
        shown.visible = true;
        if (!caption.empty()) shown.caption = std::move(caption);
    }
    switch (step) {
        case 5:
            setEnabled(Button::Iterate, true);
            break;
        case 6:
            setEnabled(Button::ComputePhase1, true);
            break;
        case 7:
            setEnabled(Button::CombinePhase2, true);
            break;
        case 8:
            setEnabled(Button::ComputeDoubleSample, true);
            break;
        case 9:
            setEnabled(Button::ViewOutput, true);
            break;
        default:
            break;
    }
}

bool Workflow::runAllSteps(StepHost& host) {
    if (running_) return false;
    RunningGuard guard(running_);
    if (session_.TreeInputFileName.empty()) host.pickTreeFile(session_);
    if (session_.HighLidarFileName.empty()) host.pickLidarFiles(session_);
    for (int step = 5; step <= 9; ++step) {
        if (runOne(step, host)) continue;
        const std::string stopped = "Step " + std::to_string(step) + " did not complete";
        const std::string rest =
            step < 9 ? "; steps " + std::to_string(step + 1) + " through 9 were not run." : ".";
        host.appendLog(stopped + rest);
        host.setStatus("Status: " + stopped + "!");
        return false;
    }
    host.setLog("All steps completed successfully!\r\n");
    host.setStatus("Status: All steps completed successfully!");
    return true;
}

}  // namespace orr::workflow
