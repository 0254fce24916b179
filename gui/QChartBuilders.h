// The charts of the results window, built with Qt Charts from what the engine works out for them
// (engine/doublesample/ChartData.h), so that the window and the report show the same points.
// The series carry object names, so tests and users' scripts can find them.
#pragma once

#include <QString>
#include <vector>

#include "engine/doublesample/ChartData.h"

class QChart;

namespace orr::gui {

// Every stratum's estimate and the combined one, each with its 95 percent confidence bar: the
// estimates as the scatter series "seriesEstimates" at x = 0, 1, ... in the order of `bars`
// (an estimate that is not there is left out), one line series "seriesInterval<i>" from the low
// to the high end of bar i.
QChart* estimatesChart(const std::vector<EstimateInterval>& bars, const QString& title);

// A stratum's Phase 2 plots ("seriesPlots": LiDAR value, ground volume), the fitted line
// ("seriesFittedLine", two points), the Phase 1 mean as a dashed vertical line
// ("seriesPhase1Mean") and the estimate on it ("seriesEstimate").
QChart* scatterChart(const StratumScatter& s);

// The regression's figures shown beside its scatter: R², SE %, efficiency, the estimate and its
// interval (`interval`: the stratum's bar for the same regression).
QString scatterSummary(const StratumScatter& s, const EstimateInterval& interval);

}  // namespace orr::gui
