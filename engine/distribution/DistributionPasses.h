// The two data-set passes of step 6 over the Phase 2 plots: DataSet 1 (HIGH heights) and then
// DataSet 2 (LOW heights), each plot's LiDAR trees distributed over its species-product classes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "core/OutputSet.h"
#include "core/Step.h"
#include "engine/distribution/DistributionInputs.h"
#include "files/CoefficientFile.h"
#include "files/DbhFile.h"
#include "files/StrataFile.h"

namespace orr::distribution {

// The tables every plot of both passes uses.
struct DistributionTables {
    CoefficientTable coeff;
    DbhLimits dbh;
    StrataTable strata;
};

// Where the passes write: the plot files of DataSet 1 and 2 and the species counts of DataSet 1.
struct DistributionOutputs {
    OutputFile& plotsDS1;
    OutputFile& speciesDS1;
    OutputFile& plotsDS2;
};

struct PassesEnd {
    // The draws of a plot reached a tree whose ground-height equation lacks its coefficient: the
    // message for the user, and the step stops.
    std::optional<std::string> stop;
    // Product-code questions answered by dropping the tree (asked or not).
    std::size_t droppedQuestions = 0;
};

// Runs both passes: logs a heading per pass and a line per written class, asks the product-code
// questions (under ProductCodePolicy::Ask) in plot order before the plots that raised them are
// computed, reports progress, and writes every plot's records in plot order. Throws StepCancelled
// when the host asks to stop.
PassesEnd distributePasses(const StepInputs& inputs, const DistributionTables& tables,
                           const PlotsAndHeights& read, DistributionOutputs& outputs,
                           StepHost& host);

}  // namespace orr::distribution
