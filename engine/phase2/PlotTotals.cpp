#include "engine/phase2/PlotTotals.h"

#include <algorithm>

#include "files/Phase2SummaryFile.h"
#include "files/PlotClassFile.h"
#include "files/PlotTotalFile.h"

namespace orr {

namespace {

// A share of a plot total in percent; a total of 0 (a plot whose trees have no basal area or no
// volume) gives 0 rather than a division by zero.
double percentOf(double part, double total) {
    return total == 0 ? 0.0 : part / total * 100;
}

double meanOver(double sum, std::int64_t count) {
    return count == 0 ? 0.0 : sum / static_cast<double>(count);
}

}  // namespace

PlotTotals::PlotTotals(int maxSpec, int maxProd)
    : maxSpec_(std::max(0, maxSpec)), maxProd_(std::max(0, maxProd)) {
    const std::size_t cells = static_cast<std::size_t>(maxSpec_ + 1) * (maxProd_ + 1);
    for (auto* table : {&plotN_, &plotBA_, &plotVol_, &sumN_, &sumBA_, &sumVol_}) {
        table->assign(cells, 0.0);
    }
}

void PlotTotals::addTree(int species, int product, double pacf, double treeBA, double treeVolume) {
    const std::size_t i = index(species, product);
    plotN_[i] += pacf;
    plotBA_[i] += pacf * treeBA;
    plotVol_[i] += pacf * treeVolume;
    plotNT_ += pacf;
    plotBAT_ += pacf * treeBA;
    plotVolT_ += pacf * treeVolume;
    sumN_[i] += pacf;
    sumBA_[i] += pacf * treeBA;
    sumVol_[i] += pacf * treeVolume;
}

void PlotTotals::closePlot(std::int32_t plot, OutputFile& plotFile, OutputFile& plotTotalFile) {
    ++plotCount_;
    for (int s = 1; s <= maxSpec_; ++s) {
        for (int p = 1; p <= maxProd_; ++p) {
            const std::size_t i = index(s, p);
            if (plotN_[i] > 0 || static_cast<float>(plotVol_[i]) > 0) {
                files::PlotClassFile::write(
                    plotFile,
                    {plot, s, p, plotN_[i], plotBA_[i], plotVol_[i], percentOf(plotN_[i], plotNT_),
                     percentOf(plotBA_[i], plotBAT_), percentOf(plotVol_[i], plotVolT_)});
            }
        }
    }
    files::PlotTotalFile::write(plotTotalFile, {plot, plotNT_, plotBAT_, plotVolT_});
    // Every class starts the next plot empty, also those not written (species or product 0).
    std::fill(plotN_.begin(), plotN_.end(), 0.0);
    std::fill(plotBA_.begin(), plotBA_.end(), 0.0);
    std::fill(plotVol_.begin(), plotVol_.end(), 0.0);
    plotNT_ = plotBAT_ = plotVolT_ = 0;
}

void PlotTotals::writeSummary(OutputFile& summaryFile) const {
    for (int s = 1; s <= maxSpec_; ++s) {
        for (int p = 1; p <= maxProd_; ++p) {
            const std::size_t i = index(s, p);
            if (sumN_[i] != 0) {
                files::Phase2SummaryFile::write(
                    summaryFile,
                    {s, p, meanOver(sumN_[i], plotCount_), meanOver(sumBA_[i], plotCount_),
                     meanOver(sumVol_[i], plotCount_), plotCount_});
            }
        }
    }
}

}  // namespace orr
