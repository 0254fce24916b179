// The one table of computation steps 5 to 9, used by the desktop program, by step 10 and by
// orravant-cli run: what each step runs, the captions it shows, how it starts the log, and the
// files it reads and writes as the step declares them beside its function.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "core/Step.h"
#include "files/StepFiles.h"
#include "model/workflow/Controls.h"

namespace orr::workflow {

using StepFunction = StepResult (*)(const StepInputs&, StepHost&);

// How a step presents itself, apart from the computation.
struct StepDescription {
    int number = 0;                     // 5..9
    std::string_view runningCaption;    // FrameStatus while the step runs
    std::string_view completedCaption;  // FrameStatus once it completed
    // Replaces the whole log as the step starts (nothing when absent); then `startLines` follow.
    std::optional<std::string_view> startLog;
    std::span<const std::string_view> startLines;
    bool drawsRandomNumbers = false;       // steps 6 and 7: the run seed is logged
    Button button = Button::ComputePlots;  // the window's button that runs it
    bool locksResetAndExit = false;        // Reset and Exit stay disabled while it runs
};

// The description of step `number` (5..9); nullptr for any other number.
const StepDescription* describeStep(int number);

struct StepEntry {
    const StepDescription* description = nullptr;
    StepFunction run = nullptr;
    const files::StepFiles* files = nullptr;  // what the step reads and writes
    int number() const { return description->number; }
};

// Steps 5 to 9 in order.
std::span<const StepEntry> stepTable();
// The entry of step `number` in `table`; nullptr when there is none.
const StepEntry* findStep(std::span<const StepEntry> table, int number);

}  // namespace orr::workflow
