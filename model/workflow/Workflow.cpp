#include "model/workflow/Workflow.h"

#include <string>

#include "model/workflow/StepCaptions.h"

namespace orr::workflow {

namespace {

constexpr Button kComputationButtons[] = {
    Button::ComputePlots,        Button::Iterate,  Button::ComputePhase1, Button::CombinePhase2,
    Button::ComputeDoubleSample, Button::AllSteps, Button::ViewOutput,
};

}  // namespace

Workflow::Workflow(Session& session, std::span<const StepEntry> steps)
    : session_(session), steps_(steps) {
    for (Button b : allButtons()) setEnabled(b, true);
    for (Button b : kComputationButtons) setEnabled(b, false);
    for (Label l : allLabels()) labels_[index(l)] = {false, std::string(initialCaption(l))};
}

void Workflow::changed() {
    if (onChange_) onChange_();
}

void Workflow::activate() {
    if (session_.dataSetName.empty() || session_.coefficientFile.empty() ||
        session_.strataFile.empty() || session_.dbhFile.empty())
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

bool Workflow::lacksTreeFile(int number) const {
    const StepEntry* entry = step(number);
    return entry && entry->description->needsTreeFile && session_.treeFile.empty();
}

bool Workflow::lacksLidarFiles(int number) const {
    const StepEntry* entry = step(number);
    return entry && entry->description->needsLidarFiles && session_.lidarHighFile.empty();
}

void Workflow::lock(int step) {
    // Steps 6 and 7 keep Reset and Exit disabled while they run, whatever their outcome.
    if (step != 6 && step != 7) return;
    setEnabled(Button::Reset, false);
    setEnabled(Button::Exit, false);
    changed();
}

void Workflow::unlock(int step) {
    if (step != 6 && step != 7) return;
    setEnabled(Button::Reset, true);
    setEnabled(Button::Exit, true);
}

bool Workflow::beginStep(int number) {
    if (running_ || !step(number)) return false;
    running_ = true;
    lock(number);
    changed();
    return true;
}

void Workflow::finishStep(int number, const StepResult& result) {
    unlock(number);
    if (result.completed()) afterStep(number, result);
    running_ = false;
    changed();
}

bool Workflow::beginAllSteps() {
    if (running_) return false;
    running_ = true;
    allSteps_ = true;
    changed();
    return true;
}

void Workflow::beginStepOfAll(int number) {
    lock(number);
}

std::optional<int> Workflow::finishStepOfAll(int number, const StepResult& result, StepView& view) {
    unlock(number);
    if (result.completed()) afterStep(number, result);
    const StepEntry* next = step(number + 1);
    if (result.completed() && next) {
        changed();
        return next->number();
    }
    running_ = false;
    allSteps_ = false;
    changed();
    if (result.completed()) {
        view.replaceLog("All steps completed successfully!\r\n");
        view.status("Status: All steps completed successfully!");
        return std::nullopt;
    }
    const std::string verb =
        result.end == StepResult::End::Cancelled ? " was cancelled" : " did not complete";
    const std::string stopped = "Step " + std::to_string(number) + verb;
    const std::string rest =
        next ? "; steps " + std::to_string(number + 1) + " through 9 were not run." : ".";
    view.log(stopped + rest);
    view.status("Status: " + stopped + "!");
    return std::nullopt;
}

bool Workflow::runStep(int number, StepView& view, ProductCodePolicy productCodes) {
    if (!beginStep(number)) return false;
    const StepEntry& entry = *step(number);
    const StepResult result = workflow::runStep(
        *entry.description, entry.run, stepInputs(session_, productCodes), session_.run.seed, view);
    finishStep(number, result);
    return result.completed();
}

bool Workflow::runAllSteps(StepView& view, ProductCodePolicy productCodes) {
    if (!beginAllSteps() || steps_.empty()) return false;
    std::optional<int> number = steps_.front().number();
    StepResult result;
    while (number) {
        beginStepOfAll(*number);
        const StepEntry& entry = *step(*number);
        result = workflow::runStep(*entry.description, entry.run,
                                   stepInputs(session_, productCodes), session_.run.seed, view);
        number = finishStepOfAll(*number, result, view);
    }
    return result.completed();
}

void Workflow::afterStep(int number, const StepResult& result) {
    for (auto& [label, caption] : captionsAfterStep(number, session_, result)) {
        OutputLabel& shown = labels_[index(label)];
        shown.visible = true;
        if (!caption.empty()) shown.caption = std::move(caption);
    }
    switch (number) {
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

}  // namespace orr::workflow
