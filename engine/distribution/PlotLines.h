// What step 6 says about a plot: the species counts of _PH2specDS1.csv, the status-log line of each
// class it writes to _PH2plotDS1.csv or _PH2plotDS2.csv, and the heading of each pass in the log.
#pragma once

#include <string>
#include <vector>

#include "engine/distribution/DistributionInputs.h"
#include "files/LidarPlotFile.h"
#include "files/SpeciesCountFile.h"

namespace orr::distribution {

// One count per species 1..maxSpec: the species' ground N summed over its products in product
// order, the running sum rounded to a whole number (half to even) after each addition.
std::vector<files::SpeciesCount> speciesCounts(const Phase2Plot& plot, int maxSpec);
// The class's line in the status log: plot, species, product, ground N, BA and volume, LiDAR N
// and BA padded to columns, then the LiDAR volume, and CR LF; added to `out`.
void appendStatusLogLine(std::string& out, const files::LidarPlotClass& line);
// The heading of a pass in the status log.
std::string statusHeading();

}  // namespace orr::distribution
