// Step 7 as a whole: the coefficient, DBH, strata and species-count inputs, the DataSet 1 and
// DataSet 2 passes, and the two output files, which reach the data directory only when the step
// completes.
#include "engine/phase1/Phase1Step.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/OutputSet.h"
#include "core/ParallelFor.h"
#include "engine/phase1/Phase1Pass.h"
#include "files/DataSetFiles.h"

namespace orr {

namespace {

using files::DataSetFile;

// The step's tables: the DBH limits, the strata and the species shares of every stratum.
phase1::Phase1Tables readTables(const StepInputs& in, const CoefficientTable& coeff,
                                const files::Limits& limits) {
    const ParamRecord& params = in.params;
    phase1::Phase1Tables tables{
        coeff, loadDbhLimits(in.paths.dbh, params.MaxSpec, params.MaxProd, in.dataSetName),
        StrataRanges(readStrataFile(in.paths.strata)), phase1::StratumShares{}};
    phase1::checkStratumNumbers(tables.strata.rows(), in.paths.strata);
    tables.shares = phase1::StratumShares::read(files::path(in, DataSetFile::SpeciesCountsDS1),
                                                tables.strata, limits);
    return tables;
}

}  // namespace

StepResult computePhase1(const StepInputs& in, StepHost& host) {
    const ParamRecord& params = in.params;
    const files::Limits limits{std::max<std::int32_t>(params.MaxPlots, 0), params.MaxSpec,
                               params.MaxProd};
    const CoefficientTable coeff = readCoefficientFile(in.paths.coefficients, params.MaxSpec);
    phase1::Phase1Tables tables = readTables(in, coeff, limits);

    const std::array<std::filesystem::path, 2> lidarFiles = {in.paths.lidarHigh, in.paths.lidarLow};
    phase1::PassProgress progress;
    for (const auto& file : lidarFiles) {
        if (!file.empty()) progress.total += fileLength(file);
    }
    const unsigned threads = threadCount(in.threads);

    OutputSet outputs;
    // The pages of the trees computed, used by both passes in turn.
    phase1::TreePages trees;
    for (int pass = 1; pass <= 2; ++pass) {
        const std::filesystem::path& lidarFile = lidarFiles[pass - 1];
        // A skipped pass leaves no file of its name: its output stays empty.
        OutputFile& out = outputs.file(files::path(in, files::phase1(pass)));
        if (lidarFile.empty()) continue;
        phase1::LidarReader lidar(lidarFile, limits);
        const std::uintmax_t bytes = fileLength(lidarFile);
        // An empty DataSet 2 file is a skipped pass; DataSet 1 must hold trees (below).
        if (bytes < 1 && pass == 2) continue;
        const phase1::PassTally tally =
            phase1::computePass(pass, lidar, tables, trees, in, threads, out, host, progress);
        if (pass == 1) {
            tally.trees.requireTrees(lidarFile);
            // Whole now: it goes to the disk while the second pass is computed.
            out.toDiskAhead();
        }
        host.log(phase1::tallyLine(pass, tally));
        const std::string dataSet = "DataSet " + std::to_string(pass);
        tally.plausibility.warn("ground heights of " + dataSet + " LiDAR trees",
                                dataSet + " LiDAR tree volumes");
        progress.before += bytes;
    }
    host.progress(progress.total, progress.total);
    stopIfCancelled(host);
    const std::vector<std::filesystem::path> written = outputs.commit();

    StepResult result;
    result.closingReplacesLog = true;
    result.closingLog = {
        "Phase 1 computation of LiDAR heights completed!!",
        "The following file(s) were created in the directory - " + files::dirText(in.dataDir)};
    // DataSet 2 is listed before DataSet 1.
    for (int pass : {2, 1}) {
        const std::filesystem::path file = files::path(in, files::phase1(pass));
        if (std::find(written.begin(), written.end(), file) == written.end()) continue;
        result.outputs.push_back(file);
        result.closingLog.push_back(files::fileName(in.dataSetName, files::phase1(pass)));
    }
    // With random draws the run seed tells how the species were given.
    if (expectedShares(params)) {
        result.closingLog.push_back(
            "LiDAR trees to species: expected shares (every LiDAR tree entered each species of "
            "its stratum with its share; no random draws)");
    }
    return result;
}

const files::StepFiles& phase1Files() {
    // MaxPlots only bounds the plot numbers: the files of a completed run do not depend on it.
    static const files::StepFiles declared{
        7,
        {files::chosen(ChosenInput::Coefficients), files::chosen(ChosenInput::Dbh),
         files::chosen(ChosenInput::Strata), files::chosen(ChosenInput::LidarDS1),
         files::chosenIfAny(ChosenInput::LidarDS2),
         files::ofDataSet(DataSetFile::SpeciesCountsDS1)},
        {DataSetFile::Phase1DS1, DataSetFile::Phase1DS2},
        {"PACF", "MaxSpec", "MaxProd", "LiHgtAdj", "ModelSet", "PTIP", "STIP", "LidarClasses"}};
    return declared;
}

}  // namespace orr
