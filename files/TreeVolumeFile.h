// _PH2TreeV.csv, written by step 5: every counted ground tree with its height (measured or
// predicted) and volume. No step reads it; it is there for the user.
#pragma once

#include <cstdint>

#include "core/OutputSet.h"

namespace orr::files {

struct TreeVolume {
    std::int32_t plot = 0;
    int species = 0;
    int product = 0;
    double dbh = 0;     // written to 2 decimals
    double height = 0;  // written as a whole number
    double volume = 0;  // written to 5 decimals
    double extra1 = 0;  // written to 2 decimals
    double extra2 = 0;  // written to 2 decimals
};

struct TreeVolumeFile {
    using Record = TreeVolume;
    static void write(OutputFile& out, const Record& r);
};

}  // namespace orr::files
