// The regression estimates of every stratum index 0..H, the selection of each stratum's best
// regression, the stratified combination of the strata, and the regression report that shows
// them.
#pragma once

#include <vector>

#include "core/OutputSet.h"
#include "engine/doublesample/DoubleSampleInputs.h"

namespace orr {

// The estimate selected for a stratum index (all 0 when nothing was selected).
struct SelectedEstimate {
    double YbarLR = 0;
    double SybarLR = 0;
    double SE = 0;  // percent
};

struct DoubleSampleEstimates {
    int H = 0;
    std::vector<SelectedEstimate> best;  // 0..H, and H+1 for the strata combined
    std::vector<double> n2;              // 0..H: n of the last regression written
    std::vector<double> n2g;             // 0..H: Phase 2 plots with ground trees
};

// Estimates every stratum index and the strata combined, and writes the regression report
// (_Regress.txt) to `report`.
DoubleSampleEstimates estimateAllStrata(const DoubleSampleInputs& in, OutputFile& report);

}  // namespace orr
