// Step 9, "Compute Double Sample": regression estimates of mean ground volume per stratum, for
// all plots and for the strata combined, allocated to species-product classes, written to the
// reports _Regress.txt and _StratVol.txt, as data to _Estimates.csv and _Allocation.csv, and to
// the report for the browser _Report.html.
#pragma once

#include "core/Step.h"
#include "engine/doublesample/DoubleSampleInputs.h"
#include "engine/doublesample/StratifiedEstimates.h"
#include "files/StepFiles.h"

namespace orr {

// Reads the files doubleSampleFiles() declares, each once (_Phase1DS2.csv only when not empty),
// and shows in its report the runs of steps 5 to 8 that its runner hands over in
// `inputs.history`; writes _StratVol.txt, _Regress.txt, _Estimates.csv, _Allocation.csv and
// _Report.html.
StepResult computeDoubleSample(const StepInputs& inputs, StepHost& host);

// What step 9 hands over in its result (StepResult::details): what it read of the regression
// inputs and the estimates it made, for the results window.
struct DoubleSampleResults : StepDetails {
    DoubleSampleInputs inputs;
    DoubleSampleEstimates estimates;
};

// What step 9 reads and writes; its runner checks the inputs and records the run by it.
const files::StepFiles& doubleSampleFiles();

}  // namespace orr
