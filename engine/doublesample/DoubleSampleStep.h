// Step 9, "Compute Double Sample": regression estimates of mean ground volume per stratum, for
// all plots and for the strata combined, allocated to species-product classes, written to the
// reports _Regress.txt and _StratVol.txt.
#pragma once

#include "core/Step.h"

namespace orr {

// Reads the strata file, _Phase1DS1.csv, _Phase1DS2.csv (when not empty), _Phase2.csv,
// _PH2Plot.csv, _PH2Sum.csv and the tree input file; writes _StratVol.txt and _Regress.txt. A
// missing input stops the step with a message naming the file and where it comes from.
StepResult computeDoubleSample(const StepInputs& inputs, StepHost& host);

}  // namespace orr
