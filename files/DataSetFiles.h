// The names of the files a data set's steps hand to each other: the one place that spells a
// suffix. Every file is <data directory>/<data-set name><suffix>.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orr {
struct StepInputs;
}

namespace orr::files {

enum class DataSetFile {
    Coefficients,      // _COEFFIC.csv   set-up, step 3 (the name the editor suggests)
    Strata,            // _STRATA.csv    set-up, step 4
    Dbh,               // _DBH.csv       set-up, step 4
    TreeVolumes,       // _PH2TreeV.csv  step 5: every tree with its height and volume
    PlotClasses,       // _PH2Plot.csv   step 5: plot totals by species and product
    PlotTotals,        // _PH2PlotT.csv  step 5: plot totals of all classes
    Phase2Summary,     // _PH2Sum.csv    step 5: means over the Phase 2 plots
    LidarPlotsDS1,     // _PH2plotDS1.csv  step 6: ground and LiDAR class totals, DataSet 1
    LidarPlotsDS2,     // _PH2plotDS2.csv  step 6: the same, DataSet 2
    SpeciesCountsDS1,  // _PH2specDS1.csv  step 6: ground trees per plot and species
    SpeciesCountsDS2,  // _PH2specDS2.csv  listed by step 6 when present; no step writes it
    Phase1DS1,         // _Phase1DS1.csv   step 7: Phase 1 totals per plot and species, DataSet 1
    Phase1DS2,         // _Phase1DS2.csv   step 7: the same, DataSet 2
    Phase2,            // _Phase2.csv      step 8: ground and LiDAR totals per Phase 2 plot
    VolumeSummary,     // _VolSum.txt      step 8: report
    Regression,        // _Regress.txt     step 9: report
    StratumVolume,     // _StratVol.txt    step 9: report
    Estimates,         // _Estimates.csv   step 9: every regression line of _Regress.txt as data
    Allocation,        // _Allocation.csv  step 9: every class line of _StratVol.txt as data
    Report,            // _Report.html     step 9: the report for the browser
    Plan,              // _Plan.csv        step 9: the plan of the next inventory
    Run,               // _Run.csv         steps 5 to 9: what each step's last run read and wrote
    Spread,            // _Spread.csv      orravant-cli spread: how the random draws move step 9
};

std::string_view suffix(DataSetFile file);
// The step that writes the file (0 for the set-up files).
int writtenByStep(DataSetFile file);
// "<name><suffix>", the name the log and the labels show.
std::string fileName(std::string_view dataSetName, DataSetFile file);
std::filesystem::path path(const std::filesystem::path& dataDir, std::string_view dataSetName,
                           DataSetFile file);
std::filesystem::path path(const StepInputs& inputs, DataSetFile file);
// The data directory as the log shows it, ending in the separator.
std::string dirText(const std::filesystem::path& dataDir);
// The data-set file that `fileName` (a bare name) is, for that data set; nullopt for any other.
std::optional<DataSetFile> dataSetFileNamed(std::string_view dataSetName,
                                            std::string_view fileName);
// The lock file that a run of the steps holds on its data set: <name>.lock in the data directory.
std::filesystem::path lockPath(const std::filesystem::path& dataDir, std::string_view dataSetName);

// The files of one data-set pass: DataSet 1 (pass 1) or DataSet 2 (pass 2).
inline DataSetFile phase1(int pass) {
    return pass == 1 ? DataSetFile::Phase1DS1 : DataSetFile::Phase1DS2;
}

}  // namespace orr::files
