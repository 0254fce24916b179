// The main window's rules as a plain model: which buttons are enabled, which output labels show
// what, activation, Reset, the changes of the session, and the bookkeeping of a step (or of step
// 10) from its start to its end. The window only mirrors this state; it holds no rules of its
// own, and changes the session only through this model. Which step may run, and which steps a
// change makes stale, follow from the files each step declares (StepFiles). Steps themselves run
// through runStep (StepRunner.h), on whichever thread the caller chooses; begin and finish are
// called on the model's own thread.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "model/session/DataSetLock.h"
#include "model/session/Session.h"
#include "model/workflow/Controls.h"
#include "model/workflow/StepRunner.h"
#include "model/workflow/StepTable.h"

namespace orr::workflow {

struct OutputLabel {
    bool visible = false;
    std::string caption;
};

class Workflow {
  public:
    // `steps`: the real steps (stepTable()) or stand-ins in tests.
    Workflow(Session& session, std::span<const StepEntry> steps);

    const Session& session() const { return session_; }
    const StepEntry* step(int number) const { return findStep(steps_, number); }
    std::span<const StepEntry> steps() const { return steps_; }
    // The first step of the table that reads `input`; nullptr when none does.
    const StepEntry* firstReading(ChosenInput input) const {
        for (const StepEntry& entry : steps_)
            if (entry.files->readsInput(input)) return &entry;
        return nullptr;
    }
    // While a step (or step 10) runs, only the help answers: nothing may change the session or
    // the files under a running step.
    bool isEnabled(Button b) const {
        return enabled_[index(b)] && (!running_ || b == Button::Instructions);
    }
    // A label of a step's output is hidden while the step is not current (see setInput).
    OutputLabel label(Label l) const;
    // True while a computation step (or step 10) runs; no other step may start then.
    bool running() const { return running_; }
    bool runningAllSteps() const { return allSteps_; }

    // Called after every change of enabled states or labels.
    void setChangeHandler(std::function<void()> handler) { onChange_ = std::move(handler); }

    // The window became active again (first showing, after every dialog): once the data-set
    // name and the coefficient, strata and DBH files are set, steps 5 and 10 are enabled.
    void activate();
    // Hides every output label, empties the seven names, disables steps 5 to 11.
    void reset();
    // A data set opened again whose reports are there: View Output (and the results) can show
    // them without running the steps again.
    void reportsFound();
    // A dialog sets a label's caption and shows it.
    void showLabel(Label l, std::string caption);

    // The changes of the session. A completed step stays current while the data-set name, the
    // chosen inputs it reads and the parameters it uses are those it ran with, and the steps
    // whose files it reads are current. A change makes exactly the steps that depend on it stale:
    // what they wrote no longer follows from the session, so their labels are hidden and the
    // steps after them (and the output viewer) are disabled until they run anew or the change
    // is undone.
    void setDataSetName(std::string name);
    void setInput(ChosenInput input, std::filesystem::path file);
    void setParameters(const ParamRecord& params);
    // A data set opened again: its name and its input files at once, as after Reset.
    void openDataSet(std::string name, const InputPaths& inputs);
    // Another application directory: its session in place of this one, as after Reset.
    void startAfresh(const Session& fresh);

    // The chosen inputs that step `step` needs and that are not chosen yet, to be chosen before
    // it starts.
    std::vector<ChosenInput> lacking(int step) const;

    // A single step 5..9: refused (false) while another step runs or for another number, and
    // with refusal() set while the parameters are out of range or another run (another window,
    // the command line) holds the data set. The data set stays locked until finishStep. Steps 6
    // and 7 keep Reset and Exit disabled until they end.
    bool beginStep(int step);
    // The step ended: on completion its labels show and the next step is enabled.
    void finishStep(int step, const StepResult& result);

    // Step 10: refused while a step runs, and like beginStep; the data set stays locked until
    // step 10 ends.
    bool beginAllSteps();
    // Why the last beginStep or beginAllSteps was refused, for a message box; empty when it was
    // refused only because a step runs.
    const std::string& refusal() const { return refusal_; }
    // Step `step` of step 10 starts (locks Reset and Exit for steps 6 and 7).
    void beginStepOfAll(int step);
    // Step `step` of step 10 ended: the next step to run, or nullopt when step 10 is over; the
    // log and the caption then say how it ended.
    std::optional<int> finishStepOfAll(int step, const StepResult& result, StepView& view);

    // The same, start to end on the calling thread; true when the step (every step) completed,
    // false also when refused because a step runs.
    bool runStep(int step, StepView& view, ProductCodePolicy productCodes = ProductCodePolicy::Ask);
    bool runAllSteps(StepView& view, ProductCodePolicy productCodes = ProductCodePolicy::Ask);

  private:
    static std::size_t index(Button b) { return static_cast<std::size_t>(b); }
    static std::size_t index(Label l) { return static_cast<std::size_t>(l); }
    void setEnabled(Button b, bool on) { enabled_[index(b)] = on; }
    void changed();
    void lock(int step);
    void unlock(int step);
    void afterStep(int step, const StepResult& result);
    // Enables the step buttons whose earlier steps have all completed, and the output viewer.
    void refreshButtons();
    // Every step of the table that writes a file `step` reads is current.
    bool earlierStepsCurrent(const StepEntry& step) const;
    // `step` completed on the session as it is now (see setInput).
    bool current(const StepEntry& step) const;
    // The step that writes the file a label tells of; nullptr for the set-up labels.
    const StepEntry* stepOfLabel(Label l) const;
    // Checks the parameters and locks the data set; false (and refusal_ set) when it cannot.
    bool takeDataSet();

    Session& session_;
    std::span<const StepEntry> steps_;
    std::array<bool, kButtonCount> enabled_{};
    std::array<OutputLabel, kLabelCount> labels_{};
    bool running_ = false;
    bool allSteps_ = false;
    // The set-up steps are done (the window became active with a data set and its files).
    bool setUp_ = false;
    // The reports of a data set opened again are there (reportsFound), until the session changes.
    bool reportsOnDisk_ = false;
    // The steps that completed, with the session they ran on.
    std::map<int, Session> completed_;
    // Step 10: the steps still to run.
    std::optional<StepSequence> sequence_;
    std::function<void()> onChange_;
    std::optional<DataSetLock>
        dataSetLock_;  // held from the start of a step (or step 10) to its end
    std::string refusal_;
};

}  // namespace orr::workflow
