// The tree rule of step 6: one LiDAR height grown into a ground tree of a species — ground
// height, DBH, volume and basal area. It depends only on the height, the species, the plot's age
// and the data-set pass, so a plot computes it once per LiDAR tree and species.
#pragma once

#include "core/Parameters.h"
#include "files/CoefficientFile.h"

namespace orr::distribution {

struct LidarTree {
    enum class Kind {
        Short,               // LiDAR height 10 or less: not used
        MissingCoefficient,  // the pass's ground-height equation lacks a coefficient: the step
                             // stops
        NotCounted,          // no ground height above 0, or no real DBH
        Grown,
    };
    Kind kind = Kind::Short;
    double dbh = 0;           // inches
    double dbh1 = 0;          // DBH rounded to 1 decimal, half to even
    double groundHeight = 0;  // feet
    double basalArea = 0;     // square feet, one tree
};

struct TreeRuleSetup {
    const CoefficientTable* coeff = nullptr;
    const ParamRecord* params = nullptr;
    int pass = 1;  // 1: DataSet 1 (equation 3), 2: DataSet 2 (equation 4)
};

// The data-set pass as far as the tree rule takes it: each pass adjusts the LiDAR heights by its
// own ground-height equation when LiHgtAdj is "Yes" (0); otherwise a height gives the same tree
// in both passes (0).
inline int lidarTreePass(const TreeRuleSetup& setup) {
    return setup.params->LiHgtAdj == 0 ? setup.pass : 0;
}

// The tree of LiDAR height `height` as species `species` on a plot of stratum age `age`.
LidarTree growLidarTree(const TreeRuleSetup& setup, int species, int age, double height);
// The volume of a grown tree by the volume rule of the model set; asked only for trees that are
// counted, as it is the dearest part of the rule under ModelSet 1.
double lidarTreeVolume(const TreeRuleSetup& setup, int species, const LidarTree& tree);

}  // namespace orr::distribution
