// The regression estimates of every stratum index 0..H, the selection of each stratum's best
// regression, and the stratified combination of the strata; and the regression report that
// shows them.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/OutputSet.h"
#include "engine/doublesample/DoubleSampleInputs.h"
#include "engine/doublesample/StratumEstimate.h"

namespace orr {

// The estimate selected for a stratum index (all 0 when nothing was selected).
struct SelectedEstimate {
    double YbarLR = 0;
    double SybarLR = 0;
    double SE = 0;  // percent
};

// The combined estimate of one regression over the strata 1..H.
struct CombinedEstimate {
    int k = 0;
    double YbarLR = 0;   // the weighted sum of the strata's means
    double SybarLR = 0;  // its standard error
    double SE = 0;       // percent
    double t = 0;        // Student t of its degrees of freedom
    bool selected = false;
    // The strata that entered through their ground-plot mean, for want of this regression.
    std::vector<int> groundMeanStrata;
};

// Why a regression has no combined estimate although some stratum has it.
struct NotCombined {
    int k = 0;
    std::vector<int> strata;  // strata without the regression and with fewer than two plots
};

struct DoubleSampleEstimates {
    int H = 0;
    std::vector<StratumEstimate> strata;                  // 0..H
    std::vector<std::array<bool, kRegressions>> written;  // 0..H: the regression lines written
    std::vector<int> selected;                            // 0..H: the selected k, -1 for none
    std::vector<SelectedEstimate> best;                   // 0..H, and H+1 for the strata combined
    std::vector<double> n2;                               // 0..H: n of the last regression written
    std::vector<double> n2g;                              // 0..H: Phase 2 plots with ground trees
    std::vector<CombinedEstimate> combined;               // the combined lines, in k order
    std::vector<NotCombined> notCombined;
};

// A regression is written, selected and combined only when it could be computed and both its
// slope and its mean volume are above 0: a mean volume below zero is no estimate.
bool usable(const RegressionResult& r);

// Estimates every stratum index and the strata combined. Each stratum's weight is its share of
// the plots of the strata (n + N1 of the regression's data set over the sum across strata 1..H);
// a stratum without a usable regression k enters the combination of k through its ground-plot
// mean and that mean's standard error, and when it has fewer than two Phase 2 plots the
// combination of k cannot be formed. The required sample sizes are those of `plan`.
DoubleSampleEstimates estimateAllStrata(const DoubleSampleInputs& in,
                                        const PlanSettings& plan = {});

// The weights W_h of the strata h = 1..H in the combination of regression k, indexed 0..H (index
// 0 always 0): each stratum's share of the plots of the strata, n + N1 of k's data set. The one
// place the combination and the plan of the next inventory take their weights from.
std::vector<double> combinationWeights(const DoubleSampleEstimates& est, int k);

// The combination of `combined` with the smallest standard error in percent (`sePercent` of each),
// the first of them on equal ones (the lower regression stays); nullptr when none is below
// kNoSelection, the start value of every selection: an SE percent of that size or more is never
// selected. The one rule by which a combination is selected, by plots or by areas.
inline constexpr double kNoSelection = 999;
template <class Combined>
Combined* smallestSePercent(std::vector<Combined>& combined, double Combined::*sePercent) {
    double best = kNoSelection;
    Combined* chosen = nullptr;
    for (Combined& c : combined) {
        if (c.*sePercent < best) {
            best = c.*sePercent;
            chosen = &c;
        }
    }
    return chosen;
}

// "1, 2, 5": stratum numbers as the notes list them.
std::string strataList(const std::vector<int>& strata);

// The regression report (_Regress.txt).
void writeRegressionReport(const DoubleSampleEstimates& est, OutputFile& report);

// The notes after the combined lines, one per regression concerned, without their six leading
// blanks ("LiBA-DS1(sq.ft): ground mean used in stratum 2, 5").
std::vector<std::string> combinationNotes(const DoubleSampleEstimates& est);

}  // namespace orr
