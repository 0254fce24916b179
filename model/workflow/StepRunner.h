// Running one computation step from the table: the captions, the start of the log, the run seed,
// the step itself, and what its result leaves in the log. The same for the window (on a worker
// thread) and the command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

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
// the clock that is logged so that the run can be repeated), the step, then its closing log and
// caption when it completed, or its message when it stopped. An exception that escapes the step
// is a stop with the exception's text.
StepResult runStep(const StepDescription& step, StepFunction run, StepInputs inputs,
                   std::optional<std::uint64_t> fixedSeed, StepView& view);

}  // namespace orr::workflow
