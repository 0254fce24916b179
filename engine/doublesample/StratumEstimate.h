// The double-sample regression estimates of one stratum index: the four regressions of ground
// volume on a LiDAR variable, fitted on the stratum's Phase 2 plots and applied to the mean of
// its Phase 1 plots.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "engine/doublesample/DoubleSampleInputs.h"
#include "engine/doublesample/PlanSettings.h"

namespace orr {

// Regressions k = 0..3: LiDAR BA and volume of DataSet 1, LiDAR BA and volume of DataSet 2.
inline constexpr int kRegressions = 4;
inline constexpr int dataSetOf(int k) {
    return k / 2;
}
// The independent variable of regression k as the reports name it.
std::string_view variableName(int k);

inline constexpr float kErrorProbability = 0.05f;  // two-sided, 95 percent confidence

struct RegressionResult {
    double phase1Mean = 0;  // x-bar' of the Phase 1 plots
    double phase2Mean = 0;  // x-bar of the Phase 2 plots with data of the regression's data set
    // The results; all 0 when the regression cannot be computed for the stratum.
    double Beta = 0;
    double IdxFt = 0;
    double MSE = 0;
    double SybarLR = 0;
    double Rho = 0;
    double YbarLR = 0;
    double SE = 0;  // percent
    double t = 0;   // Student t of n - 2 degrees of freedom, as SE uses it
    // Plots a ground-only inventory needs for the target error E: t^2 CV^2 / E^2.
    double Nrs = 0;
    // The LiDAR and ground plots of the cheapest double sample that reaches E, with c1 and c2 the
    // costs of a LiDAR and a ground plot: Nrs (rho^2 + sqrt((c2/c1) rho^2 (1 - rho^2))) and
    // Nrs ((1 - rho^2) + sqrt((c1/c2) rho^2 (1 - rho^2))).
    double N1req = 0;
    double N2req = 0;
};

struct StratumEstimate {
    // Per data set (0 = DataSet 1, 1 = DataSet 2).
    std::array<double, 2> N1{};    // Phase 1 plots
    std::array<double, 2> n{};     // Phase 2 plots with LiDAR data of the data set
    std::array<double, 2> ybar{};  // their mean ground volume
    std::array<double, 2> SSy{};
    std::array<double, 2> s2{};
    std::array<double, 2> CV{};  // percent
    double N2G = 0;              // Phase 2 plots with ground trees
    double ybarG = 0;            // their mean ground volume
    // The standard error of that mean, s_G / sqrt(N2G) with s_G^2 = sum (y - ybarG)^2 / (N2G - 1):
    // what the stratum's ground plots alone tell; 0 with fewer than two plots.
    double groundSE = 0;
    std::array<RegressionResult, kRegressions> reg{};
};

// Estimates of one stratum index from its Phase 1 totals per data set and its Phase 2 plots.
// A regression that cannot be computed (no variation in x or in y, fewer than three Phase 2
// plots, no Phase 1 plots, a ground mean of 0, a negative variance, an estimate of 0) keeps all
// its results at 0, so it is neither written, selected nor combined. The required sample sizes
// are those for the plot costs and target error of `plan`.
StratumEstimate estimateStratum(const std::array<Phase1Totals, 2>& phase1,
                                const std::vector<Phase2Plot>& plots,
                                const PlanSettings& plan = {});

}  // namespace orr
