// What the charts of the results show, worked out once for the window's charts and the report's
// SVG: for each stratum the Phase 2 plots' ground volume against a LiDAR variable with the
// fitted regression line and the Phase 1 mean, and every stratum's estimate with its 95 percent
// confidence interval.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/doublesample/DoubleSampleInputs.h"
#include "engine/doublesample/StratifiedEstimates.h"

namespace orr {

struct ChartPoint {
    double x = 0;
    double y = 0;
    bool operator==(const ChartPoint&) const = default;
};

struct StratumScatter {
    int stratum = 0;
    int k = 0;                   // the regression whose LiDAR variable is on the x axis
    bool hasRegression = false;  // the regression is written for the stratum
    bool selected = false;       // and is the stratum's estimate
    // The Phase 2 plots with LiDAR data of the regression's data set: (LiDAR value, ground volume).
    std::vector<ChartPoint> plots;
    // The fitted line y = ybar + Beta (x - xbar) over the plots and the Phase 1 mean.
    ChartPoint lineFrom;
    ChartPoint lineTo;
    double phase1Mean = 0;  // mean of the LiDAR variable over the Phase 1 plots
    double estimate = 0;    // YbarLR, the estimate at the Phase 1 mean
    double rSquared = 0;    // IdxFt / 100
    double sePercent = 0;
    std::optional<double> efficiency;
};

// The scatter of stratum index h for regression k, or for the stratum's selected regression when
// k is nullopt (LiDAR basal area of DataSet 1 without a line when it has none).
StratumScatter stratumScatter(const DoubleSampleInputs& in, const DoubleSampleEstimates& est, int h,
                              std::optional<int> k);

// What a scatter's axes must cover: the plots, the Phase 1 mean, the fitted line and the
// estimate; the ground volume from 0 at least.
struct ScatterExtent {
    double xLow = 0;
    double xHigh = 0;
    double yLow = 0;
    double yHigh = 0;
};
ScatterExtent scatterExtent(const StratumScatter& s);

// An estimate with its 95 percent confidence interval: estimate -/+ t S_ybarLR.
struct EstimateInterval {
    std::string label;     // "non-stratified", the stratum number, "combined"
    bool present = false;  // false: no estimate of this regression (or none selected)
    int k = 0;
    double estimate = 0;
    double low = 0;
    double high = 0;
};

// Stratum indexes 0..H and the strata combined, for regression k or for the selected estimates.
std::vector<EstimateInterval> estimateIntervals(const DoubleSampleEstimates& est,
                                                std::optional<int> k);

}  // namespace orr
