// Step 5: heights, volumes and plot totals of the Phase 2 ground trees (cmdComputePlots_Click's
// work). Writes the tree volume file, the plot file, the plot-total file and the Phase 2 summary
// file into the data directory.
#pragma once

#include <string_view>

#include "core/Session.h"
#include "core/StepHost.h"

namespace orr {

inline constexpr std::string_view kTreeVolumeSuffix = "_PH2TreeV.csv";
inline constexpr std::string_view kPlotSuffix = "_PH2Plot.csv";
inline constexpr std::string_view kPlotTotalSuffix = "_PH2PlotT.csv";
inline constexpr std::string_view kPhase2SummarySuffix = "_PH2Sum.csv";

// True when the step completed. On bad input it shows one message naming the file, record,
// field and text, and leaves every earlier output file as it was.
bool runPhase2Totals(Session& session, StepHost& host);

}  // namespace orr
