// _Phase2.csv, written by step 8 and read by step 9: per Phase 2 plot (ascending) the ground N,
// BA and volume and the LiDAR N, BA and volume of both data sets, unrounded.
#pragma once

#include <array>
#include <cstdint>

#include "core/OutputSet.h"
#include "files/RecordFile.h"

namespace orr::files {

struct Totals {
    double n = 0;
    double ba = 0;
    double vol = 0;
};

struct Phase2PlotTotals {
    std::int32_t plot = 0;        // 1..MaxPlots
    Totals ground;                // GN, GBA, GVOL
    std::array<Totals, 2> lidar;  // L1N, L1BA, L1VOL and L2N, L2BA, L2VOL
};

struct Phase2File {
    using Record = Phase2PlotTotals;
    static constexpr int kFields = 10;
    static void parse(const CommaReader& in, const Limits& limits, Record& r);
    // Throws std::range_error for a value that is not finite (nothing unreadable is written).
    static void write(OutputFile& out, const Record& r);
};

}  // namespace orr::files
