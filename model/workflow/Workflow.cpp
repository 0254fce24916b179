#include "model/workflow/Workflow.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <string>

#include "files/RunRecord.h"
#include "model/session/ParameterRanges.h"
#include "model/workflow/StepCaptions.h"

namespace orr::workflow {

Workflow::Workflow(Session& session, std::span<const StepEntry> steps)
    : session_(session), steps_(steps) {
    for (Button b : allButtons()) setEnabled(b, true);
    refreshButtons();
    for (Label l : allLabels()) labels_[index(l)] = {false, std::string(initialCaption(l))};
}

void Workflow::changed() {
    if (onChange_) onChange_();
}

void Workflow::activate() {
    if (session_.dataSetName.empty() || session_.inputs.coefficients.empty() ||
        session_.inputs.strata.empty() || session_.inputs.dbh.empty())
        return;
    setUp_ = true;
    refreshButtons();
    changed();
}

void Workflow::reset() {
    for (Label l : allLabels()) labels_[index(l)].visible = false;
    session_.clearNames();
    setUp_ = false;
    reportsOnDisk_ = false;
    completed_.clear();
    refreshButtons();
    changed();
}

void Workflow::showLabel(Label l, std::string caption) {
    labels_[index(l)] = {true, std::move(caption)};
    changed();
}

OutputLabel Workflow::label(Label l) const {
    OutputLabel shown = labels_[index(l)];
    if (const StepEntry* writer = stepOfLabel(l); writer && !current(*writer))
        shown.visible = false;
    return shown;
}

const StepEntry* Workflow::stepOfLabel(Label l) const {
    const std::optional<files::DataSetFile> file = labelFile(l);
    if (!file) return nullptr;
    for (const StepEntry& entry : steps_) {
        const auto& writes = entry.files->writes;
        if (std::find(writes.begin(), writes.end(), *file) != writes.end()) return &entry;
    }
    return nullptr;
}

namespace {

// The two sessions agree on what `step` depends on: the data-set name, the chosen inputs it
// reads and the parameters it uses.
bool sameFor(const StepEntry& step, const Session& a, const Session& b) {
    if (a.dataSetName != b.dataSetName) return false;
    for (const ChosenInput input : kChosenInputs) {
        if (step.files->readsInput(input) &&
            chosenPath(a.inputs, input) != chosenPath(b.inputs, input))
            return false;
    }
    const auto first = files::settingTexts(a.params);
    const auto second = files::settingTexts(b.params);
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (first[i] != second[i] && step.files->uses(first[i].first)) return false;
    }
    return true;
}

}  // namespace

bool Workflow::current(const StepEntry& entry) const {
    const auto found = completed_.find(entry.number());
    if (found == completed_.end() || !sameFor(entry, found->second, session_)) return false;
    // The steps whose files it read are current, and were when it ran.
    for (const StepEntry& earlier : steps_) {
        if (earlier.number() == entry.number() || !entry.files->readsWhatWrites(*earlier.files))
            continue;
        if (!current(earlier) || !sameFor(earlier, completed_.at(earlier.number()), found->second))
            return false;
    }
    return true;
}

bool Workflow::earlierStepsCurrent(const StepEntry& entry) const {
    for (const StepEntry& earlier : steps_) {
        if (earlier.number() != entry.number() && entry.files->readsWhatWrites(*earlier.files) &&
            !current(earlier))
            return false;
    }
    return true;
}

void Workflow::refreshButtons() {
    for (const StepEntry& entry : steps_)
        setEnabled(entry.description->button, setUp_ && earlierStepsCurrent(entry));
    setEnabled(Button::AllSteps, setUp_);
    // The output viewer shows the reports of the step that writes the report for the browser.
    bool reportsWritten = false;
    for (const StepEntry& entry : steps_) {
        const auto& writes = entry.files->writes;
        if (std::find(writes.begin(), writes.end(), files::DataSetFile::Report) != writes.end() &&
            current(entry))
            reportsWritten = true;
    }
    setEnabled(Button::ViewOutput, setUp_ && (reportsWritten || reportsOnDisk_));
}

