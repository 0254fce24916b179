// Step 9, "Compute Double Sample": regression estimates of mean ground volume per stratum, for
// all plots and for the strata combined, allocated to species-product classes, written to the
// reports _Regress.txt and _StratVol.txt.
#pragma once

#include "core/Session.h"
#include "core/StepHost.h"

namespace orr {

// The work of cmdComputeDoubleSample_Click. Reads the strata file, _Phase1DS1.csv,
// _Phase1DS2.csv (when not empty), _Phase2.csv, _PH2Plot.csv, _PH2Sum.csv and the tree input
// file; writes _Regress.txt and _StratVol.txt. Returns true when the step completed. A missing
// input or a record it cannot use gives one critical message; the step then returns false and
// no file is replaced.
bool runDoubleSample(Session& session, StepHost& host);

}  // namespace orr
