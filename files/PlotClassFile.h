// _PH2Plot.csv, written by step 5 and read by steps 6 and 9: per Phase 2 plot, one record per
// species-product class with trees, in plot order, species outer, product inner. N, BA and volume
// are values per unit area; the three shares are percentages of the plot's totals.
#pragma once

#include <cstdint>

#include "core/OutputSet.h"
#include "files/RecordFile.h"

namespace orr::files {

struct PlotClass {
    std::int32_t plot = 0;  // 1..MaxPlots
    int species = 0;        // 1..MaxSpec
    int product = 0;        // 1..MaxProd
    double n = 0;           // written as it is
    double ba = 0;          // written to 1 decimal
    double vol = 0;         // written to 2 decimals
    double nPercent = 0;    // the three percentages, written to 2 decimals
    double baPercent = 0;
    double volPercent = 0;
};

struct PlotClassFile {
    using Record = PlotClass;
    static constexpr int kFields = 9;
    static void parse(const CommaReader& in, const Limits& limits, Record& r);
    static void write(OutputFile& out, const Record& r);
};

}  // namespace orr::files
