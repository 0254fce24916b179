// Step 9 as a whole: every input must be there before anything is read; the estimates, the
// allocation, the two reports, their values as data and the report for the browser, which reach
// the data directory together, only when the step completes.
#include "engine/doublesample/DoubleSampleStep.h"

#include <ctime>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "core/InputError.h"
#include "core/OutputSet.h"
#include "engine/doublesample/Allocation.h"
#include "engine/doublesample/AreaEstimates.h"
#include "engine/doublesample/DoubleSampleInputs.h"
#include "engine/doublesample/HtmlReport.h"
#include "engine/doublesample/PlanEstimates.h"
#include "engine/doublesample/ResultTables.h"
#include "engine/doublesample/StratVolReport.h"
#include "engine/doublesample/StratifiedEstimates.h"
#include "files/AllocationFile.h"
#include "files/DataSetFiles.h"
#include "files/EstimatesFile.h"
#include "files/PlanFile.h"
#include "files/RunRecord.h"
#include "files/StratumAreasFile.h"

namespace orr {

namespace {

using files::DataSetFile;

bool isPresent(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::exists(file, ec);
}

// The files of the data set that earlier steps write, and where each comes from.
struct RequiredFile {
    DataSetFile file;
    std::string_view writtenBy;
};
constexpr RequiredFile kRequired[] = {
    {DataSetFile::Phase1DS1, "step 7 (Phase 1)"},
    {DataSetFile::Phase2, "step 8 (Combine Phase 2)"},
    {DataSetFile::PlotClasses, "step 5 (Phase 2 plot totals)"},
    {DataSetFile::Phase2Summary, "step 5 (Phase 2 plot totals)"},
};

std::string missingFile(const std::filesystem::path& file, std::string_view whatItIs) {
    return "Missing file " + file.string() + ": " + std::string(whatItIs) + ".";
}

// The message for the first input that is not there, in the order the step needs them.
std::optional<std::string> missingInput(const StepInputs& in) {
    if (in.paths.strata.empty()) {
        return "No strata file is chosen: it is chosen or created in step 4.";
    }
    if (!isPresent(in.paths.strata)) {
        return missingFile(in.paths.strata, "it is written by step 4 (the strata file)");
    }
    for (const RequiredFile& required : kRequired) {
        const auto file = files::path(in, required.file);
        if (!isPresent(file)) {
            return missingFile(file, "it is written by " + std::string(required.writtenBy));
        }
    }
    if (!in.paths.areas.empty() && !isPresent(in.paths.areas)) {
        return missingFile(in.paths.areas, "the stratum areas file, chosen in step 4");
    }
    if (in.paths.trees.empty()) {
        return "No Phase 2 tree input file is chosen: it is chosen in step 5 (Compute Plots).";
    }
    if (!isPresent(in.paths.trees)) {
        return missingFile(in.paths.trees,
                           "the Phase 2 tree input file, chosen in step 5 (Compute Plots)");
    }
    return std::nullopt;
}

// The date and time of this run as the report's header shows it, in UTC ("2026-12-07 17:20 UTC").
std::string runTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", &utc);
    return std::string(text, length);
}

// A data file for spreadsheets: its header line, then the records.
template <class Format>
void writeTable(OutputFile& out, const std::vector<typename Format::Record>& rows) {
    out.append(Format::kHeader);
    out.append("\r\n");
    for (const auto& row : rows) Format::write(out, row);
}

// Steps 6 and 7 should give the LiDAR trees their classes the same way: Phase 2 and Phase 1
// LiDAR values made differently do not belong in one regression.
void warnIfLidarClassesDiffer(const std::vector<files::StepRun>& runs) {
    const files::StepRun *six = nullptr, *seven = nullptr;
    for (const files::StepRun& r : runs) {
        if (r.step == 6) six = &r;
        if (r.step == 7) seven = &r;
    }
    if (!six || !seven) return;
    const bool sixExpected = files::usedExpectedShares(*six);
    const bool sevenExpected = files::usedExpectedShares(*seven);
    if (sixExpected == sevenExpected) return;
    const auto choice = [](bool expected) { return expected ? "expected shares" : "random draws"; };
    warn("LiDAR classes", std::string("Steps 6 and 7 gave the LiDAR trees their classes in "
                                      "different ways: step 6 by ") +
                              choice(sixExpected) + ", step 7 by " + choice(sevenExpected) +
                              ". Run both with the same LidarClasses.");
}

// The estimates, the allocation, the two reports, the same values as data and the report for
// the browser, committed together. `raised` sees this run's warnings; those raised before the
// report is made are shown in it.
StepResult estimateAndReport(const StepInputs& in, StepHost& host, const WarningCollector& raised) {
    const DoubleSampleInputs inputs = readDoubleSampleInputs(in);
    // The stratum areas, when chosen, are checked against the strata file before anything is
    // computed: a refused file stops the step with every file as it was.
    std::optional<StratumAreas> areas;
    std::set<int> strataOfStrataFile;
    if (!in.paths.areas.empty()) {
        strataOfStrataFile = strataNamedIn(in.paths.strata);
        areas = readStratumAreasFile(in.paths.areas, strataOfStrataFile);
    }
    stopIfCancelled(host);

    OutputSet outputs;
    // The stratum volume report is listed before the regression report.
    OutputFile& stratVol = outputs.file(files::path(in, DataSetFile::StratumVolume));
    OutputFile& regress = outputs.file(files::path(in, DataSetFile::Regression));
    OutputFile& estimatesFile = outputs.file(files::path(in, DataSetFile::Estimates));
    OutputFile& allocationFile = outputs.file(files::path(in, DataSetFile::Allocation));
    OutputFile& report = outputs.file(files::path(in, DataSetFile::Report));
    OutputFile& planFile = outputs.file(files::path(in, DataSetFile::Plan));
    const PlanSettings planSettings = PlanSettings::of(in.params);
    const DoubleSampleEstimates estimates = estimateAllStrata(inputs, planSettings);
    writeRegressionReport(estimates, regress);
    for (const std::string& note : combinationNotes(estimates)) warn("combined estimate", note);
    const Allocation allocation =
        allocateClasses(inputs, estimates, in.params.MaxSpec, in.params.MaxProd);
    writeStratVolReport(allocation, estimates, stratVol);

    ReportContents contents;
    contents.dataSetName = in.dataSetName;
    contents.runTime = runTimeText();
    contents.programVersion = ORRAVANT_VERSION;
    contents.params = in.params;
    contents.inputs = &inputs;
    contents.estimates = &estimates;
    contents.estimateRows = estimateRecords(estimates);
    std::optional<AreaEstimates> byArea;
    if (areas) {
        byArea = estimateByArea(estimates, *areas, strataOfStrataFile);
        for (const std::string& note : areaNotes(*byArea)) warn("combined by area", note);
        addAreaColumns(estimates, *byArea, contents.estimateRows);
        contents.areas = &*byArea;
        contents.areasFileName = in.paths.areas.filename().string();
    }
    contents.allocationRows = allocationRecords(allocation, estimates);
    writeTable<files::EstimatesFile>(estimatesFile, contents.estimateRows);
    writeTable<files::AllocationFile>(allocationFile, contents.allocationRows);
    const InventoryPlan plan = planInventory(estimates, planSettings, byArea ? &*byArea : nullptr);
    contents.plan = &plan;
    writeTable<files::PlanFile>(planFile, planRecords(plan));

    // What the outputs came from: the runs of steps 5 to 8 as recorded, and this one.
    const auto runFile = files::path(in, DataSetFile::Run);
    try {
        contents.earlierRuns = files::readRuns(runFile);
        std::erase_if(contents.earlierRuns, [](const files::StepRun& r) { return r.step == 9; });
    } catch (const InputError& e) {
        contents.runFileProblem = std::string(e.what()) + " The earlier steps' runs are not shown.";
    }
    warnIfLidarClassesDiffer(contents.earlierRuns);
    contents.thisRun = files::describeRun(9, in, std::nullopt, {}, raised.collected());
    report.append(htmlReport(contents));
    stopIfCancelled(host);

    StepResult result;
    result.outputs = outputs.commit();
    result.closingLog = {
        "Double sample estimates computed successfully!",
        "The following file was created in the directory - " + files::dirText(in.dataDir)};
    for (const auto& file : result.outputs) result.closingLog.push_back(file.filename().string());
    return result;
}

}  // namespace

StepResult computeDoubleSample(const StepInputs& in, StepHost& host) {
    if (auto message = missingInput(in)) return StepResult::stopped(std::move(*message));

    // This run's warnings go into its report and, as raised, to whoever runs the step.
    const WarningCollector raised(WarningCollector::Mode::PassOn);
    return estimateAndReport(in, host, raised);
}

}  // namespace orr
