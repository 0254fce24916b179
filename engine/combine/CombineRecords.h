// Readers of the three kinds of file that step 8 combines. Each reads its file once, record by
// record, checks the plot numbers and the species and product codes against the session's
// limits, and hands every record on as it is read. A record it cannot use stops the reading
// with an InputError that names the file, the record, the field and the text found.
#pragma once

#include <filesystem>
#include <functional>

namespace orr {

// The ranges that step 8 accepts: plots 1..maxPlots, species 1..maxSpec, products 1..maxProd.
struct CombineLimits {
    int maxPlots = 0;
    int maxSpec = 0;
    int maxProd = 0;
};

// One class record of a LiDAR plot file of step 6 (_PH2plotDS1.csv, _PH2plotDS2.csv).
struct PlotClassRecord {
    int plot = 0;
    int species = 0;
    int product = 0;
    double GN = 0, GBA = 0, GVOL = 0;  // ground N, BA and volume of the class
    double LN = 0, LBA = 0, LVOL = 0;  // LiDAR-based N, BA and volume of the class
};

// One record of the Phase 2 summary file of step 5 (_PH2Sum.csv).
struct SummaryRecord {
    int species = 0;
    int product = 0;
    double meanN = 0, meanBA = 0, meanVol = 0;  // per plot
    int plots = 0;                              // number of plots the means divide by
};

// One record of a Phase 1 file of step 7 (_Phase1DS1.csv, _Phase1DS2.csv).
struct Phase1Record {
    int plot = 0;
    int species = 0;
    double N = 0, BA = 0, VOL = 0;
};

void readPlotClassFile(const std::filesystem::path& file, const CombineLimits& limits,
                       const std::function<void(const PlotClassRecord&)>& use);
void readSummaryFile(const std::filesystem::path& file, const CombineLimits& limits,
                     const std::function<void(const SummaryRecord&)>& use);
void readPhase1File(const std::filesystem::path& file, const CombineLimits& limits,
                    const std::function<void(const Phase1Record&)>& use);

}  // namespace orr
