// Step 8, "Combine Phase 2": the ground totals of step 5, the LiDAR totals of step 6 for both
// data sets and the Phase 1 totals of step 7, brought together per Phase 2 plot in _Phase2.csv
// and summarised per species-product class in the report _VolSum.txt.
#pragma once

#include "core/Step.h"
#include "files/StepFiles.h"

namespace orr {

// Reads _PH2plotDS1.csv, _PH2Sum.csv and _Phase1DS1.csv (all three required) and, when they hold
// anything, _PH2plotDS2.csv and _Phase1DS2.csv; writes _VolSum.txt and _Phase2.csv. A missing
// input stops the step with a message naming the file and the step that writes it.
StepResult combinePhase2(const StepInputs& inputs, StepHost& host);

// What step 8 reads and writes; its runner checks the inputs and records the run by it.
const files::StepFiles& combineFiles();

}  // namespace orr
