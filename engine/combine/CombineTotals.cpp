#include "engine/combine/CombineTotals.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/CommaWriter.h"

namespace orr {

namespace {

std::size_t tableSize(int highest) {
    return static_cast<std::size_t>(std::max(highest, 0)) + 1;
}

}  // namespace

CombineTotals::CombineTotals(const CombineLimits& limits)
    : limits_(limits),
      plots_(tableSize(limits.maxPlots)),
      plotSeen_(tableSize(limits.maxPlots), 0),
      classes_(tableSize(limits.maxSpec) * tableSize(limits.maxProd)) {}

CombineTotals::ClassSums& CombineTotals::classSums(int species, int product) {
    return classes_.at(static_cast<std::size_t>(species) * tableSize(limits_.maxProd) +
                       static_cast<std::size_t>(product));
}

void CombineTotals::see(int plot) {
    plotSeen_.at(static_cast<std::size_t>(plot)) = 1;
}

void CombineTotals::addDataSet1(const PlotClassRecord& r) {
    PlotTotals& plot = plots_.at(static_cast<std::size_t>(r.plot));
    if (r.GN != 0 || r.GBA != 0) {
        plot.GN += r.GN;
        plot.GBA += r.GBA;
        plot.GVol += r.GVOL;
    }
    addLidar(r, plot.L1N, plot.L1BA, plot.L1Vol);
}

void CombineTotals::addDataSet2(const PlotClassRecord& r) {
    PlotTotals& plot = plots_.at(static_cast<std::size_t>(r.plot));
    addLidar(r, plot.L2N, plot.L2BA, plot.L2Vol);
}

// A record's LiDAR values go to the plot's totals of its data set and to the section's class,
// unless both its N and its BA are 0.
void CombineTotals::addLidar(const PlotClassRecord& r, double& plotN, double& plotBA,
                             double& plotVol) {
    if (r.LN == 0 && r.LBA == 0) return;
    see(r.plot);
    plotN += r.LN;
    plotBA += r.LBA;
    plotVol += r.LVOL;
    ClassSums& c = classSums(r.species, r.product);
    c.N += r.LN;
    c.BA += r.LBA;
    c.Vol += r.LVOL;
}

void CombineTotals::addPhase1(const Phase1Record& r) {
    if (r.N == 0 && r.BA == 0) return;
    see(r.plot);
    // Phase 1 has no product classes: its sums use product column 0.
    ClassSums& c = classSums(r.species, 0);
    c.N += r.N;
    c.BA += r.BA;
    c.Vol += r.VOL;
}

int CombineTotals::takeSectionPlots() {
    int count = 0;
    for (int plot = 1; plot <= limits_.maxPlots; ++plot) {
        if (plotSeen_[static_cast<std::size_t>(plot)] != 0) ++count;
    }
    std::fill(plotSeen_.begin(), plotSeen_.end(), 0);
    return count;
}

// Every section starts from empty sums. A class whose N sum is 0 gets no line, yet its BA and
// volume sums need not be 0 (a record with LN 0 and LBA not 0); left in place they would be
// counted again in the next section.
void CombineTotals::clearClassSums() {
    std::fill(classes_.begin(), classes_.end(), ClassSums{});
}

void CombineTotals::writeLidarSection(VolSumReport& report, std::string_view title) {
    const int plots = takeSectionPlots();
    if (plots > 0) {
        report.beginSection(title);
        for (int s = 1; s <= limits_.maxSpec; ++s) {
            for (int p = 1; p <= limits_.maxProd; ++p) {
                const ClassSums& c = classSums(s, p);
                if (c.N != 0)
                    report.phase2Line(s, p, c.N / plots, c.BA / plots, c.Vol / plots, plots);
            }
        }
        report.endSection();
    }
    clearClassSums();
}

void CombineTotals::writePhase1Section(VolSumReport& report, std::string_view title) {
    const int plots = takeSectionPlots();
    if (plots > 0) {
        report.beginSection(title);
        for (int s = 1; s <= limits_.maxSpec; ++s) {
            const ClassSums& c = classSums(s, 0);
            report.phase1Line(s, c.N / plots, c.BA / plots, c.Vol / plots, plots);
        }
        report.endSection();
    }
    clearClassSums();
}

std::string CombineTotals::phase2Records() const {
    std::string out;
    for (int plot = 1; plot <= limits_.maxPlots; ++plot) {
        const PlotTotals& t = plots_[static_cast<std::size_t>(plot)];
        if (t.GN == 0 && t.GBA == 0 && t.L1N == 0 && t.L1BA == 0 && t.L2N == 0 && t.L2BA == 0)
            continue;
        const double values[] = {t.GN,    t.GBA, t.GVol, t.L1N,  t.L1BA,
                                 t.L1Vol, t.L2N, t.L2BA, t.L2Vol};
        RecordLine line;
        line.integer(plot);
        for (double v : values) {
            if (!std::isfinite(v)) {
                throw std::range_error(
                    "The totals of plot " + std::to_string(plot) +
                    " are too large to be written to the combined Phase 2 file.");
            }
            line.number(v);
        }
        line.appendTo(out);
    }
    return out;
}

}  // namespace orr
