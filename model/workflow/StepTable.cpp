#include "model/workflow/StepTable.h"

#include <array>

#include "engine/combine/CombineStep.h"
#include "engine/distribution/DistributionStep.h"
#include "engine/doublesample/DoubleSampleStep.h"
#include "engine/phase1/Phase1Step.h"
#include "engine/phase2/PlotTotalsStep.h"

namespace orr::workflow {

std::span<const StepEntry> stepTable() {
    static const std::array<StepEntry, 5> steps = {{
        {describeStep(5), &computePlotTotals, &plotTotalsFiles()},
        {describeStep(6), &distributeLidarTrees, &distributionFiles()},
        {describeStep(7), &computePhase1, &phase1Files()},
        {describeStep(8), &combinePhase2, &combineFiles()},
        {describeStep(9), &computeDoubleSample, &doubleSampleFiles()},
    }};
    return steps;
}

}  // namespace orr::workflow
