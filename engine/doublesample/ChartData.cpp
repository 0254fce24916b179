#include "engine/doublesample/ChartData.h"

#include <algorithm>

#include "engine/doublesample/ResultTables.h"

namespace orr {

ScatterExtent scatterExtent(const StratumScatter& s) {
    ScatterExtent e{s.phase1Mean, s.phase1Mean, 0, 0};
    for (const ChartPoint& p : s.plots) {
        e.xLow = std::min(e.xLow, p.x);
        e.xHigh = std::max(e.xHigh, p.x);
        e.yLow = std::min(e.yLow, p.y);
        e.yHigh = std::max(e.yHigh, p.y);
    }
    if (s.hasRegression) {
        for (const double y : {s.lineFrom.y, s.lineTo.y, s.estimate}) {
            e.yLow = std::min(e.yLow, y);
            e.yHigh = std::max(e.yHigh, y);
        }
    }
    return e;
}

StratumScatter stratumScatter(const DoubleSampleInputs& in, const DoubleSampleEstimates& est, int h,
                              std::optional<int> k) {
    const auto index = static_cast<std::size_t>(h);
    const StratumEstimate& e = est.strata[index];
    StratumScatter s;
    s.stratum = h;
    s.k = k.value_or(std::max(est.selected[index], 0));
    s.hasRegression = est.written[index][s.k];
    s.selected = est.selected[index] == s.k;
    const std::size_t d = static_cast<std::size_t>(dataSetOf(s.k));
    for (const Phase2Plot& plot : in.phase2[index]) {
        if (plot.x[2 * d] == 0 && plot.x[2 * d + 1] == 0) continue;
        s.plots.push_back({plot.x[s.k], plot.y});
    }
    const RegressionResult& r = e.reg[s.k];
    s.phase1Mean = r.phase1Mean;
    if (!s.hasRegression) return s;

    double low = s.phase1Mean;
    double high = s.phase1Mean;
    for (const ChartPoint& p : s.plots) {
        low = std::min(low, p.x);
        high = std::max(high, p.x);
    }
    const auto fitted = [&](double x) { return e.ybar[d] + r.Beta * (x - r.phase2Mean); };
    s.lineFrom = {low, fitted(low)};
    s.lineTo = {high, fitted(high)};
    s.estimate = r.YbarLR;
    s.rSquared = r.IdxFt / 100;
    s.sePercent = r.SE;
    s.efficiency = efficiency(e, s.k);
    return s;
}

std::vector<EstimateInterval> estimateIntervals(const DoubleSampleEstimates& est,
                                                std::optional<int> k) {
    std::vector<EstimateInterval> bars;
    const auto interval = [](std::string label, int k, double y, double t, double se) {
        return EstimateInterval{std::move(label), true, k, y, y - t * se, y + t * se};
    };
    for (int h = 0; h <= est.H; ++h) {
        const auto index = static_cast<std::size_t>(h);
        const std::string label = h == 0 ? "non-stratified" : std::to_string(h);
        const int shown = k.value_or(est.selected[index]);
        if (shown < 0 || !est.written[index][shown]) {
            bars.push_back({label});
            continue;
        }
        const RegressionResult& r = est.strata[index].reg[shown];
        bars.push_back(interval(label, shown, r.YbarLR, r.t, r.SybarLR));
    }
    EstimateInterval combined{"combined"};
    for (const CombinedEstimate& c : est.combined) {
        if (k ? c.k == *k : c.selected)
            combined = interval("combined", c.k, c.YbarLR, c.t, c.SybarLR);
    }
    bars.push_back(std::move(combined));
    return bars;
}

}  // namespace orr
