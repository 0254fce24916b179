// Step 9, "Compute Double Sample": regression estimates of mean ground volume per stratum, for
// all plots and for the strata combined, allocated to species-product classes, written to the
// reports _Regress.txt and _StratVol.txt, as data to _Estimates.csv and _Allocation.csv, to
// the report for the browser _Report.html, and the plan of the next inventory to _Plan.csv.
#pragma once

#include "core/Step.h"

namespace orr {

// Reads the strata file, _Phase1DS1.csv, _Phase1DS2.csv (when not empty), _Phase2.csv,
// _PH2Plot.csv, _PH2Sum.csv and the tree input file, and the runs of steps 5 to 8 recorded in
// _Run.csv; writes _StratVol.txt, _Regress.txt, _Estimates.csv, _Allocation.csv, _Report.html
// and _Plan.csv. A missing input stops the step with a message naming the file and where it
// comes from.
StepResult computeDoubleSample(const StepInputs& inputs, StepHost& host);

}  // namespace orr
