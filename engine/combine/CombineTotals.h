// The working tables of step 8: per plot the ground totals and the LiDAR totals of both data
// sets, per species-product class the sums of the section being built, and which plots have
// contributed to that section.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/combine/CombineRecords.h"
#include "engine/combine/VolSumReport.h"

namespace orr {

class CombineTotals {
  public:
    explicit CombineTotals(const CombineLimits& limits);

    // A class record of _PH2plotDS1.csv: its ground values go to the plot's ground totals
    // unless GN and GBA are both 0; its LiDAR values go to the plot's DataSet 1 totals and to
    // the class sums unless LN and LBA are both 0.
    void addDataSet1(const PlotClassRecord& r);
    // A class record of _PH2plotDS2.csv: only its LiDAR values are used, as for DataSet 1.
    void addDataSet2(const PlotClassRecord& r);
    // A record of a Phase 1 file, unless N and BA are both 0: to the species' sums.
    void addPhase1(const Phase1Record& r);

    // A Phase 2 LiDAR section: one line per class whose N sum is not 0, the means taken over
    // the plots that contributed. Nothing is written when no plot contributed. Afterwards the
    // class sums and the contributing plots start again from nothing.
    void writeLidarSection(VolSumReport& report, std::string_view title);
    // A Phase 1 section: one line for every species, also those without trees.
    void writePhase1Section(VolSumReport& report, std::string_view title);

    // _Phase2.csv: one record per plot, ascending, unless its ground and LiDAR N and BA totals
    // are all 0.
    std::string phase2Records() const;

  private:
    struct PlotTotals {
        double GN = 0, GBA = 0, GVol = 0;
        double L1N = 0, L1BA = 0, L1Vol = 0;
        double L2N = 0, L2BA = 0, L2Vol = 0;
    };
    struct ClassSums {
        double N = 0, BA = 0, Vol = 0;
    };

    ClassSums& classSums(int species, int product);
    void see(int plot);
    void addLidar(const PlotClassRecord& r, double& plotN, double& plotBA, double& plotVol);
    int takeSectionPlots();
    void clearClassSums();

    CombineLimits limits_;
    std::vector<PlotTotals> plots_;   // index 0..MaxPlots
    std::vector<char> plotSeen_;      // index 0..MaxPlots
    std::vector<ClassSums> classes_;  // [species 0..MaxSpec][product 0..MaxProd]
};

}  // namespace orr
