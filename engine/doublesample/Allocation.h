// The Phase 2 class values of every stratum index and the shares by which a stratum's selected
// mean volume is allocated to its species-product classes.
#pragma once

#include <memory>
#include <vector>

#include "engine/doublesample/DoubleSampleInputs.h"
#include "engine/doublesample/StratifiedEstimates.h"

namespace orr {

// Class values of one stratum index, [species 0..maxSpec][product 0..maxProd].
class ClassTable {
  public:
    ClassTable(int maxSpec, int maxProd);

    std::size_t index(int species, int product) const {
        return static_cast<std::size_t>(species) * static_cast<std::size_t>(maxProd_ + 1) +
               static_cast<std::size_t>(product);
    }

    // Phase 2 N, BA and volume of the class: sums over the stratum's plots, then means per plot.
    std::vector<double> N, BA, vol;
    std::vector<double> heightSum, trees;  // measured total heights and their number
    std::vector<double> height;            // mean measured total height
    std::vector<double> shareBA, shareVol;

  private:
    int maxProd_;
};

struct Allocation {
    int maxSpec = 0;
    int maxProd = 0;
    // [stratum index 0..H]; null for a stratum index without any Phase 2 class value or tree.
    std::vector<std::unique_ptr<ClassTable>> strata;

    const ClassTable* at(int h) const { return strata[static_cast<std::size_t>(h)].get(); }
};

// Class values and shares. Index 0 holds the means of all Phase 2 plots (_PH2Sum.csv); a stratum
// h >= 1 holds its plots' sums divided by its number of Phase 2 plots with ground trees. Shares
// are formed only for strata with a written regression. A tree counts at its stratum and at
// index 0, once when it lies in no stratum.
Allocation allocateClasses(const DoubleSampleInputs& in, const DoubleSampleEstimates& est,
                           int maxSpec, int maxProd);

}  // namespace orr
