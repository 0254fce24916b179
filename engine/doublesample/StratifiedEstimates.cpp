#include "engine/doublesample/StratifiedEstimates.h"

#include <cmath>
#include <string>

#include "engine/doublesample/RegressReport.h"
#include "engine/doublesample/StudentT.h"

namespace orr {

namespace {

void line(OutputFile& out, const std::string& text) {
    out.append(text);
    out.append("\r\n");
}

// Selects the estimate of stratum index h among its usable regressions.
void select(int h, DoubleSampleEstimates& est) {
    const auto index = static_cast<std::size_t>(h);
    const StratumEstimate& e = est.strata[index];
    double best = kNoSelection;
    for (int k = 0; k < kRegressions; ++k) {
        const RegressionResult& r = e.reg[k];
        if (!usable(r)) continue;
        est.written[index][k] = true;
        if (r.SE < best) {  // on equal SE the lower k stays
            best = r.SE;
            est.best[index] = {r.YbarLR, r.SybarLR, r.SE};
            est.selected[index] = k;
        }
        est.n2[index] = e.n[dataSetOf(k)];
    }
}

// The combination of regression k over the strata 1..H.
void combine(int k, DoubleSampleEstimates& est) {
    const int d = dataSetOf(k);
    double plots = 0;  // n + N1 over the strata
    bool anyWritten = false;
    for (int h = 1; h <= est.H; ++h) {
        const StratumEstimate& e = est.strata[static_cast<std::size_t>(h)];
        plots += e.n[d] + e.N1[d];
        anyWritten = anyWritten || est.written[static_cast<std::size_t>(h)][k];
    }
    if (!anyWritten) return;

    CombinedEstimate c;
    c.k = k;
    double variance = 0;
    std::vector<int> tooFew;
    const std::vector<double> weights = combinationWeights(est, k);
    for (int h = 1; h <= est.H; ++h) {
        const StratumEstimate& e = est.strata[static_cast<std::size_t>(h)];
        const double w = weights[static_cast<std::size_t>(h)];
        if (!(w > 0)) continue;
        if (est.written[static_cast<std::size_t>(h)][k]) {
            c.YbarLR += w * e.reg[k].YbarLR;
            variance += (w * e.reg[k].SybarLR) * (w * e.reg[k].SybarLR);
        } else if (e.N2G >= 2) {
            c.YbarLR += w * e.ybarG;
            variance += (w * e.groundSE) * (w * e.groundSE);
            c.groundMeanStrata.push_back(h);
        } else {
            tooFew.push_back(h);
        }
    }
    if (!tooFew.empty()) {
        est.notCombined.push_back({k, std::move(tooFew)});
        return;
    }
    if (!(c.YbarLR > 0)) return;
    // With no degree of freedom left, t and so the SE would be 0 and the regression a false
    // best: no combined estimate.
    const double df = plots - 2.0 * est.H;
    if (!(df >= 1)) return;
    c.t = studentT(static_cast<int>(df), kErrorProbability);
    c.SybarLR = std::sqrt(variance);
    c.SE = 100 * c.SybarLR * c.t / c.YbarLR;
    est.combined.push_back(std::move(c));
}

}  // namespace

std::vector<double> combinationWeights(const DoubleSampleEstimates& est, int k) {
    const int d = dataSetOf(k);
    double plots = 0;  // n + N1 over the strata
    for (int h = 1; h <= est.H; ++h) {
        const StratumEstimate& e = est.strata[static_cast<std::size_t>(h)];
        plots += e.n[d] + e.N1[d];
    }
    std::vector<double> weights(static_cast<std::size_t>(est.H) + 1, 0.0);
    for (int h = 1; h <= est.H; ++h) {
        const StratumEstimate& e = est.strata[static_cast<std::size_t>(h)];
        weights[static_cast<std::size_t>(h)] = (e.n[d] + e.N1[d]) / plots;
    }
    return weights;
}

std::string strataList(const std::vector<int>& strata) {
    std::string text;
    for (int h : strata) text += (text.empty() ? "" : ", ") + std::to_string(h);
    return text;
}

bool usable(const RegressionResult& r) {
    return r.Beta > 0 && r.YbarLR > 0;
}

DoubleSampleEstimates estimateAllStrata(const DoubleSampleInputs& in, const PlanSettings& plan) {
    DoubleSampleEstimates est;
    est.H = in.H;
    const auto strata = static_cast<std::size_t>(in.H) + 1;
    est.strata.reserve(strata);
    est.written.assign(strata, {});
    est.selected.assign(strata, -1);
    est.best.assign(strata + 1, SelectedEstimate{});
    est.n2.assign(strata, 0);
    est.n2g.assign(strata, 0);
    for (int h = 0; h <= in.H; ++h) {
        const auto index = static_cast<std::size_t>(h);
        est.strata.push_back(
            estimateStratum({in.phase1[0][index], in.phase1[1][index]}, in.phase2[index], plan));
        est.n2g[index] = est.strata.back().N2G;
        select(h, est);
    }
    for (int k = 0; k < kRegressions; ++k) combine(k, est);

    if (CombinedEstimate* chosen = smallestSePercent(est.combined, &CombinedEstimate::SE)) {
        chosen->selected = true;
        est.best[strata] = {chosen->YbarLR, chosen->SybarLR, chosen->SE};
    }
    return est;
}

std::vector<std::string> combinationNotes(const DoubleSampleEstimates& est) {
    std::vector<std::string> notes;
    for (int k = 0; k < kRegressions; ++k) {
        const std::string name(variableName(k));
        for (const CombinedEstimate& c : est.combined) {
            if (c.k == k && !c.groundMeanStrata.empty())
                notes.push_back(name + ": ground mean used in stratum " +
                                strataList(c.groundMeanStrata));
        }
        for (const NotCombined& n : est.notCombined) {
            if (n.k == k)
                notes.push_back(name + ": not combined, fewer than two Phase 2 plots in stratum " +
                                strataList(n.strata));
        }
    }
    return notes;
}

void writeRegressionReport(const DoubleSampleEstimates& est, OutputFile& report) {
    for (int h = 0; h <= est.H; ++h) {
        const auto index = static_cast<std::size_t>(h);
        const StratumEstimate& e = est.strata[index];
        line(report, regress::headerLine());
        for (int k = 0; k < kRegressions; ++k) {
            if (est.written[index][k]) line(report, regress::regressionLine(h, k, e));
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
    line(report, regress::combinedHeaderLine());
    for (const CombinedEstimate& c : est.combined)
        line(report, regress::combinedLine(c.k, c.YbarLR, c.SybarLR, c.SE));
    for (const std::string& note : combinationNotes(est)) line(report, "      " + note);
}

}  // namespace orr
