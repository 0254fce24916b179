// _PH2Sum.csv, written by step 5 and read by steps 8 and 9: per species-product class with trees
// the mean N, BA and volume per Phase 2 plot, and the number of plots the means divide by.
#pragma once

#include <cstdint>

#include "core/OutputSet.h"
#include "files/RecordFile.h"

namespace orr::files {

struct ClassMean {
    int species = 0;  // 1..MaxSpec
    int product = 0;  // 1..MaxProd
    double n = 0;     // the three means, written to 2 decimals
    double ba = 0;
    double vol = 0;
    std::int64_t plots = 0;  // 0 or more
};

struct Phase2SummaryFile {
    using Record = ClassMean;
    static constexpr int kFields = 6;
    static void parse(const CommaReader& in, const Limits& limits, Record& r);
    static void write(OutputFile& out, const Record& r);
};

}  // namespace orr::files
