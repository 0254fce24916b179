#include "engine/phase2/PlotTotals.h"

#include <algorithm>

#include "core/CommaWriter.h"

namespace orr {

namespace {

// A share of a plot total in percent; a total of 0 (a plot whose trees have no basal area or no
// volume) gives 0 rather than a division by zero.
double percentOf(double part, double total) {
    return total == 0 ? 0.0 : part / total * 100;
}

double meanOver(double sum, int count) {
    return count == 0 ? 0.0 : sum / count;
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

void PlotTotals::closePlot(int plot, std::string& plotFile, std::string& plotTotalFile) {
    ++plotCount_;
    for (int s = 1; s <= maxSpec_; ++s) {
        for (int p = 1; p <= maxProd_; ++p) {
            const std::size_t i = index(s, p);
            if (plotN_[i] > 0 || static_cast<float>(plotVol_[i]) > 0) {
                RecordLine()
                    .integer(plot)
                    .integer(s)
                    .integer(p)
                    .number(plotN_[i])
                    .rounded(plotBA_[i], 1)
                    .rounded(plotVol_[i], 2)
                    .rounded(percentOf(plotN_[i], plotNT_), 2)
                    .rounded(percentOf(plotBA_[i], plotBAT_), 2)
                    .rounded(percentOf(plotVol_[i], plotVolT_), 2)
                    .appendTo(plotFile);
            }
        }
    }
    RecordLine()
        .integer(plot)
        .number(plotNT_)
        .rounded(plotBAT_, 2)
        .rounded(plotVolT_, 2)
        .appendTo(plotTotalFile);
    // Every class starts the next plot empty, also those not written (species or product 0).
    std::fill(plotN_.begin(), plotN_.end(), 0.0);
    std::fill(plotBA_.begin(), plotBA_.end(), 0.0);
    std::fill(plotVol_.begin(), plotVol_.end(), 0.0);
    plotNT_ = plotBAT_ = plotVolT_ = 0;
}

void PlotTotals::writeSummary(std::string& summaryFile) const {
    for (int s = 1; s <= maxSpec_; ++s) {
        for (int p = 1; p <= maxProd_; ++p) {
            const std::size_t i = index(s, p);
            if (sumN_[i] != 0) {
                RecordLine()
                    .integer(s)
                    .integer(p)
                    .rounded(meanOver(sumN_[i], plotCount_), 2)
                    .rounded(meanOver(sumBA_[i], plotCount_), 2)
                    .rounded(meanOver(sumVol_[i], plotCount_), 2)
                    .integer(plotCount_)
                    .appendTo(summaryFile);
            }
        }
    }
}

}  // namespace orr