void Workflow::setDataSetName(std::string name) {
    session_.dataSetName = std::move(name);
    reportsOnDisk_ = false;
    refreshButtons();
    changed();
}

void Workflow::reportsFound() {
    reportsOnDisk_ = true;
    refreshButtons();
    changed();
}

void Workflow::setInput(ChosenInput input, std::filesystem::path file) {
    chosenPath(session_.inputs, input) = std::move(file);
    reportsOnDisk_ = false;
    refreshButtons();
    changed();
}

void Workflow::setParameters(const ParamRecord& params) {
    session_.params = params;
    reportsOnDisk_ = false;
    refreshButtons();
    changed();
}

void Workflow::openDataSet(std::string name, const InputPaths& inputs) {
    reset();
    session_.dataSetName = std::move(name);
    session_.inputs = inputs;
    changed();
}

void Workflow::startAfresh(const Session& fresh) {
    reset();
    session_ = fresh;
    changed();
}

std::vector<ChosenInput> Workflow::lacking(int number) const {
    std::vector<ChosenInput> out;
    const StepEntry* entry = step(number);
    if (!entry) return out;
    for (const ChosenInput input : kChosenInputs) {
        if (entry->files->needs(input) && chosenPath(session_.inputs, input).empty())
            out.push_back(input);
    }
    return out;
}

void Workflow::lock(int number) {
    // Some steps keep Reset and Exit disabled while they run, whatever their outcome.
    if (!step(number) || !step(number)->description->locksResetAndExit) return;
    setEnabled(Button::Reset, false);
    setEnabled(Button::Exit, false);
    changed();
}

void Workflow::unlock(int number) {
    if (!step(number) || !step(number)->description->locksResetAndExit) return;
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
    sequence_.emplace(steps_);
    changed();
    return true;
}

void Workflow::beginStepOfAll(int number) {
    lock(number);
}

std::optional<int> Workflow::finishStepOfAll(int number, const StepResult& result, StepView& view) {
    unlock(number);
    if (result.completed()) afterStep(number, result);
    const StepEntry* following = sequence_->following();
    sequence_->finished(result);
    if (const StepEntry* next = sequence_->current()) {
        changed();
        return next->number();
    }
    running_ = false;
    allSteps_ = false;
    dataSetLock_.reset();
    changed();
    if (sequence_->completed()) {
        std::string log = "All steps completed successfully!\r\n";
        // The clock seeds of its random steps, so that the run can be repeated.
        if (!session_.run.seed) {
            for (const auto& [stepNumber, seed] : sequence_->seeds())
                log += "Random seed of step " + std::to_string(stepNumber) + ": " +
                       std::to_string(seed) + "\r\n";
        }
        view.replaceLog(log);
        view.status("Status: All steps completed successfully!");
        return std::nullopt;
    }
    const std::string verb =
        result.end == StepResult::End::Cancelled ? " was cancelled" : " did not complete";
    const std::string stopped = "Step " + std::to_string(number) + verb;
    const std::string rest = following
                                 ? "; steps " + std::to_string(following->number()) + " through " +
                                       std::to_string(steps_.back().number()) + " were not run."
                                 : ".";
    view.log(stopped + rest);
    view.status("Status: " + stopped + "!");
    return std::nullopt;
}

bool Workflow::runStep(int number, StepView& view, ProductCodePolicy productCodes) {
    if (!beginStep(number)) return false;
    const StepResult result = workflow::runStep(*step(number), stepInputs(session_, productCodes),
                                                session_.run.seed, view);
    finishStep(number, result);
    return result.completed();
}

bool Workflow::runAllSteps(StepView& view, ProductCodePolicy productCodes) {
    if (!beginAllSteps() || steps_.empty()) return false;
    std::optional<int> number = sequence_->current()->number();
    StepResult result;
    while (number) {
        beginStepOfAll(*number);
        result = workflow::runStep(*step(*number), stepInputs(session_, productCodes),
                                   session_.run.seed, view);
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
    completed_[number] = session_;
    refreshButtons();
}

}  // namespace orr::workflow
