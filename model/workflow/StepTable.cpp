#include "model/workflow/StepTable.h"

#include <array>

#include "engine/combine/CombineStep.h"
#include "engine/distribution/DistributionStep.h"
#include "engine/doublesample/DoubleSampleStep.h"
#include "engine/phase1/Phase1Step.h"
#include "engine/phase2/PlotTotalsStep.h"
#include "files/RunRecord.h"

namespace orr::workflow {

namespace {

// Step `Number` whose completed runs are recorded in the data set's _Run.csv.
template <int Number, StepFunction Run>
StepResult recorded(const StepInputs& inputs, StepHost& host) {
    // With expected shares steps 6 and 7 draw nothing, and no seed is recorded.
    const bool draws = describeStep(Number)->drawsRandomNumbers && !expectedShares(inputs.params);
    return files::runRecorded(Number, draws, Run, inputs, host);
}

}  // namespace

std::span<const StepEntry> stepTable() {
    static const std::array<StepEntry, 5> steps = {{
        {describeStep(5), &recorded<5, &computePlotTotals>},
        {describeStep(6), &recorded<6, &distributeLidarTrees>},
        {describeStep(7), &recorded<7, &computePhase1>},
        {describeStep(8), &recorded<8, &combinePhase2>},
        {describeStep(9), &recorded<9, &computeDoubleSample>},
    }};
    return steps;
}

}  // namespace orr::workflow
