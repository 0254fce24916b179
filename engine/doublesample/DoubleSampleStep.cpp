// Step 9 as a whole (its runner has checked that every input is there): the estimates, the
// allocation, the two reports, their values as data and the report for the browser, which reach
// the data directory together, only when the step completes.
#include "engine/doublesample/DoubleSampleStep.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "core/OutputSet.h"
#include "engine/doublesample/Allocation.h"
#include "engine/doublesample/DoubleSampleInputs.h"
#include "engine/doublesample/HtmlReport.h"
#include "engine/doublesample/ResultTables.h"
#include "engine/doublesample/StratVolReport.h"
#include "engine/doublesample/StratifiedEstimates.h"
#include "files/AllocationFile.h"
#include "files/DataSetFiles.h"
#include "files/EstimatesFile.h"

namespace orr {

namespace {

using files::DataSetFile;

// A data file for spreadsheets: its header line, then the records.
template <class Format>
void writeTable(OutputFile& out, const std::vector<typename Format::Record>& rows) {
    out.append(Format::kHeader);
    out.append("\r\n");
    for (const auto& row : rows) Format::write(out, row);
}

}  // namespace

// The estimates, the allocation, the two reports, the same values as data and the report for
// the browser, committed together. The warnings raised before the report is made are shown in
// it.
StepResult computeDoubleSample(const StepInputs& in, StepHost& host) {
    auto details = std::make_shared<DoubleSampleResults>();
    details->inputs = readDoubleSampleInputs(in);
    const DoubleSampleInputs& inputs = details->inputs;
    stopIfCancelled(host);

    OutputSet outputs;
    // The stratum volume report is listed before the regression report.
    OutputFile& stratVol = outputs.file(files::path(in, DataSetFile::StratumVolume));
    OutputFile& regress = outputs.file(files::path(in, DataSetFile::Regression));
    OutputFile& estimatesFile = outputs.file(files::path(in, DataSetFile::Estimates));
    OutputFile& allocationFile = outputs.file(files::path(in, DataSetFile::Allocation));
    OutputFile& report = outputs.file(files::path(in, DataSetFile::Report));
    details->estimates = estimateAllStrata(inputs);
    const DoubleSampleEstimates& estimates = details->estimates;
    writeRegressionReport(estimates, regress);
    for (const std::string& note : combinationNotes(estimates)) warn("combined estimate", note);
    const Allocation allocation =
        allocateClasses(inputs, estimates, in.params.MaxSpec, in.params.MaxProd);
    writeStratVolReport(allocation, estimates, stratVol);

    ReportContents contents;
    contents.dataSetName = in.dataSetName;
    contents.params = in.params;
    contents.inputs = &inputs;
    contents.estimates = &estimates;
    contents.estimateRows = estimateRecords(estimates);
    contents.allocationRows = allocationRecords(allocation, estimates);
    writeTable<files::EstimatesFile>(estimatesFile, contents.estimateRows);
    writeTable<files::AllocationFile>(allocationFile, contents.allocationRows);

    // What the outputs came from: the runs of steps 5 to 8 as recorded, and this one, as its
    // runner hands them over.
    contents.earlierRuns = in.history.earlierRuns;
    if (!in.history.problem.empty())
        contents.runFileProblem = in.history.problem + " The earlier steps' runs are not shown.";
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

const files::StepFiles& doubleSampleFiles() {
    // The report for the browser shows every parameter.
    static const files::StepFiles declared{
        9,
        {files::chosen(ChosenInput::Strata), files::ofDataSet(DataSetFile::Phase1DS1),
         files::ofDataSetIfAny(DataSetFile::Phase1DS2), files::ofDataSet(DataSetFile::Phase2),
         files::ofDataSet(DataSetFile::PlotClasses), files::ofDataSet(DataSetFile::Phase2Summary),
         files::chosen(ChosenInput::Trees)},
        {DataSetFile::StratumVolume, DataSetFile::Regression, DataSetFile::Estimates,
         DataSetFile::Allocation, DataSetFile::Report},
        {"PACF", "MaxSpec", "MaxProd", "MaxItern", "MaxPlots", "LiHgtAdj", "ModelSet", "PTIP",
         "STIP"}};
    return declared;
}

}  // namespace orr
