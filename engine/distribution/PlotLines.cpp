#include "engine/distribution/PlotLines.h"

#include <algorithm>

#include "core/NumberText.h"

namespace orr::distribution {

std::vector<files::SpeciesCount> speciesCounts(const Phase2Plot& plot, int maxSpec) {
    std::vector<files::SpeciesCount> counts;
    counts.reserve(static_cast<std::size_t>(std::max(maxSpec, 0)));
    auto c = plot.classes.begin();
    for (int s = 1; s <= maxSpec; ++s) {
        long long count = 0;
        for (; c != plot.classes.end() && c->species == s; ++c) {
            count = nearestWholeHalfEven(static_cast<double>(count) + c->n);
        }
        counts.push_back({plot.plot, s, count});
    }
    return counts;
}

void appendStatusLogLine(std::string& out, const files::LidarPlotClass& l) {
    appendShortest(out, l.plot, 6);
    appendShortest(out, l.species, 3);
    appendShortest(out, l.product, 3);
    appendShortest(out, l.groundN, 6);
    appendRoundedShortest(out, l.groundBA, 1, 6);
    appendRoundedShortest(out, l.groundVol, 0, 10);
    appendRoundedShortest(out, l.lidarN, 0, 6);
    appendRoundedShortest(out, l.lidarBA, 1, 6);
    appendRoundedShortest(out, l.lidarVol, 0);
    out += "\r\n";
}

std::string statusHeading() {
    return "PLOT SP PR  GN    GBA   GVOL  LN    LBA  LVOL ";
}

}  // namespace orr::distribution
