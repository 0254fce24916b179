// One Phase 1 LiDAR tree in ground terms: ground height from the LiDAR height, DBH, basal area and
// volume, once its species has been drawn. The DBH serves only to reach the basal area and volume
// and to tell whether the tree is counted; it is not kept.
#pragma once

#include <optional>
#include <stdexcept>

#include "core/Parameters.h"
#include "files/CoefficientFile.h"
#include "files/DbhFile.h"

namespace orr::phase1 {

inline constexpr const char* kMissingCoefficientText =
    "Potential ERROR: No coefficient for LiDAR height equation";

// The ground-height equation of the pass lacks the coefficient it needs for the tree's species;
// the step stops.
class MissingCoefficient : public std::runtime_error {
  public:
    MissingCoefficient() : std::runtime_error(kMissingCoefficientText) {}
};

struct GroundTree {
    double height = 0.0;  // H, feet
    double basalArea = 0.0;
    double volume = 0.0;
};

class LidarTreeRule {
  public:
    // `pass` 1 uses equation 3 for the ground height, pass 2 equation 4.
    LidarTreeRule(const CoefficientTable& coeff, const DbhLimits& limits, const ParamRecord& params,
                  int pass);

    // The tree of LiDAR height h (above 10) drawn into `species` on a plot of stratum age
    // `plotAge`; nullopt when it is not counted (ground height 0 or less, or a DBH below the
    // smallest DBH of product 1 of the species). Throws MissingCoefficient.
    std::optional<GroundTree> compute(int species, double h, int plotAge) const;

    // The stratum age this pass's trees depend on (lidarTreeAge): trees computed for one plot
    // serve every plot of the same species, height and tree age.
    int treeAge(int plotAge) const { return lidarTreeAge(params_, plotAge); }

    double groundHeight(int species, double h, int plotAge) const;
    double dbhFromHeight(int species, double height, int plotAge) const;

  private:
    const CoefficientTable& coeff_;
    const DbhLimits& limits_;
    const ParamRecord& params_;
    int pass_;
};

}  // namespace orr::phase1
