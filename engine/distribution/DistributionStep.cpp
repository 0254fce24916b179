// Step 6 as a whole: the tables, the plots and heights, the two passes, and the three output
// files, which reach the data directory only when the step completes.
#include "engine/distribution/DistributionStep.h"

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <utility>

#include "core/OutputSet.h"
#include "engine/distribution/DistributionInputs.h"
#include "engine/distribution/DistributionPasses.h"
#include "files/CoefficientFile.h"
#include "files/DataSetFiles.h"
#include "files/DbhFile.h"
#include "files/LidarHeightFile.h"
#include "files/StrataFile.h"

namespace orr {

using files::DataSetFile;

StepResult distributeLidarTrees(const StepInputs& in, StepHost& host) {
    if (in.paths.lidarHigh.empty())
        return StepResult::stopped("Please select Phase 1 Lidar Height");
    const ParamRecord& params = in.params;
    distribution::DistributionTables tables{
        readCoefficientFile(in.paths.coefficients, params.MaxSpec),
        loadDbhLimits(in.paths.dbh, params.MaxSpec, params.MaxProd, in.dataSetName),
        readStrataFile(in.paths.strata)};

    distribution::PlotsAndHeights read;
    try {
        read = distribution::readPlotsAndHeights(in);
    } catch (const files::PlotAboveMaxPlots& e) {
        // MaxPlots is a 16-bit number: a plot beyond it is a fault of the file, not of MaxPlots.
        if (e.plot > std::numeric_limits<std::int16_t>::max()) throw;
        return StepResult::needsLargerMaxPlots(e.plot);
    }

    OutputSet outputs;
    distribution::DistributionOutputs written{
        outputs.file(files::path(in, DataSetFile::LidarPlotsDS1)),
        outputs.file(files::path(in, DataSetFile::SpeciesCountsDS1)),
        outputs.file(files::path(in, DataSetFile::LidarPlotsDS2))};
    // No step writes species counts of DataSet 2: a non-empty file of that name is listed, an
    // empty one goes.
    const std::filesystem::path speciesDS2 = files::path(in, DataSetFile::SpeciesCountsDS2);
    const bool speciesDS2Listed = fileLength(speciesDS2) > 0;
    if (!speciesDS2Listed && std::filesystem::is_regular_file(speciesDS2)) outputs.file(speciesDS2);

    const distribution::PassesEnd end =
        distribution::distributePasses(in, tables, read, written, host);
    if (end.stop) return StepResult::stopped(*end.stop);
    stopIfCancelled(host);

    StepResult result;
    result.droppedQuestions = end.droppedQuestions;
    result.closingReplacesLog = true;
    result.closingLog = {"Iteration Done!!", "The following files were created in directory - " +
                                                 files::dirText(in.dataDir)};
    const std::pair<DataSetFile, bool> listing[] = {
        {DataSetFile::LidarPlotsDS1, written.plotsDS1.size() > 0},
        {DataSetFile::SpeciesCountsDS1, written.speciesDS1.size() > 0},
        {DataSetFile::LidarPlotsDS2, written.plotsDS2.size() > 0},
        {DataSetFile::SpeciesCountsDS2, speciesDS2Listed},
    };
    for (const auto& [file, listed] : listing) {
        if (listed) result.closingLog.push_back(files::fileName(in.dataSetName, file));
    }
    result.outputs = outputs.commit();
    return result;
}

}  // namespace orr
