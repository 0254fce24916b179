// The computation steps that the command line can run, in step order.
#pragma once

#include <vector>

#include "core/Session.h"
#include "core/StepHost.h"

namespace orr {

struct StepEntry {
    int number;                           // 5..9
    bool (*run)(Session&, StepHost&);     // true when the step completed
};

// Every step that exists, in order.
const std::vector<StepEntry>& availableSteps();

}  // namespace orr
