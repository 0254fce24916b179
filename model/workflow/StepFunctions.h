// The computation steps 5 to 9 as the workflow runs them. A step that this build does not
// contain is an empty entry; the workflow then reports it as not available.
#pragma once

#include <array>

#include "core/Session.h"
#include "core/StepHost.h"

namespace orr::workflow {

using StepFunction = bool (*)(Session&, StepHost&);

struct StepSet {
    std::array<StepFunction, 5> run{};  // steps 5, 6, 7, 8, 9
    StepFunction forStep(int step) const {
        return step >= 5 && step <= 9 ? run[static_cast<std::size_t>(step - 5)] : nullptr;
    }
};

// Every step that this build was linked with.
StepSet builtInSteps();

}  // namespace orr::workflow
