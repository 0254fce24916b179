#include "files/DataSetFiles.h"

#include "core/Step.h"

namespace orr::files {

namespace {

struct FileName {
    std::string_view suffix;
    int step;
};

constexpr std::array<FileName, 23> kFiles = {{
    {"_COEFFIC.csv", 0},    {"_STRATA.csv", 0},     {"_DBH.csv", 0},        {"_PH2TreeV.csv", 5},
    {"_PH2Plot.csv", 5},    {"_PH2PlotT.csv", 5},   {"_PH2Sum.csv", 5},     {"_PH2plotDS1.csv", 6},
    {"_PH2plotDS2.csv", 6}, {"_PH2specDS1.csv", 6}, {"_PH2specDS2.csv", 6}, {"_Phase1DS1.csv", 7},
    {"_Phase1DS2.csv", 7},  {"_Phase2.csv", 8},     {"_VolSum.txt", 8},     {"_Regress.txt", 9},
    {"_StratVol.txt", 9},   {"_Estimates.csv", 9},  {"_Allocation.csv", 9}, {"_Report.html", 9},
    {"_Plan.csv", 9},
    {"_Run.csv", 5},     // and every step after it
    {"_Spread.csv", 0},  // by orravant-cli spread, which no step reads
}};

const FileName& entry(DataSetFile file) {
    return kFiles.at(static_cast<std::size_t>(file));
}

}  // namespace

std::string_view suffix(DataSetFile file) {
    return entry(file).suffix;
}

int writtenByStep(DataSetFile file) {
    return entry(file).step;
}

std::string fileName(std::string_view dataSetName, DataSetFile file) {
    return std::string(dataSetName) + std::string(suffix(file));
}

std::filesystem::path path(const std::filesystem::path& dataDir, std::string_view dataSetName,
                           DataSetFile file) {
    return dataDir / fileName(dataSetName, file);
}

std::filesystem::path path(const StepInputs& inputs, DataSetFile file) {
    return path(inputs.dataDir, inputs.dataSetName, file);
}

std::optional<DataSetFile> dataSetFileNamed(std::string_view dataSetName,
                                            std::string_view fileName) {
    if (!fileName.starts_with(dataSetName)) return std::nullopt;
    const std::string_view rest = fileName.substr(dataSetName.size());
    for (std::size_t i = 0; i < kFiles.size(); ++i) {
        if (kFiles[i].suffix == rest) return static_cast<DataSetFile>(i);
    }
    return std::nullopt;
}

std::filesystem::path lockPath(const std::filesystem::path& dataDir, std::string_view dataSetName) {
    return dataDir / (std::string(dataSetName) + ".lock");
}

std::string dirText(const std::filesystem::path& dataDir) {
    std::string text = dataDir.string();
    text += std::filesystem::path::preferred_separator;
    return text;
}

}  // namespace orr::files
