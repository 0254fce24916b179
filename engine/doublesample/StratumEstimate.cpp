#include "engine/doublesample/StratumEstimate.h"

#include <algorithm>
#include <cmath>

#include "engine/doublesample/StudentT.h"

namespace orr {

namespace {

// A corrected sum of squares that is zero up to rounding: the values do not vary.
bool noVariation(double corrected, double sumOfSquares) {
    return corrected <= sumOfSquares * 1e-12;
}

struct Sums {
    std::array<double, kRegressions> x{}, x2{}, xy{};
    std::array<double, 2> y{}, y2{};
    double yG = 0;
};

// The fit of regression k from its sums; leaves r's results at 0 when it cannot be computed.
void fitRegression(int k, const StratumEstimate& e, const Sums& s, double SSx, double SPxy,
                   const PlanSettings& plan, RegressionResult& r) {
    const int d = dataSetOf(k);
    const double n = e.n[d];
    const double N1 = e.N1[d];
    const double SSy = e.SSy[d];
    if (n <= 2 || N1 == 0 || e.ybar[d] == 0) return;
    if (SSy == 0 || noVariation(SSx, s.x2[k])) return;

    const double beta = SPxy / SSx;
    const double SSE = SSy - beta * SPxy;
    const double MSE = (SSy - SPxy * SPxy / SSx) / (n - 2);
    const double M = n + N1;
    const double dx = r.phase1Mean - r.phase2Mean;
    const double radicand =
        (1 - N1 / M) * e.s2[d] / N1 + (1 - n / N1) * MSE * (1 / n + dx * dx / SSx);
    if (!(radicand >= 0)) return;
    const double YbarLR = e.ybarG + beta * dx;
    if (YbarLR == 0) return;

    r.Beta = beta;
    r.IdxFt = 100 * (1 - SSE / SSy);
    r.MSE = MSE;
    r.SybarLR = std::sqrt(radicand);
    r.Rho = SPxy / std::sqrt(SSx * SSy);
    r.YbarLR = YbarLR;
    const double t = studentT(static_cast<int>(n) - 2, kErrorProbability);
    r.t = t;
    r.SE = 100 * t * r.SybarLR / YbarLR;
    const double E = plan.targetError;
    r.Nrs = t * t * e.CV[d] * e.CV[d] / (E * E);
    // rho^2 + sqrt((c2/c1) rho^2 (1 - rho^2)) and (1 - rho^2) + sqrt((c1/c2) rho^2 (1 - rho^2)),
    // which stay finite at rho^2 = 0 and rho^2 = 1. With a ground plot ten times a LiDAR plot the
    // ratios are exactly 10 and 0.1 (both divisions are exact or correctly rounded), so the sizes
    // are the very doubles of the fixed factors 10 and 0.1.
    const double groundToLidar = plan.groundPlotCost / plan.lidarPlotCost;
    const double lidarToGround = plan.lidarPlotCost / plan.groundPlotCost;
    const double rho2 = r.Rho * r.Rho;
    const double spread = std::max(0.0, rho2 * (1 - rho2));
    r.N1req = r.Nrs * (rho2 + std::sqrt(groundToLidar * spread));
    r.N2req = r.Nrs * ((1 - rho2) + std::sqrt(lidarToGround * spread));
}

}  // namespace

std::string_view variableName(int k) {
    static constexpr std::string_view kNames[kRegressions] = {
        "LiBA-DS1(sq.ft)", "LiVOL-DS1(cu.ft)", "LiBA-DS2(sq.ft)", "LiVOL-DS2(cu.ft)"};
    return kNames[k];
}

StratumEstimate estimateStratum(const std::array<Phase1Totals, 2>& phase1,
                                const std::vector<Phase2Plot>& plots, const PlanSettings& plan) {
    StratumEstimate e;
    for (int d = 0; d < 2; ++d) {
        const Phase1Totals& p = phase1[d];
        e.N1[d] = p.plots;
        if (p.plots > 0) {
            e.reg[2 * std::size_t(d)].phase1Mean = p.baSum / p.plots;
            e.reg[2 * std::size_t(d) + 1].phase1Mean = p.volSum / p.plots;
        }
    }

    Sums s;
    e.N2G = static_cast<double>(plots.size());
    for (const Phase2Plot& plot : plots) {
        s.yG += plot.y;
        for (int d = 0; d < 2; ++d) {
            if (plot.x[2 * std::size_t(d)] == 0 && plot.x[2 * std::size_t(d) + 1] == 0) continue;
            e.n[d] += 1;
            s.y[d] += plot.y;
            s.y2[d] += plot.y * plot.y;
            for (int k = 2 * d; k < 2 * d + 2; ++k) {
                s.x[k] += plot.x[k];
                s.x2[k] += plot.x[k] * plot.x[k];
                s.xy[k] += plot.y * plot.x[k];
            }
        }
    }
    e.ybarG = e.N2G > 0 ? s.yG / e.N2G : 0;
    if (e.N2G >= 2) {
        double squares = 0;
        for (const Phase2Plot& plot : plots) squares += (plot.y - e.ybarG) * (plot.y - e.ybarG);
        e.groundSE = std::sqrt(squares / (e.N2G - 1) / e.N2G);
    }

    for (int d = 0; d < 2; ++d) {
        const double n = e.n[d];
        if (n == 0) continue;
        e.ybar[d] = s.y[d] / n;
        // Equal values leave a sum of squares of rounding errors only, which may be negative.
        const double SSy = s.y2[d] - s.y[d] * s.y[d] / n;
        e.SSy[d] = noVariation(SSy, s.y2[d]) ? 0 : SSy;
        e.s2[d] = n > 1 ? e.SSy[d] / (n - 1) : 0;
        if (e.ybar[d] > 0) e.CV[d] = 100 * std::sqrt(e.s2[d]) / e.ybar[d];
    }

    for (int k = 0; k < kRegressions; ++k) {
        const int d = dataSetOf(k);
        const double n = e.n[d];
        if (n == 0) continue;
        RegressionResult& r = e.reg[k];
        r.phase2Mean = s.x[k] / n;
        const double SSx = s.x2[k] - s.x[k] * s.x[k] / n;
        const double SPxy = s.xy[k] - s.x[k] * s.y[d] / n;
        fitRegression(k, e, s, SSx, SPxy, plan, r);
    }
    return e;
}

}  // namespace orr
