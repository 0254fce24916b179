// The nine user parameters, in the order of their record in PARAMETER.PRM.
#pragma once

#include <cstdint>

namespace orr {

struct ParamRecord {
    std::int16_t PACF = 0;  // plot expansion factor: trees per unit area a counted tree stands for
    std::int16_t MaxSpec = 0;   // species codes 1..MaxSpec
    std::int16_t MaxProd = 0;   // product codes 1..MaxProd
    std::int16_t MaxItern = 0;  // draws per Phase 2 plot in the LiDAR distribution
    std::int16_t MaxPlots = 0;  // the largest plot number
    std::int16_t LiHgtAdj = 0;  // list position: 0 = "Yes", 1 = "No"
    std::int16_t ModelSet = 0;  // list position: 0 = "ModelSet 1", 1 = "ModelSet 2"
    float PTIP = 0;             // top diameter of the taper volume, ModelSet 1 only
    float STIP = 0;

    static ParamRecord defaults() { return {20, 2, 3, 100, 1500, 1, 0, 0.0f, 0.0f}; }
    bool operator==(const ParamRecord&) const = default;
};

}  // namespace orr
