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

std::optional<Button> stepButton(int step) {
    switch (step) {
        case 5:
            return Button::ComputePlots;
        case 6:
            return Button::Iterate;
        case 7:
            return Button::ComputePhase1;
        case 8:
            return Button::CombinePhase2;
        case 9:
            return Button::ComputeDoubleSample;
        default:
            return std::nullopt;
    }
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

std::optional<Label> labelByName(std::string_view name) {
    for (std::size_t i = 0; i < kLabelCount; ++i)
        if (kLabelNames[i] == name) return static_cast<Label>(i);
    return std::nullopt;
}

}  // namespace orr::workflow
