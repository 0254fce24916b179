// The nine user parameters, in the order of their record in PARAMETER.PRM.
#pragma once

#include <cstdint>

namespace orr {

// The largest MaxPlots: plot numbers run up to it in every file and step. Every count and sum
// of plots is kept in at least 32 bits.
inline constexpr std::int32_t kLargestMaxPlots = 2000000000;

struct ParamRecord {
    std::int16_t PACF = 0;  // plot expansion factor: trees per unit area a counted tree stands for
    std::int16_t MaxSpec = 0;   // species codes 1..MaxSpec
    std::int16_t MaxProd = 0;   // product codes 1..MaxProd
    std::int16_t MaxItern = 0;  // draws per Phase 2 plot in the LiDAR distribution
    // The largest plot number, 1..kLargestMaxPlots. PARAMETER.PRM keeps a value up to 32767 in
    // its 16-bit field and a larger one after the record (model/session/ParamFile.cpp).
    std::int32_t MaxPlots = 0;
    std::int16_t LiHgtAdj = 0;  // list position: 0 = "Yes", 1 = "No"
    std::int16_t ModelSet = 0;  // list position: 0 = "ModelSet 1", 1 = "ModelSet 2"
    float PTIP = 0;             // top diameter of the taper volume, ModelSet 1 only
    float STIP = 0;
    // Not in the 22-byte record: kept after it in PARAMETER.PRM only when they differ from these
    // defaults (model/session/ParamFile.cpp), so that a file of the defaults stays 22 bytes.
    std::int16_t LidarClasses = 0;  // list position: 0 = random draws, 1 = expected shares
    double GroundPlotCost = 10;     // the cost of one ground (Phase 2) plot
    double LidarPlotCost = 1;       // the cost of one LiDAR (Phase 1) plot
    double TargetError = 10;        // the sampling error aimed at, percent

    static ParamRecord defaults() { return {20, 2, 3, 100, 1500, 1, 0, 0.0f, 0.0f}; }
    bool operator==(const ParamRecord&) const = default;
};

}  // namespace orr

namespace orr {

// Steps 6 and 7 let every LiDAR tree enter each class with the chance its draw would have
// (LidarClasses 1) instead of drawing it into one class at random (0, the default).
inline bool expectedShares(const ParamRecord& p) {
    return p.LidarClasses == 1;
}

// The stratum age that a LiDAR tree's ground height, DBH, basal area and volume depend on:
// ModelSet list position 1's equations take the plot's stratum age, those of position 0 take
// none, so that a tree of one species and height is the same tree at every age (0 stands for
// them all). Tables of computed trees are kept by this age.
inline int lidarTreeAge(const ParamRecord& p, int plotAge) {
    return p.ModelSet == 1 ? plotAge : 0;
}

}  // namespace orr
