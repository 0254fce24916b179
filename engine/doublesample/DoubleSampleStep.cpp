// Step 9 as a whole (its runner has checked that every input is there): the estimates, the
// allocation, the two reports, their values as data and the report for the browser, which reach
// the data directory together, only when the step completes.
#include "engine/doublesample/DoubleSampleStep.h"

#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

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

// The estimates of every stratum and of the strata combined, and, when the stratum areas are
// chosen, the totals over the areas and the plan of the next inventory. The stratum areas are
// checked against the strata file before anything is computed.
void estimate(const StepInputs& in, DoubleSampleResults& results) {
    std::optional<StratumAreas> areas;
    if (!in.paths.areas.empty())
        areas = readStratumAreasFile(in.paths.areas, results.inputs.strataNamed);
    const PlanSettings planSettings = PlanSettings::of(in.params);
    results.estimates = estimateAllStrata(results.inputs, planSettings);
    if (areas) {
        results.areas = estimateByArea(results.estimates, *areas, results.inputs.strataNamed);
        results.areaNotes = areaNotes(*results.areas);
    }
    results.plan =
        planInventory(results.estimates, planSettings, results.areas ? &*results.areas : nullptr);
}

}  // namespace

// The estimates, the allocation, the two reports, the same values as data, the plan and the
// report for the browser, committed together. The warnings raised before the report is made are
// shown in it.
StepResult computeDoubleSample(const StepInputs& in, StepHost& host) {
    auto details = std::make_shared<DoubleSampleResults>();
    details->inputs = readDoubleSampleInputs(in);
    const DoubleSampleInputs& inputs = details->inputs;
    estimate(in, *details);
    const DoubleSampleEstimates& estimates = details->estimates;
    stopIfCancelled(host);

    OutputSet outputs;
    // The stratum volume report is listed before the regression report.
    OutputFile& stratVol = outputs.file(files::path(in, DataSetFile::StratumVolume));
    OutputFile& regress = outputs.file(files::path(in, DataSetFile::Regression));
    OutputFile& estimatesFile = outputs.file(files::path(in, DataSetFile::Estimates));
    OutputFile& allocationFile = outputs.file(files::path(in, DataSetFile::Allocation));
    OutputFile& report = outputs.file(files::path(in, DataSetFile::Report));
    OutputFile& planFile = outputs.file(files::path(in, DataSetFile::Plan));
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
    if (details->areas) {
        for (const std::string& note : details->areaNotes) warn("combined by area", note);
        addAreaColumns(estimates, *details->areas, contents.estimateRows);
        contents.areas = &*details->areas;
        contents.areasFileName = in.paths.areas.filename().string();
    }
    contents.allocationRows = allocationRecords(allocation, estimates);
    writeTable<files::EstimatesFile>(estimatesFile, contents.estimateRows);
    writeTable<files::AllocationFile>(allocationFile, contents.allocationRows);
    contents.plan = &details->plan;
    writeTable<files::PlanFile>(planFile, planRecords(details->plan));

    // What the outputs came from: the runs of steps 5 to 8 as recorded, and this one, as its
    // runner hands them over.
    contents.earlierRuns = in.history.earlierRuns;
    if (!in.history.problem.empty())
        contents.runFileProblem = in.history.problem + " The earlier steps' runs are not shown.";
    warnIfLidarClassesDiffer(contents.earlierRuns);
    if (in.history.thisRunSoFar) contents.thisRun = in.history.thisRunSoFar();
    contents.thisRun.step = 9;
    report.append(htmlReport(contents));
    stopIfCancelled(host);

    StepResult result;
    result.outputs = outputs.commit();
    result.closingLog = {
        "Double sample estimates computed successfully!",
        "The following file was created in the directory - " + files::dirText(in.dataDir)};
    for (const auto& file : result.outputs) result.closingLog.push_back(file.filename().string());
    // The trees are not needed to show the results.
    details->inputs.measuredTrees = {};
    result.details = std::move(details);
    return result;
}

std::shared_ptr<const DoubleSampleResults> readEarlierResults(const StepInputs& in) {
    auto results = std::make_shared<DoubleSampleResults>();
    results->inputs = readRegressionInputs(in);
    estimate(in, *results);
    return results;
}

const files::StepFiles& doubleSampleFiles() {
    // The report for the browser shows every parameter.
    static const files::StepFiles declared{
        9,
        {files::chosen(ChosenInput::Strata), files::chosenIfAny(ChosenInput::Areas),
         files::ofDataSet(DataSetFile::Phase1DS1), files::ofDataSetIfAny(DataSetFile::Phase1DS2),
         files::ofDataSet(DataSetFile::Phase2), files::ofDataSet(DataSetFile::PlotClasses),
         files::ofDataSet(DataSetFile::Phase2Summary), files::chosen(ChosenInput::Trees)},
        {DataSetFile::StratumVolume, DataSetFile::Regression, DataSetFile::Estimates,
         DataSetFile::Allocation, DataSetFile::Report, DataSetFile::Plan},
        {"PACF", "MaxSpec", "MaxProd", "MaxItern", "MaxPlots", "LiHgtAdj", "ModelSet", "PTIP",
         "STIP", "GroundPlotCost", "LidarPlotCost", "TargetError"}};
    return declared;
}

}  // namespace orr
