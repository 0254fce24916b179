// The Phase 2 tree input file, chosen by the user: one ground-measured tree per record of eight
// fields, plot, species, product, DBH, height, age and two extra values. No header line.
#pragma once

#include <cstdint>

#include "files/RecordFile.h"

namespace orr::files {

struct GroundTree {
    std::int32_t plot = 0;  // 1..MaxPlots
    int species = 0;        // 0..MaxSpec; 0 counts in the plot totals but in no class
    int product = 0;        // 0..MaxProd
    double dbh = 0;         // inches
    double height = 0;      // feet; 0: not measured
    int age = 0;            // a 16-bit whole number
    double extra1 = 0;
    double extra2 = 0;
};

struct TreeInputFile {
    using Record = GroundTree;
    static constexpr int kFields = 8;
    static void parse(const CommaReader& in, const Limits& limits, Record& r);
};

}  // namespace orr::files
