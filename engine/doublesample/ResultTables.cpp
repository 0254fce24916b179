#include "engine/doublesample/ResultTables.h"

#include <string>

#include "engine/doublesample/StratVolReport.h"

namespace orr {

std::optional<double> efficiency(const StratumEstimate& e, int k) {
    const double se = e.reg[k].SybarLR;
    if (e.N2G < 2 || !(se > 0)) return std::nullopt;
    return e.groundSE * e.groundSE / (se * se);
}

void setEstimate(files::EstimateRecord& row, double ybarLR, double seYbarLR, double sePercent,
                 double t) {
    row.ybarLR = ybarLR;
    row.seYbarLR = seYbarLR;
    row.sePercent = sePercent;
    row.t = t;
    row.ci95Low = ybarLR - t * seYbarLR;
    row.ci95High = ybarLR + t * seYbarLR;
}

std::vector<files::EstimateRecord> estimateRecords(const DoubleSampleEstimates& est) {
    std::vector<files::EstimateRecord> rows;
    for (int h = 0; h <= est.H; ++h) {
        const auto index = static_cast<std::size_t>(h);
        const StratumEstimate& e = est.strata[index];
        for (int k = 0; k < kRegressions; ++k) {
            if (!est.written[index][k]) continue;
            const RegressionResult& r = e.reg[k];
            const int d = dataSetOf(k);
            files::EstimateRecord row;
            row.stratum = h;
            row.variable = std::string(variableName(k));
            row.selected = est.selected[index] == k;
            row.n2 = e.n[d];
            row.n1 = e.N1[d];
            row.beta = r.Beta;
            row.rho = r.Rho;
            setEstimate(row, r.YbarLR, r.SybarLR, r.SE, r.t);
            row.groundMean = e.ybarG;
            if (e.N2G >= 2) row.groundSE = e.groundSE;
            row.efficiency = efficiency(e, k);
            rows.push_back(std::move(row));
        }
    }
    for (const CombinedEstimate& c : est.combined) {
        files::EstimateRecord row;
        row.variable = std::string(variableName(c.k));
        row.selected = c.selected;
        setEstimate(row, c.YbarLR, c.SybarLR, c.SE, c.t);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<files::AllocationRecord> allocationRecords(const Allocation& a,
                                                       const DoubleSampleEstimates& est) {
    std::vector<files::AllocationRecord> rows;
    for (int r = 0; r <= est.H + 1; ++r) {
        const std::string label = stratVolRowLabel(r, est);
        for (const ClassLine& c : classLines(r, a, est)) {
            rows.push_back(
                {label, c.species, c.product, c.BAalloc, c.VolAlloc, c.N, c.BA, c.height, c.vol});
        }
    }
    return rows;
}

}  // namespace orr
