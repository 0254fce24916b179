// Step 5: heights, volumes and plot totals of the Phase 2 ground trees. Reads the tree input
// file, the coefficient file and the DBH file; writes _PH2TreeV.csv, _PH2Plot.csv, _PH2PlotT.csv
// and _PH2Sum.csv.
#pragma once

#include "core/Step.h"
#include "files/StepFiles.h"

namespace orr {

StepResult computePlotTotals(const StepInputs& inputs, StepHost& host);

// What step 5 reads and writes; its runner checks the inputs and records the run by it.
const files::StepFiles& plotTotalsFiles();

}  // namespace orr
