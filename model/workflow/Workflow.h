// The main window's rules as a plain model: which buttons are enabled, which output labels show
// what, activation, Reset, running one computation step and running steps 5 to 9 in a row.
// The window only mirrors this state; it holds no rules of its own.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "core/Session.h"
#include "core/StepHost.h"
#include "model/workflow/Controls.h"
#include "model/workflow/StepFunctions.h"

namespace orr::workflow {

struct OutputLabel {
    bool visible = false;
    std::string caption;
};

class Workflow {
  public:
    Workflow(Session& session, StepSet steps);

    Session& session() { return session_; }
    bool isEnabled(Button b) const { return enabled_[index(b)]; }
    const OutputLabel& label(Label l) const { return labels_[index(l)]; }
    // True while a computation step (or step 10) runs; no other step may start then.
    bool running() const { return running_; }

    // Called after every change of enabled states or labels.
    void setChangeHandler(std::function<void()> handler) { onChange_ = std::move(handler); }

    // The window became active again (first showing, after every dialog): once the data-set
    // name and the coefficient, strata and DBH files are set, steps 5 and 10 are enabled.
    void activate();
    // Hides every output label, empties the seven names, disables steps 5 to 11.
    void reset();
    // A dialog sets a label's caption and shows it.
    void showLabel(Label l, std::string caption);

    // Runs step 5..9 as its button does; true when it completed. Refused (false, nothing run)
    // while another step runs.
    bool runStep(int step, StepHost& host);
    // Step 10: the pickers when their files are missing, then steps 5 to 9 in order, stopping
    // at the first that does not complete. True when all five completed.
    bool runAllSteps(StepHost& host);

  private:
    static std::size_t index(Button b) { return static_cast<std::size_t>(b); }
    static std::size_t index(Label l) { return static_cast<std::size_t>(l); }
    void setEnabled(Button b, bool on) { enabled_[index(b)] = on; }
    void changed();
    bool runOne(int step, StepHost& host);
    void afterStep(int step);

    Session& session_;
    StepSet steps_;
    std::array<bool, kButtonCount> enabled_{};
    std::array<OutputLabel, kLabelCount> labels_{};
    bool running_ = false;
    std::function<void()> onChange_;
};

}  // namespace orr::workflow
