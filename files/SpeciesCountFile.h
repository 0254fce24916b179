// _PH2specDS1.csv, written by step 6 and read by step 7: per Phase 2 plot and species 1..MaxSpec
// the number of ground trees per unit area (the plot's class N summed over the products).
#pragma once

#include <cstdint>
#include <string>

#include "files/RecordFile.h"

namespace orr::files {

struct SpeciesCount {
    std::int32_t plot = 0;   // 1..MaxPlots
    int species = 0;         // 1..MaxSpec
    std::int64_t count = 0;  // a whole number
};

struct SpeciesCountFile {
    using Record = SpeciesCount;
    static constexpr int kFields = 3;
    static void parse(const CommaReader& in, const Limits& limits, Record& r);
    // The record's line appended to text: lines are made on several threads and added to the
    // file in order.
    static void write(std::string& out, const Record& r);
};

}  // namespace orr::files
