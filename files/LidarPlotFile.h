// _PH2plotDS1.csv and _PH2plotDS2.csv, written by step 6 and read by step 8: per Phase 2 plot
// and species-product class the ground N, BA and volume of step 5 beside the LiDAR-based N, BA
// and volume, in the print style (every number between blanks, " .5 " without its zero).
#pragma once

#include <cstdint>
#include <string>

#include "files/RecordFile.h"

namespace orr::files {

struct LidarPlotClass {
    std::int32_t plot = 0;  // 1..MaxPlots
    int species = 0;        // 1..MaxSpec
    int product = 0;        // 1..MaxProd
    double groundN = 0;     // written as it is
    double groundBA = 0;    // written to 1 decimal
    double groundVol = 0;   // written as a whole number
    double lidarN = 0;      // written as a whole number
    double lidarBA = 0;     // written to 1 decimal
    double lidarVol = 0;    // written as a whole number
};

struct LidarPlotFile {
    using Record = LidarPlotClass;
    static constexpr int kFields = 9;
    static void parse(const CommaReader& in, const Limits& limits, Record& r);
    // The record's line appended to text: lines are made on several threads and added to the
    // file in order.
    static void write(std::string& out, const Record& r);
};

}  // namespace orr::files
