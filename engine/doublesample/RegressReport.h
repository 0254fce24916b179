// The lines of the regression report _Regress.txt: per stratum index a section with the
// regressions written, the LiDAR variables and the ground means, then the combined section.
// Every function returns one line without its CR LF.
#pragma once

#include <string>

#include "engine/doublesample/StratumEstimate.h"

namespace orr::regress {

std::string headerLine();
// Regression k of stratum index h.
std::string regressionLine(int h, int k, const StratumEstimate& e);
std::string variableHeaderLine();
// LiDAR variable of regression k: its Phase 1 and Phase 2 means, the CV of its data set and the
// sample sizes required.
std::string variableLine(int h, int k, const StratumEstimate& e);
// "Grn Volume-DS1" (data set 0), "Grn Volume-DS2" (data set 1).
std::string groundLine(int dataSet, double ybar);
std::string groundVolumeLine(double ybarG);
std::string combinedHeaderLine();
std::string combinedLine(int k, double estimate, double standardError, double sePercent);

}  // namespace orr::regress
