#include "model/workflow/Workflow.h"

#include <exception>
#include <optional>
#include <string>

#include "model/session/ParameterRanges.h"
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

void Workflow::inputsChanged(int number) {
    if (running_) return;
    // The computation step that shows each output label (0: a set-up step's label).
    const auto stepOf = [](Label l) {
        switch (l) {
            case Label::TreeFile:
            case Label::PlotClassesFile:
            case Label::PlotTotalsFile:
            case Label::Phase2SummaryFile:
                return 5;
            case Label::LidarPlotsDS1:
            case Label::LidarPlotsDS2:
                return 6;
            case Label::Phase1DS1:
            case Label::Phase1DS2:
                return 7;
            case Label::Phase2File:
            case Label::VolumeSummary:
                return 8;
            case Label::Regression:
            case Label::StratumVolume:
            case Label::Reports:
                return 9;
            default:
                return 0;
        }
    };
    for (Label l : allLabels())
        if (stepOf(l) >= number) labels_[index(l)].visible = false;
    for (int later = number + 1; later <= 9; ++later)
        if (const std::optional<Button> b = stepButton(later)) setEnabled(*b, false);
    setEnabled(Button::ViewOutput, false);
    changed();
}

void Workflow::reportsFound() {
    setEnabled(Button::ViewOutput, true);
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

bool Workflow::takeDataSet() {
    refusal_.clear();
    if (const auto problem = parameterProblem(session_.params)) {
        refusal_ = "The user parameters cannot be used: " + *problem + ". Set them in step 2.";
        return false;
    }
    try {
        dataSetLock_.emplace(DataSetLock::acquire(session_.dataFilesDir(), session_.dataSetName,
                                                  "the Orravant window"));
    } catch (const std::exception& e) {
        refusal_ = e.what();
        return false;
    }
    return true;
}

bool Workflow::beginStep(int number) {
    refusal_.clear();
    if (running_ || !step(number)) return false;
    if (!takeDataSet()) return false;
    running_ = true;
    lock(number);
    changed();
    return true;
}

void Workflow::finishStep(int number, const StepResult& result) {
    unlock(number);
    if (result.completed()) afterStep(number, result);
    running_ = false;
    dataSetLock_.reset();
    changed();
}

bool Workflow::beginAllSteps() {
    refusal_.clear();
    if (running_) return false;
    if (!takeDataSet()) return false;
    running_ = true;
    allSteps_ = true;
    allStepsSeeds_.clear();
    changed();
    return true;
}

void Workflow::beginStepOfAll(int number) {
    lock(number);
}

std::optional<int> Workflow::finishStepOfAll(int number, const StepResult& result, StepView& view) {
    unlock(number);
    if (result.completed()) afterStep(number, result);
    if (result.seed && !session_.run.seed) allStepsSeeds_.emplace_back(number, *result.seed);
    const StepEntry* next = step(number + 1);
    if (result.completed() && next) {
        changed();
        return next->number();
    }
    running_ = false;
    allSteps_ = false;
    dataSetLock_.reset();
    changed();
    if (result.completed()) {
        std::string log = "All steps completed successfully!\r\n";
        for (const auto& [stepNumber, seed] : allStepsSeeds_)
            log += "Random seed of step " + std::to_string(stepNumber) + ": " +
                   std::to_string(seed) + "\r\n";
        view.replaceLog(log);
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
