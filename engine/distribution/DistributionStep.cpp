// Step 6 as a whole: the tables, the plots and heights, the two passes, and the three output
// files, which reach the data directory only when the step completes.
#include "engine/distribution/DistributionStep.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "core/NumberText.h"
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

namespace {

// With random draws the run seed tells how the classes were given.
constexpr std::string_view kExpectedSharesLine =
    "LiDAR trees to classes: expected shares (every LiDAR tree entered each class with its "
    "share; no random draws)";

// What one answer for a whole gap of the DBH file decided, for the log:
// "Species 1, DBH 11.9 to 14.0: product 3 for 57 trees (one answer for the gap)".
std::string gapAnswerLine(const distribution::GapAnswer& answer) {
    const auto inches = [](double d) { return fixedDecimalsHalfAway(d, "0.0"); };
    std::string line = "Species " + std::to_string(answer.species) + ", DBH ";
    if (answer.gap.from && answer.gap.to)
        line += inches(*answer.gap.from) + " to " + inches(*answer.gap.to);
    else if (answer.gap.from)
        line += "from " + inches(*answer.gap.from) + " up";
    else if (answer.gap.to)
        line += "below " + inches(*answer.gap.to);
    else
        line += "of any size";
    const std::string trees =
        std::to_string(answer.trees) + (answer.trees == 1 ? " tree" : " trees");
    line += answer.code ? ": product " + std::to_string(*answer.code) + " for " + trees
                        : ": " + trees + " dropped";
    return line + " (one answer for the gap)";
}

}  // namespace

// Trees dropped for want of a product code, by species with the range of their DBHs.
void warnDroppedTrees(const std::vector<distribution::DroppedTrees>& dropped) {
    if (dropped.empty()) return;
    std::size_t total = 0;
    std::string bySpecies;
    for (const auto& d : dropped) {
        total += d.trees;
        bySpecies += (bySpecies.empty() ? "" : ", ") + std::string("species ") +
                     std::to_string(d.species) + " (" + std::to_string(d.trees) +
                     (d.trees == 1 ? " tree" : " trees") + ", DBH " +
                     roundedText(d.smallestDbh, 1) +
                     (d.largestDbh > d.smallestDbh ? " to " + roundedText(d.largestDbh, 1) : "") +
                     " inches)";
    }
    warn("dropped trees", std::to_string(total) + (total == 1 ? " LiDAR tree" : " LiDAR trees") +
                              " dropped for want of a product code: " + bySpecies + ".");
}

StepResult distributeLidarTrees(const StepInputs& in, StepHost& host) {
    const ParamRecord& params = in.params;
    distribution::DistributionTables tables{
        readCoefficientFile(in.paths.coefficients, params.MaxSpec),
        loadDbhLimits(in.paths.dbh, params.MaxSpec, params.MaxProd, in.dataSetName),
        StrataRanges(readStrataFile(in.paths.strata))};

    // Progress: the bytes of both LiDAR files as they are read, then the draws of the passes,
    // whose number is known once the heights are in and guessed from the share kept until then.
    const std::uintmax_t lidarBytes =
        fileLength(in.paths.lidarHigh) + fileLength(in.paths.lidarLow);
    const auto onRead = [&](std::uintmax_t bytes, std::size_t kept) {
        stopIfCancelled(host);
        const double share = bytes > 0 ? static_cast<double>(lidarBytes) / bytes : 1.0;
        const auto guessedKept = static_cast<std::uintmax_t>(static_cast<double>(kept) * share);
        host.progress(bytes, lidarBytes + distribution::passUnits(guessedKept, params.MaxItern));
    };
    distribution::PlotsAndHeights read;
    try {
        read = distribution::readPlotsAndHeights(in, onRead);
    } catch (const files::PlotAboveMaxPlots& e) {
        // A plot beyond the largest MaxPlots is a fault of the file, not of MaxPlots.
        if (e.plot > kLargestMaxPlots) throw;
        StepResult larger = StepResult::needsLargerMaxPlots(e.plot);
        larger.message = e.what();  // the file, record and plot number, for the message
        return larger;
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
        distribution::distributePasses(in, tables, read, written, host, lidarBytes);
    if (end.stop) return StepResult::stopped(*end.stop);
    stopIfCancelled(host);

    warnDroppedTrees(end.dropped);
    StepResult result;
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
    for (const distribution::GapAnswer& answer : end.gapAnswers)
        result.closingLog.push_back(gapAnswerLine(answer));
    if (expectedShares(params)) result.closingLog.push_back(std::string(kExpectedSharesLine));
    result.outputs = outputs.commit();
    return result;
}

const files::StepFiles& distributionFiles() {
    // MaxPlots only bounds the plot numbers: the files of a completed run do not depend on it.
    static const files::StepFiles declared{
        6,
        {files::chosen(ChosenInput::Coefficients), files::chosen(ChosenInput::Dbh),
         files::chosen(ChosenInput::Strata), files::chosen(ChosenInput::LidarDS1),
         files::chosenIfAny(ChosenInput::LidarDS2), files::ofDataSet(DataSetFile::PlotClasses)},
        {DataSetFile::LidarPlotsDS1, DataSetFile::SpeciesCountsDS1, DataSetFile::LidarPlotsDS2,
         DataSetFile::SpeciesCountsDS2},
        {"PACF", "MaxSpec", "MaxProd", "MaxItern", "LiHgtAdj", "ModelSet", "PTIP", "STIP",
         "LidarClasses"}};
    return declared;
}

}  // namespace orr
