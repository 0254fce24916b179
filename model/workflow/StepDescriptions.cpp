#include <array>

#include "model/workflow/StepTable.h"

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

const std::array<StepDescription, 5> kDescriptions = {{
    {5, "Status: Computing Plot Totals..", "Status: Plot Totals Computation completed!", "",
     kPlotTotalsLines, false, Button::ComputePlots, false},
    {6,
     "Status : Iterating Phase 2 LiDAR distribution...",
     "Status : Iteration of Phase2 LiDAR distribution completed!",
     "Iterating for Phase 2 LiDAR height distribution to species-product class...\r\n",
     {},
     true,
     Button::Iterate,
     true},
    {7, "Status : Computing Phase 1..", "Status : Phase 1 computation completed!!", " ",
     kPhase1Lines, true, Button::ComputePhase1, true},
    {8,
     "Status: Combining all Phase 2 estimates..",
     "Status: Combining Phase 2 estimates completed!",
     "Combining all Phase 2 estimates...\r\n",
     {},
     false,
     Button::CombinePhase2,
     false},
    {9,
     "Status: Computing double sample estimates..",
     "Status: Double sample estimates computed!",
     std::nullopt,
     {},
     false,
     Button::ComputeDoubleSample,
     false},
}};

}  // namespace

const StepDescription* describeStep(int number) {
    for (const StepDescription& d : kDescriptions) {
        if (d.number == number) return &d;
    }
    return nullptr;
}

const StepEntry* findStep(std::span<const StepEntry> table, int number) {
    for (const StepEntry& entry : table) {
        if (entry.number() == number) return &entry;
    }
    return nullptr;
}

}  // namespace orr::workflow
