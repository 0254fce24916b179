#include "engine/combine/CombineTotals.h"

#include <algorithm>

namespace orr {

namespace {

std::size_t tableSize(int highest) {
    return static_cast<std::size_t>(std::max(highest, 0)) + 1;
}

void addTo(files::Totals& to, double n, double ba, double vol) {
    to.n += n;
    to.ba += ba;
    to.vol += vol;
}

bool holdsNothing(const files::Totals& t) {
    return t.n == 0 && t.ba == 0;
}

}  // namespace

CombineTotals::CombineTotals(const files::Limits& limits)
    : limits_(limits), classes_(tableSize(limits.maxSpec) * tableSize(limits.maxProd)) {}

files::Phase2PlotTotals& CombineTotals::plot(std::int32_t number) {
    return plots_[number];
}

void CombineTotals::seen(std::vector<std::int32_t>& plots, std::int32_t plot) {
    if (plots.empty() || plots.back() != plot) plots.push_back(plot);
}

files::Totals& CombineTotals::classSums(int species, int product) {
    return classes_.at(static_cast<std::size_t>(species) * tableSize(limits_.maxProd) +
                       static_cast<std::size_t>(product));
}

void CombineTotals::addDataSet1(const files::LidarPlotClass& r) {
    files::Phase2PlotTotals& totals = plot(r.plot);
    if (r.groundN != 0 || r.groundBA != 0) addTo(totals.ground, r.groundN, r.groundBA, r.groundVol);
    addLidar(r, totals.lidar[0]);
}

void CombineTotals::addDataSet2(const files::LidarPlotClass& r) {
    addLidar(r, plot(r.plot).lidar[1]);
}

// A record's LiDAR values go to the plot's totals of its data set and to the section's class,
// unless both its N and its BA are 0.
void CombineTotals::addLidar(const files::LidarPlotClass& r, files::Totals& plot) {
    if (r.lidarN == 0 && r.lidarBA == 0) return;
    seen(sectionPlots_, r.plot);
    addTo(plot, r.lidarN, r.lidarBA, r.lidarVol);
    addTo(classSums(r.species, r.product), r.lidarN, r.lidarBA, r.lidarVol);
}

CombineTotals::Phase1Section::Phase1Section(const files::Limits& limits)
    : species_(tableSize(limits.maxSpec)) {}

void CombineTotals::Phase1Section::add(const files::Phase1Total& r) {
    if (r.n == 0 && r.ba == 0) return;
    seen(plots_, r.plot);
    addTo(species_.at(static_cast<std::size_t>(r.species)), r.n, r.ba, r.vol);
}

// The plots 1..MaxPlots that contributed to the section; the marks are cleared for the next.
std::int64_t CombineTotals::takeSectionPlots(std::vector<std::int32_t>& plots) {
    // A Phase 1 file lists its plots in ascending order as a rule: a million of them then need
    // no sorting.
    if (!std::is_sorted(plots.begin(), plots.end())) std::sort(plots.begin(), plots.end());
    const auto distinct = std::unique(plots.begin(), plots.end());
    const auto first = std::lower_bound(plots.begin(), distinct, 1);
    const std::int64_t count = distinct - first;
    plots.clear();
    return count;
}

// Every section starts from empty sums. A class whose N sum is 0 gets no line, yet its BA and
// volume sums need not be 0 (a record with LN 0 and LBA not 0); left in place they would be
// counted again in the next section.
void CombineTotals::clearClassSums() {
    std::fill(classes_.begin(), classes_.end(), files::Totals{});
}

void CombineTotals::writeLidarSection(VolSumReport& report, std::string_view title) {
    const std::int64_t plots = takeSectionPlots(sectionPlots_);
    if (plots > 0) {
        report.beginSection(title);
        for (int s = 1; s <= limits_.maxSpec; ++s) {
            for (int p = 1; p <= limits_.maxProd; ++p) {
                const files::Totals& c = classSums(s, p);
                if (c.n != 0) {
                    const auto d = static_cast<double>(plots);
                    report.phase2Line(s, p, c.n / d, c.ba / d, c.vol / d, plots);
                }
            }
        }
        report.endSection();
    }
    clearClassSums();
}

void CombineTotals::writePhase1Section(VolSumReport& report, std::string_view title,
                                       Phase1Section& section) {
    const std::int64_t plots = takeSectionPlots(section.plots_);
    if (plots > 0) {
        report.beginSection(title);
        for (int s = 1; s <= limits_.maxSpec; ++s) {
            const files::Totals& c = section.species_[static_cast<std::size_t>(s)];
            const auto d = static_cast<double>(plots);
            report.phase1Line(s, c.n / d, c.ba / d, c.vol / d, plots);
        }
        report.endSection();
    }
    std::fill(section.species_.begin(), section.species_.end(), files::Totals{});
}

void CombineTotals::writePhase2File(OutputFile& out) const {
    std::vector<std::int32_t> numbers;
    numbers.reserve(plots_.size());
    for (const auto& [number, totals] : plots_) numbers.push_back(number);
    std::sort(numbers.begin(), numbers.end());
    for (const std::int32_t number : numbers) {
        files::Phase2PlotTotals t = plots_.at(number);
        if (holdsNothing(t.ground) && holdsNothing(t.lidar[0]) && holdsNothing(t.lidar[1])) {
            continue;
        }
        t.plot = number;
        files::Phase2File::write(out, t);
    }
}

}  // namespace orr
