// Step 6: the LiDAR trees of every Phase 2 plot are drawn MaxItern times into the plot's
// species-product classes in proportion to its ground trees, grown into ground trees with the
// regression equations, and averaged; once for DataSet 1 (HIGH heights) and once for DataSet 2
// (LOW heights). Writes _PH2plotDS1.csv, _PH2plotDS2.csv and _PH2specDS1.csv.
#pragma once

#include "core/Session.h"
#include "core/StepHost.h"

namespace orr {

// The work of cmdIterate_Click. Returns true when the step completed and its files are in place;
// false when it stopped (no DataSet 1 LiDAR file, bad input, an empty DBH file, a LiDAR plot
// above MaxPlots that the parameters dialog did not cover), in which case no output file changed.
bool runDistribution(Session& session, StepHost& host);

}  // namespace orr
