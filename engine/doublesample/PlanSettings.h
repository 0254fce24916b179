// What the plan of the next inventory is worked out for: the cost of a ground (Phase 2) plot c2,
// the cost of a LiDAR (Phase 1) plot c1 and the sampling error aimed at, E percent. The user sets
// them with the other parameters (GroundPlotCost, LidarPlotCost, TargetError); the defaults, a
// ground plot ten times a LiDAR plot and 10 percent, give the required sample sizes of the
// regression report as they always were.
#pragma once

#include "core/Parameters.h"

namespace orr {

struct PlanSettings {
    double groundPlotCost = 10;  // c2
    double lidarPlotCost = 1;    // c1
    double targetError = 10;     // E, percent

    static PlanSettings of(const ParamRecord& p) {
        return {p.GroundPlotCost, p.LidarPlotCost, p.TargetError};
    }
};

}  // namespace orr
