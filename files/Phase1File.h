// _Phase1DS1.csv and _Phase1DS2.csv, written by step 7 and read by steps 8 and 9: per Phase 1
// plot and species with LiDAR trees the N, BA and volume per unit area.
#pragma once

#include <cstdint>
#include <string>

#include "files/RecordFile.h"

namespace orr::files {

struct Phase1Total {
    std::int32_t plot = 0;  // 0..MaxPlots (a LiDAR file may hold plot 0)
    int species = 0;        // 1..MaxSpec
    double n = 0;           // a whole number; with expected shares written to 2 decimals
    double ba = 0;          // written to 2 decimals
    double vol = 0;         // written to 2 decimals
};

struct Phase1File {
    using Record = Phase1Total;
    static constexpr int kFields = 5;
    static void parse(const CommaReader& in, const Limits& limits, Record& r);
    // The record's line appended to text (lines are made on several threads and added to the
    // file in order): every field in its shortest text, BA and VOL, and N when `roundN`, rounded
    // half to even to 2 decimals (roundHalfEven) first.
    static void writeRounded(std::string& out, const Record& r, bool roundN);
};

}  // namespace orr::files
