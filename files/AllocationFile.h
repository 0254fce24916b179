// _Allocation.csv, written by step 9 beside its reports: every class line of the stratum volume
// report as data. A header line, then one row per class line in the report's order, with the
// unrounded values the report rounds.
#pragma once

#include <string>
#include <string_view>

#include "core/OutputSet.h"
#include "files/RecordFile.h"

namespace orr::files {

struct AllocationRecord {
    std::string stratum;  // "non-stratified", the stratum number, or "combined"
    int species = 0;
    int product = 0;
    double baAlloc = 0;   // the row's estimate allocated by the class's share of basal area
    double volAlloc = 0;  // and by its share of volume
    double n = 0;         // Phase 2 class means per plot: trees, basal area,
    double ba = 0;
    double height = 0;  // mean measured total height,
    double volume = 0;  // and volume
    bool operator==(const AllocationRecord&) const = default;
};

struct AllocationFile {
    using Record = AllocationRecord;
    static constexpr int kFields = 9;
    static constexpr std::string_view kHeader =
        "stratum,species,product,ba_alloc,vol_alloc,n,ba,height,volume";
    // The header must be the file's first record; parse reads the records after it.
    static void parse(const CommaReader& in, const Limits& limits, Record& r);
    static void write(OutputFile& out, const Record& r);
};

}  // namespace orr::files
