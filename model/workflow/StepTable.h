// The one table of computation steps 5 to 9, used by the desktop program, by step 10 and by
// orravant-cli run: what each step runs, the captions it shows, how it starts the log and which
// chosen input files it needs.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "core/Step.h"

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
    bool drawsRandomNumbers = false;  // steps 6 and 7: the run seed is logged
    // The window asks for these files before the step starts when they are not chosen yet.
    bool needsTreeFile = false;    // the Phase 2 tree input file (step 5)
    bool needsLidarFiles = false;  // the LiDAR files, DataSet 1 at least (steps 6 and 7)
};

// The description of step `number` (5..9); nullptr for any other number.
const StepDescription* describeStep(int number);

struct StepEntry {
    const StepDescription* description = nullptr;
    StepFunction run = nullptr;
    int number() const { return description->number; }
};

// Steps 5 to 9 in order.
std::span<const StepEntry> stepTable();
// The entry of step `number` in `table`; nullptr when there is none.
const StepEntry* findStep(std::span<const StepEntry> table, int number);

}  // namespace orr::workflow
