#include "engine/doublesample/AreaEstimates.h"

#include <cmath>
#include <string>
#include <utility>

#include "engine/doublesample/ResultTables.h"
#include "engine/doublesample/StudentT.h"

namespace orr {

namespace {

// What stratum h brings to the combination of regression k: its mean per acre, the variance of
// that mean and its degrees of freedom.
struct StratumPart {
    double mean = 0;
    double variance = 0;
    double df = 0;
    bool groundMean = false;
};

std::optional<StratumPart> partOf(const DoubleSampleEstimates& est, int h, int k) {
    const auto index = static_cast<std::size_t>(h);
    const StratumEstimate& e = est.strata[index];
    if (est.written[index][k]) {
        const RegressionResult& r = e.reg[k];
        return StratumPart{r.YbarLR, r.SybarLR * r.SybarLR, e.n[dataSetOf(k)] - 2, false};
    }
    if (e.N2G >= 2) return StratumPart{e.ybarG, e.groundSE * e.groundSE, e.N2G - 1, true};
    return std::nullopt;
}

// The combination of regression k over the strata with areas; nullopt when it cannot be
// formed, with the reason added to `notes`.
std::optional<AreaCombinedEstimate> combine(int k, const DoubleSampleEstimates& est,
                                            const AreaEstimates& area, const std::set<int>& strata,
                                            std::vector<std::string>& notes) {
    bool anyWritten = false;
    for (const int h : strata)
        anyWritten = anyWritten || est.written[static_cast<std::size_t>(h)][k];
    if (!anyWritten) return std::nullopt;

    AreaCombinedEstimate c;
    c.k = k;
    c.acres = area.totalAcres;
    double variance = 0;       // sum W_h^2 V_h
    double dfDenominator = 0;  // sum (W_h^2 V_h)^2 / df_h
    double totalVariance = 0;  // sum A_h^2 V_h
    std::vector<int> tooFew;
    for (const int h : strata) {
        const double acres = area.acres[static_cast<std::size_t>(h)];
        const auto part = partOf(est, h, k);
        if (!part) {
            tooFew.push_back(h);
            continue;
        }
        const double w = acres / area.totalAcres;
        const double share = w * w * part->variance;
        c.mean += w * part->mean;
        variance += share;
        if (share > 0) dfDenominator += share * share / part->df;
        c.total += acres * part->mean;
        totalVariance += acres * acres * part->variance;
        if (part->groundMean) c.groundMeanStrata.push_back(h);
    }
    const std::string name(variableName(k));
    if (!tooFew.empty()) {
        notes.push_back(name + ": not combined by area, fewer than two Phase 2 plots in stratum " +
                        strataList(tooFew));
        return std::nullopt;
    }
    // No variance leaves no degrees of freedom and an SE of 0, a false best.
    if (!(c.mean > 0) || !(variance > 0) || !(dfDenominator > 0)) return std::nullopt;
    c.seMean = std::sqrt(variance);
    c.df = variance * variance / dfDenominator;
    // Two-sided 0.05 as a double: the single-precision kErrorProbability would move t in its
    // ninth digit.
    c.t = studentTQuantile(c.df, 0.05);
    c.sePercent = 100 * c.t * c.seMean / c.mean;
    c.seTotal = std::sqrt(totalVariance);
    return c;
}

void setTotal(files::EstimateRecord& row, double acres, double total, double seTotal, double t) {
    row.acres = acres;
    row.total = total;
    row.seTotal = seTotal;
    row.totalCi95Low = total - t * seTotal;
    row.totalCi95High = total + t * seTotal;
}

}  // namespace

AreaEstimates estimateByArea(const DoubleSampleEstimates& est, const StratumAreas& areas,
                             const std::set<int>& strataOfStrataFile) {
    AreaEstimates area;
    area.acres.assign(static_cast<std::size_t>(est.H) + 1, 0);
    for (const StratumArea& a : areas) {
        if (a.stratum >= 1 && a.stratum <= est.H) {
            area.acres[static_cast<std::size_t>(a.stratum)] = a.acres;
            area.totalAcres += a.acres;
        }
    }
    area.strataWithoutArea = strataWithoutArea(areas, strataOfStrataFile);
    if (!area.strataWithoutArea.empty()) {
        area.notes.push_back("no area for stratum " + strataList(area.strataWithoutArea) +
                             ": the strata are not combined by area and there is no total over "
                             "the forest");
        return area;
    }
    for (int k = 0; k < kRegressions; ++k) {
        if (auto c = combine(k, est, area, strataOfStrataFile, area.notes))
            area.combined.push_back(std::move(*c));
    }
    if (AreaCombinedEstimate* chosen =
            smallestSePercent(area.combined, &AreaCombinedEstimate::sePercent))
        chosen->selected = true;
    return area;
}

void addAreaColumns(const DoubleSampleEstimates& est, const AreaEstimates& area,
                    std::vector<files::EstimateRecord>& rows) {
    const bool everyStratum = area.strataWithoutArea.empty() && area.totalAcres > 0;
    for (files::EstimateRecord& row : rows) {
        if (!row.stratum || *row.stratum > est.H) continue;
        const double acres = *row.stratum == 0 ? (everyStratum ? area.totalAcres : 0)
                                               : area.acres[static_cast<std::size_t>(*row.stratum)];
        if (!(acres > 0)) continue;
        setTotal(row, acres, acres * row.ybarLR, acres * row.seYbarLR, row.t);
    }
    for (const AreaCombinedEstimate& c : area.combined) {
        files::EstimateRecord row;
        row.areaWeighted = true;
        row.variable = std::string(variableName(c.k));
        row.selected = c.selected;
        setEstimate(row, c.mean, c.seMean, c.sePercent, c.t);
        setTotal(row, c.acres, c.total, c.seTotal, c.t);
        rows.push_back(std::move(row));
    }
}

std::vector<std::string> areaNotes(const AreaEstimates& area) {
    // A stratum that enters through its ground mean is noted once, by the plot-weighted
    // combination, which uses it the same way.
    return area.notes;
}

}  // namespace orr
