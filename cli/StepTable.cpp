#include "cli/StepTable.h"

#include "engine/combine/Combine.h"
#include "engine/distribution/Distribution.h"
#include "engine/doublesample/DoubleSample.h"
#include "engine/phase1/Phase1.h"
#include "engine/phase2/Phase2Totals.h"

// Each computation step adds its line here.

namespace orr {

const std::vector<StepEntry>& availableSteps() {
    static const std::vector<StepEntry> steps = {
        {5, &runPhase2Totals},
        {6, &runDistribution},
        {7, &runPhase1},
        {8, &runCombine},
        {9, &runDoubleSample},
    };
    return steps;
}

}  // namespace orr
