// The two data-set passes of step 6 over the Phase 2 plots: DataSet 1 (HIGH heights) and then
// DataSet 2 (LOW heights), each plot's LiDAR trees distributed over its species-product classes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/OutputSet.h"
#include "core/Step.h"
#include "engine/distribution/DistributionInputs.h"
#include "engine/distribution/ProductSearch.h"
#include "files/CoefficientFile.h"
#include "files/DbhFile.h"
#include "files/StrataFile.h"
#include "files/StrataRanges.h"

namespace orr::distribution {

// The tables every plot of both passes uses.
struct DistributionTables {
    CoefficientTable coeff;
    DbhLimits dbh;
    StrataRanges strata;
};

// Where the passes write: the plot files of DataSet 1 and 2 and the species counts of DataSet 1.
struct DistributionOutputs {
    OutputFile& plotsDS1;
    OutputFile& speciesDS1;
    OutputFile& plotsDS2;
};

// One answer the user gave for every tree of a species in a gap of the DBH file, and how many
// LiDAR trees it decided (of both data sets, counted once per plot).
struct GapAnswer {
    int species = 0;
    DbhGap gap;
    std::optional<int> code;  // nullopt: the trees were dropped
    std::size_t trees = 0;
};

// The LiDAR trees of one species dropped for want of a product code (of both data sets, counted
// once per plot and data set), and the range of their DBHs (to 0.1 inch).
struct DroppedTrees {
    int species = 0;
    std::size_t trees = 0;
    double smallestDbh = 0;
    double largestDbh = 0;
};

struct PassesEnd {
    // The draws of a plot reached a tree whose ground-height equation lacks its coefficient: the
    // message for the user, and the step stops.
    std::optional<std::string> stop;
    // The answers given for whole gaps, in the order they were given.
    std::vector<GapAnswer> gapAnswers;
    // The trees dropped, by species (ascending).
    std::vector<DroppedTrees> dropped;
};

// The work of the passes in the units of the step's progress, in which reading one byte of a
// LiDAR file counts 1: a draw costs about as much as reading kBytesPerDraw bytes.
inline constexpr std::uintmax_t kBytesPerDraw = 2;
inline std::uintmax_t passUnits(std::uintmax_t heights, int maxItern) {
    return heights * static_cast<std::uintmax_t>(std::max(maxItern, 0)) * kBytesPerDraw;
}

// Runs both passes: logs a heading per pass and a line per written class, asks the product-code
// questions (under ProductCodePolicy::Ask) in plot order before the plots that raised them are
// computed (an answer given for a whole gap settles the later questions of that gap without
// asking), reports progress after the `bytesRead` of the reading, and writes every plot's
// records in plot order. Throws StepCancelled when the host asks to stop.
PassesEnd distributePasses(const StepInputs& inputs, const DistributionTables& tables,
                           const PlotsAndHeights& read, DistributionOutputs& outputs,
                           StepHost& host, std::uintmax_t bytesRead);

}  // namespace orr::distribution
