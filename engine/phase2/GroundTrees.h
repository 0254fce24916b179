// The Phase 2 tree input file: one ground-measured tree per record of eight fields.
#pragma once

#include <filesystem>
#include <vector>

#include "core/Session.h"

namespace orr {

struct GroundTree {
    int plot = 0;
    int species = 0;  // 0..MaxSpec; 0 counts in the plot totals but in no class
    int product = 0;  // 0..MaxProd
    double dbh = 0;
    double height = 0;  // 0: not measured
    int age = 0;
    double extra1 = 0;
    double extra2 = 0;
};

// Reads every tree of the file. Throws InputError naming the file, record, field and text for a
// field that is not a number, a plot outside 1..MaxPlots, a species outside 0..MaxSpec, a
// product outside 0..MaxProd, an age that is no 16-bit integer, a record cut short, or a file
// that cannot be read.
std::vector<GroundTree> readGroundTrees(const std::filesystem::path& file,
                                        const ParamRecord& params);

}  // namespace orr
