// Step 7, the Phase 1 computation: every LiDAR tree of the Phase 1 height files gets a species
// drawn from the Phase 2 species shares of its plot's stratum, is turned into ground terms, and
// the trees are summed per plot and species into _Phase1DS1.csv and _Phase1DS2.csv.
#pragma once

#include <string>

#include "core/Session.h"
#include "core/StepHost.h"

namespace orr {

// cmdComputePhase1_Click's work. True when the step completed and its files are in place; false
// when it stopped (no DataSet 1 LiDAR file chosen, or an input it cannot use, after one message),
// in which case every earlier output file is left as it was.
bool runPhase1(Session& session, StepHost& host);

// Caption of LblHighLidar7 (pass 1) or LblLowLidar7 (pass 2): the LiDAR file's bare name and the
// output file of the pass.
std::string phase1LidarCaption(const Session& session, int pass);

}  // namespace orr
