// _PH2PlotT.csv, written by step 5: per Phase 2 plot the totals of all its classes. No step reads
// it; it is there for the user.
#pragma once

#include <cstdint>

#include "core/OutputSet.h"

namespace orr::files {

struct PlotTotal {
    std::int32_t plot = 0;
    double n = 0;    // written as it is
    double ba = 0;   // written to 2 decimals
    double vol = 0;  // written to 2 decimals
};

struct PlotTotalFile {
    using Record = PlotTotal;
    static void write(OutputFile& out, const Record& r);
};

}  // namespace orr::files
