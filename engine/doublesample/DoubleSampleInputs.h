// Everything step 9 reads, in memory: the strata of the plots, the Phase 1 LiDAR totals and the
// Phase 2 plots of every stratum index, and the Phase 2 class values and tree heights that the
// allocation to species-product classes needs. Each input file is read once.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "core/Step.h"
#include "files/Phase2SummaryFile.h"
#include "files/PlotClassFile.h"
#include "files/StrataRanges.h"

namespace orr {

// The Phase 1 LiDAR totals of one data set over the plots of one stratum index: the number of
// plots with LiDAR trees and the sums of their LiDAR basal area and volume.
struct Phase1Totals {
    int plots = 0;
    double baSum = 0;
    double volSum = 0;
};

// A Phase 2 plot with ground trees: its ground volume y and the four LiDAR variables of the
// regressions, x[0] BA and x[1] volume of DataSet 1, x[2] BA and x[3] volume of DataSet 2.
struct Phase2Plot {
    double y = 0;
    std::array<double, 4> x{};
};

// A ground tree with a measured height, as the class heights take it.
struct MeasuredTree {
    std::int32_t plot = 0;
    int species = 0;
    int product = 0;
    double height = 0;  // feet
};

struct DoubleSampleInputs {
    int H = 0;                  // largest stratum number of the strata file, 0 when empty
    StrataRanges strata;        // the strata file's rows and their plot ranges
    std::set<int> strataNamed;  // the stratum numbers above 0 the strata file names
    // [data set 0 (DataSet 1) or 1 (DataSet 2)][stratum index 0..H]
    std::array<std::vector<Phase1Totals>, 2> phase1;
    // [stratum index 0..H]: the Phase 2 plots with ground trees, in file order
    std::vector<std::vector<Phase2Plot>> phase2;
    std::vector<files::PlotClass> plotClasses;  // _PH2Plot.csv in file order
    std::vector<files::ClassMean> summary;      // _PH2Sum.csv in file order
    std::vector<MeasuredTree> measuredTrees;    // the trees with a measured height

    // The stratum of a plot in step 9, 0 when no row holds it: that of the last row whose range
    // holds it. Step 9 gives every plot its stratum row by row in file order, so where ranges
    // overlap a later row overrides an earlier one.
    int stratumOf(std::int64_t plot) const {
        const StrataRow* row = strata.lastRowHolding(plot);
        return row != nullptr ? row->stratum : 0;
    }
};

// Reads the strata file, _Phase1DS1.csv, _Phase1DS2.csv (only when it is not empty),
// _Phase2.csv, _PH2Plot.csv, _PH2Sum.csv and the tree input file, which must all be there.
// Throws InputError naming the file, record, field and text for a record it cannot use
// (the checks of each file's format, and a negative stratum number).
DoubleSampleInputs readDoubleSampleInputs(const StepInputs& inputs);
// Only what the regressions need: the strata file, the Phase 1 files and _Phase2.csv (the
// class values and trees of the allocation stay empty). For the charts of the results.
DoubleSampleInputs readRegressionInputs(const StepInputs& inputs);

}  // namespace orr
