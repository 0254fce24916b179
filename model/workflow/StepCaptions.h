// What the output labels beside steps 5 to 9 show once the step has completed.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Step.h"
#include "model/session/Session.h"
#include "model/workflow/Controls.h"

namespace orr::workflow {

// The labels that a completed step shows, with their captions, in the order the step sets
// them. Step 7 shows its DataSet 2 label only when it wrote that file; step 9 lists the reports
// that hold something.
std::vector<std::pair<Label, std::string>> captionsAfterStep(int step, const Session& session,
                                                             const StepResult& result);

// The status caption once a step has ended without completing, so that the caption never goes
// on saying what the step was doing: "Status: Step 6 did not complete!" (stopped) and
// "Status: Step 6 was cancelled!".
std::string stoppedCaption(int step);
std::string cancelledCaption(int step);
// The status caption after Reset.
inline constexpr std::string_view kResetCaption =
    "Status: Reset - please perform Steps 1 through 4...";

// The part of a path after its last separator ("/" or "\"); the whole text when it has none.
std::string bareFileName(const std::string& path);

}  // namespace orr::workflow
