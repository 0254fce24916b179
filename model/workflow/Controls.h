// The buttons and output labels of the main window whose state the workflow decides, with the
// object names the window gives them.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "files/DataSetFiles.h"

namespace orr::workflow {

enum class Button {
    DataSetCreate,        // step 1
    SetParam,             // step 2
    RegCoeff,             // step 3
    AssignPlotsDBH,       // step 4
    ComputePlots,         // step 5
    Iterate,              // step 6
    ComputePhase1,        // step 7
    CombinePhase2,        // step 8
    ComputeDoubleSample,  // step 9
    AllSteps,             // step 10
    ViewOutput,           // step 11
    Instructions,         // step 12
    Reset,
    Exit,
};
inline constexpr std::size_t kButtonCount = 14;

enum class Label {
    DataSetName,
    CoefficientFile,
    StrataDbhFiles,
    TreeFile,
    PlotClassesFile,
    PlotTotalsFile,
    Phase2SummaryFile,
    LidarPlotsDS1,
    LidarPlotsDS2,
    Phase1DS1,
    Phase1DS2,
    Phase2File,
    VolumeSummary,
    Regression,
    StratumVolume,
    Reports,
};
inline constexpr std::size_t kLabelCount = 16;

// objectName of the button ("cmdComputePlots").
std::string_view buttonName(Button b);

// objectName of the label ("LblPlotOutfile1") and the caption it has before a step sets it.
std::string_view labelName(Label l);
std::string_view initialCaption(Label l);
std::optional<Label> labelByName(std::string_view name);
// The file of the data set an output label tells of (so the label belongs to the step that
// writes it); nullopt for the labels of the set-up steps.
std::optional<files::DataSetFile> labelFile(Label l);

inline constexpr std::array<Label, kLabelCount> allLabels() {
    std::array<Label, kLabelCount> all{};
    for (std::size_t i = 0; i < kLabelCount; ++i) all[i] = static_cast<Label>(i);
    return all;
}
inline constexpr std::array<Button, kButtonCount> allButtons() {
    std::array<Button, kButtonCount> all{};
    for (std::size_t i = 0; i < kButtonCount; ++i) all[i] = static_cast<Button>(i);
    return all;
}

}  // namespace orr::workflow
