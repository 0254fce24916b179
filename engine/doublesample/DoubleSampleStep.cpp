// Step 9 as a whole: every input must be there before anything is read; the estimates, the
// allocation and the two reports, which reach the data directory only when the step completes.
#include "engine/doublesample/DoubleSampleStep.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "core/OutputSet.h"
#include "engine/doublesample/Allocation.h"
#include "engine/doublesample/DoubleSampleInputs.h"
#include "engine/doublesample/StratVolReport.h"
#include "engine/doublesample/StratifiedEstimates.h"
#include "files/DataSetFiles.h"

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
    if (in.paths.trees.empty()) {
        return "No Phase 2 tree input file is chosen: it is chosen in step 5 (Compute Plots).";
    }
    if (!isPresent(in.paths.trees)) {
        return missingFile(in.paths.trees,
                           "the Phase 2 tree input file, chosen in step 5 (Compute Plots)");
    }
    return std::nullopt;
}

}  // namespace

StepResult computeDoubleSample(const StepInputs& in, StepHost& host) {
    if (auto message = missingInput(in)) return StepResult::stopped(std::move(*message));

    const DoubleSampleInputs inputs = readDoubleSampleInputs(in);
    stopIfCancelled(host);

    OutputSet outputs;
    // The stratum volume report is listed before the regression report.
    OutputFile& stratVol = outputs.file(files::path(in, DataSetFile::StratumVolume));
    OutputFile& regress = outputs.file(files::path(in, DataSetFile::Regression));
    const DoubleSampleEstimates estimates = estimateAllStrata(inputs);
    writeRegressionReport(estimates, regress);
    for (const std::string& note : combinationNotes(estimates)) warn("combined estimate", note);
    const Allocation allocation =
        allocateClasses(inputs, estimates, in.params.MaxSpec, in.params.MaxProd);
    writeStratVolReport(allocation, estimates, stratVol);
    stopIfCancelled(host);

    StepResult result;
    result.outputs = outputs.commit();
    result.closingLog = {
        "Double sample estimates computed successfully!",
        "The following file was created in the directory - " + files::dirText(in.dataDir)};
    for (const auto& file : result.outputs) result.closingLog.push_back(file.filename().string());
    return result;
}

}  // namespace orr
