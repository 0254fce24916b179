// Step 7, the Phase 1 computation: every LiDAR tree of the Phase 1 height files gets a species
// drawn from the Phase 2 species shares of its plot's stratum, is turned into ground terms, and
// the trees are summed per plot and species into the Phase 1 files of DataSet 1 and DataSet 2.
#pragma once

#include "core/Step.h"
#include "files/StepFiles.h"

namespace orr {

StepResult computePhase1(const StepInputs& inputs, StepHost& host);

// What step 7 reads and writes; its runner checks the inputs and records the run by it.
const files::StepFiles& phase1Files();

}  // namespace orr
