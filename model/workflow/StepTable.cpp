#include "model/workflow/StepTable.h"

#include <array>

#include "engine/combine/Combine.h"
#include "engine/distribution/Distribution.h"
#include "engine/doublesample/DoubleSample.h"
#include "engine/phase1/Phase1.h"
#include "engine/phase2/Phase2Totals.h"

namespace orr::workflow {

namespace {

constexpr std::array<std::string_view, 3> kPlotTotalsLines = {
    "Computing plot totals/percentages by species-product....",
    "Computing plot totals all species, products combined....",
    "Obtaining Summary of Phase 2 ground estimates.... ",
};
constexpr std::array<std::string_view, 1> kPhase1Lines = {
    "Phase 1 computation of LiDAR heights started....",
};

const std::array<StepEntry, 5> kSteps = {{
    {5, &computePlotTotals, "Status: Computing Plot Totals..",
     "Status: Plot Totals Computation completed!", "", kPlotTotalsLines, false, true, false},
    {6, &distributeLidarTrees, "Status : Iterating Phase 2 LiDAR distribution...",
     "Status : Iteration of Phase2 LiDAR distribution completed!",
     "Iterating for Phase 2 LiDAR height distribution to species-product class...\r\n", {}, true,
     false, true},
    {7, &computePhase1, "Status : Computing Phase 1..", "Status : Phase 1 computation completed!!",
     " ", kPhase1Lines, true, false, true},
    {8, &combinePhase2, "Status: Combining all Phase 2 estimates..",
     "Status: Combining Phase 2 estimates completed!", "Combining all Phase 2 estimates...\r\n",
     {}, false, false, false},
    {9, &computeDoubleSample, "Status: Computing double sample estimates..",
     "Status: Double sample estimates computed!", std::nullopt, {}, false, true, false},
}};

}  // namespace

std::span<const StepEntry> stepTable() {
    return kSteps;
}

const StepEntry* findStep(std::span<const StepEntry> table, int number) {
    for (const StepEntry& entry : table) {
        if (entry.number == number) return &entry;
    }
    return nullptr;
}

}  // namespace orr::workflow
