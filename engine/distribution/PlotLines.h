// The lines that step 6 writes for a plot: the print-style class lines of _PH2plotDS1.csv and
// _PH2plotDS2.csv, the status-log line of each class, the species lines of _PH2specDS1.csv and
// the heading of each pass in the log.
#pragma once

#include <string>

#include "engine/distribution/DistributionInputs.h"

namespace orr::distribution {

struct ClassLine {
    int plot = 0;
    int species = 0;
    int product = 0;
    double groundN = 0, groundBA = 0, groundVol = 0;
    double lidarN = 0, lidarBA = 0, lidarVol = 0;
};

// PLOT, SP, PR, GN, GBA (1 decimal), GVOL (0), LN (0), LBA (1), LVOL (0) in the print style, with
// CR LF.
std::string plotFileLine(const ClassLine& line);
// The class's line in the status log (without CR LF and without surrounding blanks).
std::string statusLogLine(const ClassLine& line);
// One comma-style line plot, species, N per species 1..maxSpec, each with CR LF: the species' N
// summed over its products in product order, the running sum rounded to a whole number each time.
std::string speciesFileLines(const Phase2Plot& plot, int maxSpec);
// The heading of a pass in the status log.
std::string statusHeading();

}  // namespace orr::distribution
