// The estimation half of DBLSAMPL: the estimates of every stratum index 0..H, the selection of
// each stratum's best regression, the stratified combination, and the regression report.
#pragma once

#include <string>
#include <vector>

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
    std::vector<SelectedEstimate> best;  // StratumBest: 0..H, and H+1 for the strata combined
    std::vector<double> n2;              // StratumN2 0..H: n of the last regression written
    std::vector<double> n2g;             // N2G 0..H: Phase 2 plots with ground trees
    std::string regressReport;           // the whole text of _Regress.txt
};

DoubleSampleEstimates estimateAllStrata(const DoubleSampleInputs& in);

}  // namespace orr
