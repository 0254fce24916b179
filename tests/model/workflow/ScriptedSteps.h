// Stand-ins for the computation steps 5 to 9: each does what the test put in its slot and
// reports whether it completed. They let the workflow's rules be checked without real data.
#pragma once

#include <functional>
#include <vector>

#include "model/workflow/StepFunctions.h"

namespace orr::test {

struct ScriptedSteps {
    // Behaviour of steps 5..9 (index step - 5); an empty slot completes without doing anything.
    static std::function<bool(Session&, StepHost&)> behaviour[5];
    // The steps run so far, in order.
    static std::vector<int> calls;
    static void clear();
    // A step set whose entries run the slots above; `missing` leaves one step out (0 = none).
    static workflow::StepSet steps(int missing = 0);
};

}  // namespace orr::test
