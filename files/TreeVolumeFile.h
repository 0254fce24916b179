// _PH2TreeV.csv, written by step 5: every counted ground tree with its height (measured or
// predicted) and volume. No step reads it; it is there for the user.
#pragma once

#include <cstdint>
#include <string>

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
    // Appends the record's line to `out` (the text of the file, made in pieces).
    static void write(std::string& out, const Record& r);
};

}  // namespace orr::files
