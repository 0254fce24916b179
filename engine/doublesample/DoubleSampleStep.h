// Step 9, "Compute Double Sample": regression estimates of mean ground volume per stratum, for
// all plots and for the strata combined, allocated to species-product classes, written to the
// reports _Regress.txt and _StratVol.txt, as data to _Estimates.csv and _Allocation.csv, to
// the report for the browser _Report.html, and the plan of the next inventory to _Plan.csv.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Step.h"
#include "engine/doublesample/AreaEstimates.h"
#include "engine/doublesample/DoubleSampleInputs.h"
#include "engine/doublesample/PlanEstimates.h"
#include "engine/doublesample/StratifiedEstimates.h"
#include "files/StepFiles.h"

namespace orr {

// Reads the files doubleSampleFiles() declares, each once (_Phase1DS2.csv only when not empty,
// the stratum areas only when chosen), and shows in its report the runs of steps 5 to 8 that its
// runner hands over in `inputs.history`; writes _StratVol.txt, _Regress.txt, _Estimates.csv,
// _Allocation.csv, _Report.html and _Plan.csv.
StepResult computeDoubleSample(const StepInputs& inputs, StepHost& host);

// What step 9 hands over in its result (StepResult::details): what it read of the regression
// inputs and the estimates it made, for the results window.
struct DoubleSampleResults : StepDetails {
    DoubleSampleInputs inputs;
    DoubleSampleEstimates estimates;
    std::optional<AreaEstimates> areas;  // when the stratum areas are chosen
    std::vector<std::string> areaNotes;  // what the areas leave out
    InventoryPlan plan;
};

// The same results for a run of step 9 made before the program started (a data set opened
// again): read from the files step 9 reads for its regressions and estimated by its own code.
// Throws InputError for a file it cannot use.
std::shared_ptr<const DoubleSampleResults> readEarlierResults(const StepInputs& inputs);

// What step 9 reads and writes; its runner checks the inputs and records the run by it.
const files::StepFiles& doubleSampleFiles();

}  // namespace orr
