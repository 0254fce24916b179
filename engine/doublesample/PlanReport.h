// The "Plan" section of the report for the browser: the cheapest double sample of each stratum
// alone and the design for the whole forest, for the plot costs and target error of the
// parameters, with the required plots rounded up, and where the LiDAR phase does not pay.
#pragma once

#include <string>
#include <string_view>

#include "engine/doublesample/PlanEstimates.h"

namespace orr {

// The section from its heading on; `dataSetName` names _Plan.csv, which holds the values
// unrounded.
std::string planSection(const InventoryPlan& plan, std::string_view dataSetName);

// The sentences that say where double sampling, or the LiDAR phase of the forest's design, does
// not pay, one per stratum concerned, as plain text.
std::vector<std::string> planNotes(const InventoryPlan& plan);

}  // namespace orr
