// What the strata's areas add to the double-sample estimates: each stratum's total over its
// acres, and the strata combined by their shares of the area rather than of the plots, with the
// total over the forest. Every estimate of the program is a mean per acre (PACF expands each
// counted tree to trees per acre), so a mean times a stratum's acres is the stratum's total.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/doublesample/StratifiedEstimates.h"
#include "files/EstimatesFile.h"
#include "files/StratumAreasFile.h"

namespace orr {

// The area-weighted combination of one regression over the strata of the strata file.
struct AreaCombinedEstimate {
    int k = 0;
    double acres = 0;      // sum of the strata's areas
    double mean = 0;       // sum of W_h ybar_h, W_h = A_h / sum A: the mean per acre
    double seMean = 0;     // sqrt(sum W_h^2 V_h)
    double df = 0;         // Satterthwaite: (sum W_h^2 V_h)^2 / sum (W_h^2 V_h)^2 / df_h
    double t = 0;          // Student t of df (real), 95 percent
    double sePercent = 0;  // 100 t seMean / mean
    double total = 0;      // sum A_h ybar_h
    double seTotal = 0;    // sqrt(sum A_h^2 V_h)
    bool selected = false;
    // The strata that entered through their ground-plot mean, for want of this regression.
    std::vector<int> groundMeanStrata;
};

struct AreaEstimates {
    // The areas of the strata (index 0..H; 0 for a stratum without an area), and their sum.
    std::vector<double> acres;
    double totalAcres = 0;
    // Strata of the strata file without an area: no area-weighted combination then.
    std::vector<int> strataWithoutArea;
    std::vector<AreaCombinedEstimate> combined;  // in k order, those formed
    // Why the combination of the strata cannot be formed, one note per reason.
    std::vector<std::string> notes;
};

// The area-based estimates from the per-stratum estimates `est`, the areas read from the areas
// file and the strata the strata file names. A stratum without a usable regression k enters the
// combination of k through its ground-plot mean (V_h its squared standard error, df_h N2G - 1);
// a stratum with neither, or without an area, leaves the combination of k unformed, with a note.
AreaEstimates estimateByArea(const DoubleSampleEstimates& est, const StratumAreas& areas,
                             const std::set<int>& strataOfStrataFile);

// Fills the area columns of the rows of _Estimates.csv (estimateRecords(est)): each stratum row
// with an area gets its acres, total and the total's standard error and 95 percent interval (the
// non-stratified rows those of the whole area, when every stratum has one), and the rows of the
// area-weighted combination ("combined-area") are appended after the combined rows.
void addAreaColumns(const DoubleSampleEstimates& est, const AreaEstimates& area,
                    std::vector<files::EstimateRecord>& rows);

// The notes of the area-weighted combination, as warnings and as the report shows them.
std::vector<std::string> areaNotes(const AreaEstimates& area);

}  // namespace orr
