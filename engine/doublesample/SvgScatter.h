// A stratum's scatter as an SVG drawing for the report: the Phase 2 plots' ground volume against
// the LiDAR variable, the fitted line, the Phase 1 mean as a dashed vertical line with the
// estimate marked on it, and axes with round tick values. Plain text; no fonts or files outside.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/doublesample/ChartData.h"

namespace orr {

// Round tick values covering [low, high], about `count` of them, at a step of 1, 2 or 5 times a
// power of ten; with the number of decimals that step needs.
struct AxisTicks {
    std::vector<double> values;
    int decimals = 0;
};
AxisTicks niceTicks(double low, double high, int count);

// The <svg> element of the scatter, with class "scatter" and data-stratum="h".
std::string svgScatter(const StratumScatter& s, std::string_view variable);

// Text with &, <, >, " and ' written as HTML entities.
std::string htmlEscaped(std::string_view text);

}  // namespace orr
