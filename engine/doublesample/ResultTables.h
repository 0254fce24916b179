// The values of the two reports as rows of data: every regression line of the regression report
// (_Estimates.csv) and every class line of the stratum volume report (_Allocation.csv), the same
// doubles the reports round, with the confidence interval of each estimate and what the LiDAR
// bought over the ground plots alone.
#pragma once

#include <optional>
#include <vector>

#include "engine/doublesample/Allocation.h"
#include "engine/doublesample/StratifiedEstimates.h"
#include "files/AllocationFile.h"
#include "files/EstimatesFile.h"

namespace orr {

// How many times as many ground plots a ground-only inventory of the stratum would need for the
// precision of regression k: groundSE^2 / S_ybarLR^2. nullopt with fewer than two ground plots
// (no ground standard error) or no standard error of the regression.
std::optional<double> efficiency(const StratumEstimate& e, int k);

// An estimate with its standard error, SE % and t, and its 95 % interval YbarLR -/+ t S_ybarLR.
void setEstimate(files::EstimateRecord& row, double ybarLR, double seYbarLR, double sePercent,
                 double t);

// The rows of _Estimates.csv in the regression report's order.
std::vector<files::EstimateRecord> estimateRecords(const DoubleSampleEstimates& est);

// The rows of _Allocation.csv in the stratum volume report's order.
std::vector<files::AllocationRecord> allocationRecords(const Allocation& a,
                                                       const DoubleSampleEstimates& est);

}  // namespace orr
