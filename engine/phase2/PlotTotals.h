// The accumulators of step 5: N, BA and volume of the plot being read, by species-product class
// and over all classes, and their sums over all closed plots. Closing a plot writes its class
// records and its total record.
#pragma once

#include <cstdint>
#include <vector>

#include "core/OutputSet.h"

namespace orr {

class PlotTotals {
  public:
    PlotTotals(int maxSpec, int maxProd);

    // One counted tree standing for `pacf` trees per unit area.
    void addTree(int species, int product, double pacf, double treeBA, double treeVolume);

    // Whether the plot being read holds anything (any total above 0).
    bool plotHoldsAnything() const { return plotNT_ > 0 || plotBAT_ > 0 || plotVolT_ > 0; }

    // Appends the class records of `plot` to the plot file and its total record to the
    // plot-total file, then empties the plot's accumulators. Counts the plot.
    void closePlot(std::int32_t plot, OutputFile& plotFile, OutputFile& plotTotalFile);

    // The summary records: the mean per closed plot of every class with trees.
    void writeSummary(OutputFile& summaryFile) const;

  private:
    std::size_t index(int species, int product) const {
        return static_cast<std::size_t>(species) * (maxProd_ + 1) + product;
    }

    int maxSpec_;
    int maxProd_;
    std::vector<double> plotN_, plotBA_, plotVol_;
    double plotNT_ = 0, plotBAT_ = 0, plotVolT_ = 0;
    std::vector<double> sumN_, sumBA_, sumVol_;
    std::int64_t plotCount_ = 0;
};

}  // namespace orr
