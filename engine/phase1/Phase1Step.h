// Step 7, the Phase 1 computation: every LiDAR tree of the Phase 1 height files gets a species
// drawn from the Phase 2 species shares of its plot's stratum, is turned into ground terms, and
// the trees are summed per plot and species into the Phase 1 files of DataSet 1 and DataSet 2.
#pragma once

#include "core/Step.h"

namespace orr {

StepResult computePhase1(const StepInputs& inputs, StepHost& host);

}  // namespace orr
