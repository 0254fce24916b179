// The working tables of step 8: per plot the ground totals and the LiDAR totals of both data
// sets, per species-product class the sums of the section being built, and which plots have
// contributed to that section.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/OutputSet.h"
#include "engine/combine/VolSumReport.h"
#include "files/LidarPlotFile.h"
#include "files/Phase1File.h"
#include "files/Phase2File.h"
#include "files/RecordFile.h"

namespace orr {

class CombineTotals {
  public:
    explicit CombineTotals(const files::Limits& limits);

    // A class record of _PH2plotDS1.csv: its ground values go to the plot's ground totals
    // unless GN and GBA are both 0; its LiDAR values go to the plot's DataSet 1 totals and to
    // the class sums unless LN and LBA are both 0.
    void addDataSet1(const files::LidarPlotClass& r);
    // A class record of _PH2plotDS2.csv: only its LiDAR values are used, as for DataSet 1.
    void addDataSet2(const files::LidarPlotClass& r);
    // The sums of a Phase 1 section: gathered on their own, so that the two Phase 1 files can be
    // read at once.
    class Phase1Section {
      public:
        explicit Phase1Section(const files::Limits& limits);
        // A record of a Phase 1 file, unless N and BA are both 0: to the species' sums.
        void add(const files::Phase1Total& r);

      private:
        friend class CombineTotals;
        std::vector<files::Totals> species_;  // [species 0..MaxSpec]
        std::vector<std::int32_t> plots_;     // as sectionPlots_
    };

    // A Phase 2 LiDAR section: one line per class whose N sum is not 0, the means taken over
    // the plots that contributed. Nothing is written when no plot contributed. Afterwards the
    // class sums and the contributing plots start again from nothing.
    void writeLidarSection(VolSumReport& report, std::string_view title);
    // A Phase 1 section: one line for every species, also those without trees.
    void writePhase1Section(VolSumReport& report, std::string_view title, Phase1Section& section);

    // _Phase2.csv: one record per plot, ascending, unless its ground and LiDAR N and BA totals
    // are all 0.
    void writePhase2File(OutputFile& out) const;

  private:
    files::Totals& classSums(int species, int product);
    files::Phase2PlotTotals& plot(std::int32_t number);
    void addLidar(const files::LidarPlotClass& r, files::Totals& plot);
    static void seen(std::vector<std::int32_t>& plots, std::int32_t plot);
    // The plots 1..MaxPlots among `plots`, which are cleared for the next section.
    static std::int64_t takeSectionPlots(std::vector<std::int32_t>& plots);
    void clearClassSums();

    files::Limits limits_;
    // The Phase 2 plots met, by plot number; kept for the plots present, not for every number up
    // to MaxPlots.
    std::unordered_map<std::int32_t, files::Phase2PlotTotals> plots_;
    // The plots that contributed to the section being built, each at least once (a plot's
    // records follow each other, so a repeat right after itself is not kept).
    std::vector<std::int32_t> sectionPlots_;
    std::vector<files::Totals> classes_;  // [species 0..MaxSpec][product 0..MaxProd]
};

}  // namespace orr
