// Step 8, "Combine Phase 2": the ground totals of step 5, the LiDAR totals of step 6 for both
// data sets and the Phase 1 totals of step 7, brought together per Phase 2 plot in _Phase2.csv
// and summarised per species-product class in the report _VolSum.txt.
#pragma once

#include "core/Session.h"
#include "core/StepHost.h"

namespace orr {

// The work of cmdCombinePhase2_Click. Reads _PH2plotDS1.csv, _PH2Sum.csv and _Phase1DS1.csv
// (all three required) and, when present, _PH2plotDS2.csv and _Phase1DS2.csv; writes
// _VolSum.txt and _Phase2.csv. Returns true when the step completed. On a missing input or a
// record it cannot use it shows one critical message and returns false, and no output file is
// replaced.
bool runCombine(Session& session, StepHost& host);

}  // namespace orr
