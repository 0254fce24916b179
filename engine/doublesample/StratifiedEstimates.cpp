#include "engine/doublesample/StratifiedEstimates.h"

#include <array>
#include <cmath>
#include <string>

#include "engine/doublesample/RegressReport.h"
#include "engine/doublesample/StratumEstimate.h"
#include "engine/doublesample/StudentT.h"

namespace orr {

namespace {

// Start value of the selection: an SE percent of this size or more is never selected.
constexpr double kNoSelection = 999;

void line(OutputFile& out, const std::string& text) {
    out.append(text);
    out.append("\r\n");
}

// The stratified combination: per regression the weighted sum of the strata's estimates and of
// their squared weighted standard errors, weights from the plots of stratum index 0.
struct Combination {
    std::array<double, 2> M0{};  // N1 + n of all plots, per data set
    std::array<double, kRegressions> sum{};
    std::array<double, kRegressions> var{};
};

// Writes the section of stratum index h and selects its estimate.
void writeStratum(int h, const StratumEstimate& e, DoubleSampleEstimates& out, Combination& comb,
                  OutputFile& report) {
    const auto index = static_cast<std::size_t>(h);
    line(report, regress::headerLine());
    if (h == 0) {
        for (int d = 0; d < 2; ++d) comb.M0[d] = e.n[d] + e.N1[d];
    }
    double best = kNoSelection;
    for (int k = 0; k < kRegressions; ++k) {
        const RegressionResult& r = e.reg[k];
        if (!(r.Beta > 0)) continue;  // neither written, selected nor combined
        const int d = dataSetOf(k);
        if (r.SE < best) {  // on equal SE the lower k stays
            best = r.SE;
            out.best[index] = {r.YbarLR, r.SybarLR, r.SE};
        }
        out.n2[index] = e.n[d];
        line(report, regress::regressionLine(h, k, e));
        if (h >= 1 && comb.M0[d] > 0) {
            const double w = (e.n[d] + e.N1[d]) / comb.M0[d];
            comb.sum[k] += w * r.YbarLR;
            comb.var[k] += (w * r.SybarLR) * (w * r.SybarLR);
        }
    }
    line(report, "");
    line(report, regress::variableHeaderLine());
    for (int k = 0; k < kRegressions; ++k) {
        if (e.reg[k].phase1Mean > 0) line(report, regress::variableLine(h, k, e));
    }
    line(report, regress::groundLine(0, e.ybar[0]));
    if (e.ybar[1] > 0) line(report, regress::groundLine(1, e.ybar[1]));
    line(report, regress::groundVolumeLine(e.ybarG));
    line(report, " ");
    line(report, " ");
}

// The combined section. A regression is combined only when its degrees of freedom, the plots of
// index 0 less two per stratum, are at least 1: with none, t and so the SE would be 0 and the
// regression a false best.
void writeCombined(const Combination& comb, DoubleSampleEstimates& out, OutputFile& report) {
    line(report, regress::combinedHeaderLine());
    double best = kNoSelection;
    for (int k = 0; k < kRegressions; ++k) {
        if (!(comb.sum[k] > 0)) continue;
        const double df = comb.M0[dataSetOf(k)] - 2.0 * out.H;
        if (!(df >= 1)) continue;
        const double t = studentT(static_cast<int>(df), kErrorProbability);
        const double S = std::sqrt(comb.var[k]);
        const double SE = 100 * S * t / comb.sum[k];
        if (SE < best) {
            best = SE;
            out.best[static_cast<std::size_t>(out.H) + 1] = {comb.sum[k], S, SE};
        }
        line(report, regress::combinedLine(k, comb.sum[k], S, SE));
    }
}

}  // namespace

DoubleSampleEstimates estimateAllStrata(const DoubleSampleInputs& in, OutputFile& report) {
    DoubleSampleEstimates out;
    out.H = in.H;
    const auto strata = static_cast<std::size_t>(in.H) + 1;
    out.best.assign(strata + 1, SelectedEstimate{});
    out.n2.assign(strata, 0);
    out.n2g.assign(strata, 0);
    Combination comb;
    for (int h = 0; h <= in.H; ++h) {
        const auto index = static_cast<std::size_t>(h);
        const StratumEstimate e =
            estimateStratum({in.phase1[0][index], in.phase1[1][index]}, in.phase2[index]);
        out.n2g[index] = e.N2G;
        writeStratum(h, e, out, comb, report);
    }
    writeCombined(comb, out, report);
    return out;
}

}  // namespace orr
