// The plan of the next inventory: for each stratum, and for the whole forest, the numbers of
// ground (Phase 2) and LiDAR (Phase 1) plots that reach the target sampling error at the least
// cost, for the plot costs of the parameters, and whether the LiDAR phase pays for itself.
//
// A double sample with n2 ground plots among n1 LiDAR plots estimates the mean with the variance
// S^2 (1 - rho^2) / n2 + S^2 rho^2 / n1 (S the standard deviation of ground volume, rho the
// correlation of the regression). Its cost is c2 n2 + c1 n1. For the variance V that gives the
// target error E, (E Ybar / (100 t))^2, the cheapest pair takes n1 / n2 = sqrt((c2/c1) rho^2 /
// (1 - rho^2)) LiDAR plots per ground plot. A ground-only inventory needs N_rs = S^2 / V plots.
//
// For the strata combined, the variance is sum_h W_h^2 S_h^2 ((1 - rho_h^2) / n2_h + rho_h^2 /
// n1_h) with the combination's weights W_h; the cheapest allocation reaching V0 = (E Ybar / (100
// t))^2 is n2_h = K W_h S_h sqrt((1 - rho_h^2) / c2), n1_h = K W_h S_h rho_h / sqrt(c1), with
// K = sum_h W_h S_h (sqrt(c2 (1 - rho_h^2)) + sqrt(c1) rho_h) / V0.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/doublesample/ChartData.h"
#include "engine/doublesample/PlanSettings.h"
#include "engine/doublesample/StratifiedEstimates.h"
#include "files/PlanFile.h"

namespace orr {

// The cheapest double sample of one stratum index alone, from its selected regression.
struct StratumPlan {
    int stratum = 0;
    int k = 0;  // the selected regression
    double rho2 = 0;
    double sY = 0;  // standard deviation of ground volume (plots with data of k's data set)
    double n2 = 0;  // present Phase 2 plots with data of k's data set
    double n1 = 0;  // present Phase 1 plots
    double sePercent = 0;
    std::optional<double> ratio;  // LiDAR plots per ground plot; none when rho^2 is 1
    double n2Required = 0;        // N2req of the regression report
    double n1Required = 0;        // N1req
    double cost = 0;
    double groundOnlyN = 0;  // N_rs
    double groundOnlyCost = 0;
    bool pays = false;  // cost < groundOnlyCost
};

// One stratum's share of the design for the whole forest.
struct ForestPlanStratum {
    int stratum = 0;
    std::optional<int> k;  // its selected regression; none when it enters by its ground mean
    double weight = 0;     // W_h
    double rho2 = 0;       // rho_h^2 (0 without a regression)
    double sY = 0;         // S_h
    double n2 = 0;         // present plots of the combined estimate's data set
    double n1 = 0;
    std::optional<double> sePercent;  // of the selected regression
    double n2Required = 0;            // n2_h
    double n1Required = 0;            // n1_h
    double cost = 0;
    double groundOnlyN = 0;  // its share of the ground-only inventory, in proportion to W_h S_h
    double groundOnlyCost = 0;
    bool pays = false;  // n1_h >= n2_h
};

struct ForestPlan {
    int k = 0;        // the regression of the combined estimate
    double Ybar = 0;  // the combined estimate
    double t = 0;     // its Student t
    double sePercent = 0;
    double V0 = 0;  // the variance that gives the target error
    double K = 0;
    std::vector<ForestPlanStratum> strata;
    double n2 = 0;  // present plots of the strata in the combination
    double n1 = 0;
    double n2Required = 0;
    double n1Required = 0;
    double cost = 0;
    double groundOnlyN = 0;  // (sum W_h S_h)^2 / V0
    double groundOnlyCost = 0;
    bool pays = false;  // cost < groundOnlyCost
};

struct InventoryPlan {
    PlanSettings settings;
    std::vector<StratumPlan> strata;   // the stratum indexes with a selected regression
    std::optional<ForestPlan> forest;  // only with a combined estimate
};

struct AreaEstimates;

// The plan for the costs and target of `settings` (which the estimates' required sizes must
// have been worked out for). With stratum areas (`areas`), the design for the whole forest
// reaches the target for the selected area-weighted combination, with the strata's area weights;
// without, for the selected plot-weighted one, with its plot weights.
InventoryPlan planInventory(const DoubleSampleEstimates& est, const PlanSettings& settings,
                            const AreaEstimates* areas = nullptr);

// The rows of _Plan.csv (files/PlanFile.h says what each column holds).
std::vector<files::PlanRecord> planRecords(const InventoryPlan& plan);

// The cost of reaching the target in a stratum with r LiDAR plots per ground plot:
// N_rs ((1 - rho^2) + rho^2 / r) (c2 + c1 r); its least value is the plan's cost, at its ratio.
double costAtRatio(const StratumPlan& p, const PlanSettings& settings, double r);

// That cost over a range of ratios around the optimum (a fifth of it to five times it, or 0.4 to
// 10 when there is none), `points` points evenly spaced on a logarithmic scale.
std::vector<ChartPoint> costCurve(const StratumPlan& p, const PlanSettings& settings,
                                  int points = 61);

}  // namespace orr
