#include "shell/workflow/StepFunctions.h"

#include "orr_workflow_steps.h"

#if ORRAVANT_HAVE_PHASE2
#include "engine/phase2/Phase2Totals.h"
#endif
#if ORRAVANT_HAVE_DISTRIBUTION
#include "engine/distribution/Distribution.h"
#endif
#if ORRAVANT_HAVE_PHASE1
#include "engine/phase1/Phase1.h"
#endif
#if ORRAVANT_HAVE_COMBINE
#include "engine/combine/Combine.h"
#endif
#if ORRAVANT_HAVE_DOUBLESAMPLE
#include "engine/doublesample/DoubleSample.h"
#endif

namespace orr::workflow {

StepSet builtInSteps() {
    StepSet steps;
#if ORRAVANT_HAVE_PHASE2
    steps.run[0] = &orr::runPhase2Totals;
#endif
#if ORRAVANT_HAVE_DISTRIBUTION
    steps.run[1] = &orr::runDistribution;
#endif
#if ORRAVANT_HAVE_PHASE1
    steps.run[2] = &orr::runPhase1;
#endif
#if ORRAVANT_HAVE_COMBINE
    steps.run[3] = &orr::runCombine;
#endif
#if ORRAVANT_HAVE_DOUBLESAMPLE
    steps.run[4] = &orr::runDoubleSample;
#endif
    return steps;
}

}  // namespace orr::workflow
