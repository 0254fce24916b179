// _PH2specDS1.csv, written by step 6 and read by step 7: per Phase 2 plot and species 1..MaxSpec
// the number of ground trees per unit area (the plot's class N summed over the products).
#pragma once

#include <cstdint>

#include "core/OutputSet.h"
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
    static void write(OutputFile& out, const Record& r);
};

}  // namespace orr::files
