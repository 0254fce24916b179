#include "model/workflow/Controls.h"

namespace orr::workflow {

namespace {
constexpr std::array<std::string_view, kButtonCount> kButtonNames = {
    "cmdDataSetCreate",  "cmdSetParam",      "cmdRegCoeff",
    "cmdAssignPlotsDBH", "cmdComputePlots",  "cmdIterate",
    "cmdComputePhase1",  "cmdCombinePhase2", "cmdComputeDoubleSample",
    "cmdAllSteps",       "cmdViewOutput",    "cmdInstructions",
    "cmdReset",          "cmdExit",
};
constexpr std::array<std::string_view, kLabelCount> kLabelNames = {
    "lbldatasetname",  "LblCoeffFile",    "LblStratDBHfilename", "LblInputFilename",
    "LblPlotOutfile1", "LblPlotOutfile2", "LblPlotOutfile3",     "LblHighLidar6",
    "LblLowLidar6",    "LblHighLidar7",   "LblLowLidar7",        "LblCombine8",
    "LblCombineSumm8", "LblCompute9",     "LblAllocate9",        "lblOutputfiles",
};
}  // namespace

std::string_view buttonName(Button b) {
    return kButtonNames[static_cast<std::size_t>(b)];
}

std::string_view labelName(Label l) {
    return kLabelNames[static_cast<std::size_t>(l)];
}

std::string_view initialCaption(Label l) {
    switch (l) {
        case Label::DataSetName:
        case Label::CoefficientFile:
        case Label::StrataDbhFiles:
            return "label";
        case Label::TreeFile:
            return "Infile=";
        default:
            return "OutFile =";
    }
}

std::optional<files::DataSetFile> labelFile(Label l) {
    using files::DataSetFile;
    switch (l) {
        case Label::TreeFile:
            return DataSetFile::TreeVolumes;
        case Label::PlotClassesFile:
            return DataSetFile::PlotClasses;
        case Label::PlotTotalsFile:
            return DataSetFile::PlotTotals;
        case Label::Phase2SummaryFile:
            return DataSetFile::Phase2Summary;
        case Label::LidarPlotsDS1:
            return DataSetFile::LidarPlotsDS1;
        case Label::LidarPlotsDS2:
            return DataSetFile::LidarPlotsDS2;
        case Label::Phase1DS1:
            return DataSetFile::Phase1DS1;
        case Label::Phase1DS2:
            return DataSetFile::Phase1DS2;
        case Label::Phase2File:
            return DataSetFile::Phase2;
        case Label::VolumeSummary:
            return DataSetFile::VolumeSummary;
        case Label::Regression:
            return DataSetFile::Regression;
        case Label::StratumVolume:
            return DataSetFile::StratumVolume;
        case Label::Reports:
            return DataSetFile::Report;
        default:
            return std::nullopt;
    }
}

std::optional<Label> labelByName(std::string_view name) {
    for (std::size_t i = 0; i < kLabelCount; ++i)
        if (kLabelNames[i] == name) return static_cast<Label>(i);
    return std::nullopt;
}

}  // namespace orr::workflow
