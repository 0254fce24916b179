#include "engine/doublesample/PlanEstimates.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/doublesample/AreaEstimates.h"

namespace orr {

namespace {

StratumPlan stratumPlan(const DoubleSampleEstimates& est, int h, const PlanSettings& s) {
    const auto index = static_cast<std::size_t>(h);
    const StratumEstimate& e = est.strata[index];
    const int k = est.selected[index];
    const int d = dataSetOf(k);
    const RegressionResult& r = e.reg[k];
    StratumPlan p;
    p.stratum = h;
    p.k = k;
    p.rho2 = r.Rho * r.Rho;
    p.sY = std::sqrt(e.s2[d]);
    p.n2 = e.n[d];
    p.n1 = e.N1[d];
    p.sePercent = r.SE;
    if (p.rho2 < 1) p.ratio = std::sqrt(s.groundPlotCost / s.lidarPlotCost * p.rho2 / (1 - p.rho2));
    p.n2Required = r.N2req;
    p.n1Required = r.N1req;
    p.cost = s.groundPlotCost * p.n2Required + s.lidarPlotCost * p.n1Required;
    p.groundOnlyN = r.Nrs;
    p.groundOnlyCost = s.groundPlotCost * r.Nrs;
    p.pays = p.cost < p.groundOnlyCost;
    return p;
}

// The combined estimate the design aims at, with the weights of its strata (index 0..H).
struct DesignTarget {
    int k = 0;
    double Ybar = 0;
    double t = 0;
    double sePercent = 0;
    std::vector<double> weights;
};

// The selected combination: by area where the stratum areas are given, by plots otherwise.
std::optional<DesignTarget> designTarget(const DoubleSampleEstimates& est,
                                         const AreaEstimates* areas) {
    if (areas) {
        for (const AreaCombinedEstimate& c : areas->combined) {
            if (!c.selected) continue;
            DesignTarget target{c.k, c.mean, c.t, c.sePercent, {}};
            target.weights.assign(static_cast<std::size_t>(est.H) + 1, 0.0);
            for (int h = 1; h <= est.H; ++h) {
                const auto index = static_cast<std::size_t>(h);
                if (index < areas->acres.size())
                    target.weights[index] = areas->acres[index] / areas->totalAcres;
            }
            return target;
        }
        return std::nullopt;
    }
    for (const CombinedEstimate& c : est.combined) {
        if (c.selected) return DesignTarget{c.k, c.YbarLR, c.t, c.SE, combinationWeights(est, c.k)};
    }
    return std::nullopt;
}

// The design for the strata combined in the selected combined estimate.
std::optional<ForestPlan> forestPlan(const DoubleSampleEstimates& est, const PlanSettings& s,
                                     const AreaEstimates* areas) {
    const std::optional<DesignTarget> target = designTarget(est, areas);
    if (!target) return std::nullopt;

    ForestPlan f;
    f.k = target->k;
    f.Ybar = target->Ybar;
    f.t = target->t;
    f.sePercent = target->sePercent;
    const double allowed = s.targetError * f.Ybar / (100 * f.t);
    f.V0 = allowed * allowed;

    const int d = dataSetOf(f.k);
    const std::vector<double>& weights = target->weights;
    const double rootC1 = std::sqrt(s.lidarPlotCost);
    double designSum = 0;  // sum W_h S_h (sqrt(c2 (1 - rho_h^2)) + sqrt(c1) rho_h)
    double spreadSum = 0;  // sum W_h S_h
    for (int h = 1; h <= est.H; ++h) {
        const auto index = static_cast<std::size_t>(h);
        if (!(weights[index] > 0)) continue;  // not in the combination
        const StratumEstimate& e = est.strata[index];
        ForestPlanStratum p;
        p.stratum = h;
        p.weight = weights[index];
        p.n2 = e.n[d];
        p.n1 = e.N1[d];
        if (const int k = est.selected[index]; k >= 0) {
            p.k = k;
            p.rho2 = e.reg[k].Rho * e.reg[k].Rho;
            p.sY = std::sqrt(e.s2[dataSetOf(k)]);
            p.sePercent = e.reg[k].SE;
        } else {
            // Entered through the mean of its ground plots: no LiDAR regression to lean on.
            p.sY = e.groundSE * std::sqrt(e.N2G);
        }
        // A perfect fit may leave rho^2 a rounding error above 1.
        const double rest = std::max(0.0, 1 - p.rho2);
        designSum +=
            p.weight * p.sY * (std::sqrt(s.groundPlotCost * rest) + rootC1 * std::sqrt(p.rho2));
        spreadSum += p.weight * p.sY;
        f.strata.push_back(p);
    }
    f.K = designSum / f.V0;
    f.groundOnlyN = spreadSum * spreadSum / f.V0;
    f.groundOnlyCost = s.groundPlotCost * f.groundOnlyN;
    for (ForestPlanStratum& p : f.strata) {
        const double ws = p.weight * p.sY;
        p.n2Required = f.K * ws * std::sqrt(std::max(0.0, 1 - p.rho2) / s.groundPlotCost);
        p.n1Required = f.K * ws * std::sqrt(p.rho2) / rootC1;
        p.cost = s.groundPlotCost * p.n2Required + s.lidarPlotCost * p.n1Required;
        p.groundOnlyN = ws * spreadSum / f.V0;
        p.groundOnlyCost = s.groundPlotCost * p.groundOnlyN;
        p.pays = !(p.n1Required < p.n2Required);
        f.n2 += p.n2;
        f.n1 += p.n1;
        f.n2Required += p.n2Required;
        f.n1Required += p.n1Required;
        f.cost += p.cost;
    }
    f.pays = f.cost < f.groundOnlyCost;
    return f;
}

// The columns a stratum's own plan and its share of the design for the whole forest fill alike.
template <class Plan>
files::PlanRecord planRow(std::string stratum, std::string variable, const Plan& p) {
    files::PlanRecord row;
    row.stratum = std::move(stratum);
    row.variable = std::move(variable);
    row.rho2 = p.rho2;
    row.sY = p.sY;
    row.n2 = p.n2;
    row.n1 = p.n1;
    row.sePercent = p.sePercent;
    row.n2Required = p.n2Required;
    row.n1Required = p.n1Required;
    row.cost = p.cost;
    row.groundOnlyN = p.groundOnlyN;
    row.groundOnlyCost = p.groundOnlyCost;
    row.pays = p.pays;
    return row;
}

}  // namespace

InventoryPlan planInventory(const DoubleSampleEstimates& est, const PlanSettings& settings,
                            const AreaEstimates* areas) {
    InventoryPlan plan;
    plan.settings = settings;
    for (int h = 0; h <= est.H; ++h) {
        if (est.selected[static_cast<std::size_t>(h)] >= 0)
            plan.strata.push_back(stratumPlan(est, h, settings));
    }
    plan.forest = forestPlan(est, settings, areas);
    return plan;
}

std::vector<files::PlanRecord> planRecords(const InventoryPlan& plan) {
    std::vector<files::PlanRecord> rows;
    for (const StratumPlan& p : plan.strata) {
        files::PlanRecord row =
            planRow(std::to_string(p.stratum), std::string(variableName(p.k)), p);
        row.ratio = p.ratio;
        rows.push_back(std::move(row));
    }
    if (!plan.forest) return rows;
    const ForestPlan& f = *plan.forest;
    for (const ForestPlanStratum& p : f.strata) {
        files::PlanRecord row = planRow("all", "stratum " + std::to_string(p.stratum), p);
        if (p.n2Required > 0) row.ratio = p.n1Required / p.n2Required;
        rows.push_back(std::move(row));
    }
    files::PlanRecord total;
    total.stratum = "all";
    total.variable = "total";
    total.n2 = f.n2;
    total.n1 = f.n1;
    total.sePercent = f.sePercent;
    total.n2Required = f.n2Required;
    total.n1Required = f.n1Required;
    total.cost = f.cost;
    total.groundOnlyN = f.groundOnlyN;
    total.groundOnlyCost = f.groundOnlyCost;
    total.pays = f.pays;
    rows.push_back(std::move(total));
    return rows;
}

double costAtRatio(const StratumPlan& p, const PlanSettings& s, double r) {
    return p.groundOnlyN * ((1 - p.rho2) + p.rho2 / r) * (s.groundPlotCost + s.lidarPlotCost * r);
}

std::vector<ChartPoint> costCurve(const StratumPlan& p, const PlanSettings& s, int points) {
    const double centre = p.ratio && *p.ratio > 0 ? *p.ratio : 2;
    const double low = std::log(centre / 5);
    const double high = std::log(centre * 5);
    std::vector<ChartPoint> curve;
    for (int i = 0; i < points; ++i) {
        const double r = std::exp(low + (high - low) * i / (points - 1));
        curve.push_back({r, costAtRatio(p, s, r)});
    }
    return curve;
}

}  // namespace orr
