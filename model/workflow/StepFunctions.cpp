#include "model/workflow/StepFunctions.h"

#include "engine/combine/Combine.h"
#include "engine/distribution/Distribution.h"
#include "engine/doublesample/DoubleSample.h"
#include "engine/phase1/Phase1.h"
#include "engine/phase2/Phase2Totals.h"

namespace orr::workflow {

StepSet builtInSteps() {
    StepSet steps;
    steps.run = {&orr::runPhase2Totals, &orr::runDistribution, &orr::runPhase1, &orr::runCombine,
                 &orr::runDoubleSample};
    return steps;
}

}  // namespace orr::workflow
