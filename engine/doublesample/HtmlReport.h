// <DataSetName>_Report.html: the results of step 9 in one self-contained page for the browser (no
// scripts, fonts or other files; it opens offline and can be passed on). A summary of the
// combined estimate; the estimates with their 95 percent confidence intervals; per stratum an
// inline SVG scatter of the regression behind its estimate; the allocation to species-product
// classes; the plan of the next inventory; and what the outputs came from: the parameters, the
// seed of the random draws, every file each step read (name, size, SHA-256, checked against what
// the step that writes it recorded) and the warnings of every step.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/Parameters.h"
#include "engine/doublesample/AreaEstimates.h"
#include "engine/doublesample/DoubleSampleInputs.h"
#include "engine/doublesample/PlanEstimates.h"
#include "engine/doublesample/StratifiedEstimates.h"
#include "files/AllocationFile.h"
#include "files/EstimatesFile.h"
#include "files/RunRecord.h"

namespace orr {

struct ReportContents {
    std::string dataSetName;
    ParamRecord params;  // those step 9 ran with
    // The runs of steps 5 to 8 as _Run.csv recorded them, in step order, and this
    // run of step 9 (the files it read, the warnings it raised).
    std::vector<files::StepRun> earlierRuns;
    files::StepRun thisRun;
    std::optional<std::string> runFileProblem;  // why _Run.csv could not be read
    const DoubleSampleInputs* inputs = nullptr;
    const DoubleSampleEstimates* estimates = nullptr;
    std::vector<files::EstimateRecord> estimateRows;
    std::vector<files::AllocationRecord> allocationRows;
    const InventoryPlan* plan = nullptr;  // the plan of the next inventory, when there is one
    // With stratum areas: the area-based estimates (their rows are among estimateRows too) and
    // the name of the areas file; nullptr without.
    const AreaEstimates* areas = nullptr;
    std::string areasFileName;
    // When step 9 ran, as the report's header shows it ("2026-12-07 17:20 UTC"), and the
    // program's version.
    std::string runTime;
    std::string programVersion;
};

std::string htmlReport(const ReportContents& c);

}  // namespace orr
