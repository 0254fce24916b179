// Stand-ins for the computation steps 5 to 9: each does what the test put in its slot and returns
// its result. They let the workflow's rules be checked without real data.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include "model/workflow/StepTable.h"

namespace orr::test {

struct ScriptedSteps {
    // Behaviour of steps 5..9 (index step - 5); an empty slot completes without doing anything.
    static std::function<StepResult(const StepInputs&, StepHost&)> behaviour[5];
    // The steps run so far, in order.
    static std::vector<int> calls;
    static void clear();
    // A step table whose entries run the slots above, with the real steps' descriptions.
    static std::span<const workflow::StepEntry> steps();
};

}  // namespace orr::test
