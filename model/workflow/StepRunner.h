// The one runner of a computation step, the same for the window (on a worker thread) and the
// command line: the captions and the start of the log, the check that the inputs the step
// declares are there, the run seed, the warnings raised on every thread of the step, the step
// itself, the fingerprint of each file taken while the step reads it, the run record, and what
// the result leaves in the log. And the one sequence of steps, for step 10 and orravant-cli run.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Step.h"
#include "model/session/Session.h"
#include "model/workflow/StepTable.h"

namespace orr::workflow {

enum class Icon { Information, Critical };

// What a step's runner reports to beyond the step's own host: the whole log, the status caption
// and message boxes.
struct StepView : StepHost {
    virtual void replaceLog(std::string_view text) = 0;
    virtual void status(std::string_view caption) = 0;
    virtual void message(std::string_view text, Icon icon) = 0;
};

// The message shown when a step meets a plot number above MaxPlots.
inline constexpr std::string_view kMaxPlotsMessage =
    "Number of plots in data files exceeds the Maxplots parameter setting";

// The inputs of a step from the session; the seed is set by runStep.
StepInputs stepInputs(const Session& session, ProductCodePolicy productCodes);

// Runs the step: the running caption, the start of the log, the seed (`fixedSeed`, or one from
// the clock that is logged so that the run can be repeated), the check of the inputs its
// declaration needs, the step, then its closing log and caption when it completed, or its
// message when it stopped. Every warning raised while the step runs, on any of its threads, is
// in the result and the log. A completed run is recorded in the data set's _Run.csv with the
// files it read (each fingerprinted as the step read it) and wrote. An exception that escapes
// the step is a stop with the exception's text.
StepResult runStep(const StepEntry& step, StepInputs inputs, std::optional<std::uint64_t> fixedSeed,
                   StepView& view);

// Steps run one after the other, each on the files the one before it wrote, up to the first
// that does not complete: step 10 of the window (a step at a time, from the window's thread) and
// orravant-cli run (runSequence).
class StepSequence {
  public:
    explicit StepSequence(std::span<const StepEntry> steps) : steps_(steps) {}
    // The step to run now; nullptr once the sequence is over.
    const StepEntry* current() const { return at_ < steps_.size() ? &steps_[at_] : nullptr; }
    // The step after the current one, if any.
    const StepEntry* following() const {
        return at_ + 1 < steps_.size() ? &steps_[at_ + 1] : nullptr;
    }
    // The current step ended with `result`: the next one becomes current when it completed.
    void finished(const StepResult& result);
    // Every step completed.
    bool completed() const { return at_ >= steps_.size() && allCompleted_; }
    // The seeds of the random steps that ran, by step number.
    const std::vector<std::pair<int, std::uint64_t>>& seeds() const { return seeds_; }

  private:
    std::span<const StepEntry> steps_;
    std::size_t at_ = 0;
    bool allCompleted_ = true;
    std::vector<std::pair<int, std::uint64_t>> seeds_;
};

// Runs the whole sequence on the calling thread; `before` is told of each step before it runs
// and may end the sequence there (false: the step does not run, and the result is Cancelled),
// `after` is told how it ended. The result of the last step that ran.
StepResult runSequence(StepSequence& sequence, const std::function<StepInputs()>& inputs,
                       std::optional<std::uint64_t> fixedSeed, StepView& view,
                       const std::function<bool(const StepEntry&)>& before,
                       const std::function<void(const StepEntry&, const StepResult&)>& after);

}  // namespace orr::workflow
