#include "engine/distribution/PlotLines.h"

#include <algorithm>

#include "core/NumberText.h"

namespace orr::distribution {

namespace {

std::string trimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

}  // namespace

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

std::string statusLogLine(const files::LidarPlotClass& l) {
    std::string out;
    out += padField(shortest(l.plot), 6);
    out += padField(shortest(l.species), 3);
    out += padField(shortest(l.product), 3);
    out += padField(shortest(l.groundN), 6);
    out += padField(roundedText(l.groundBA, 1), 6);
    out += padField(roundedText(l.groundVol, 0), 10);
    out += padField(roundedText(l.lidarN, 0), 6);
    out += padField(roundedText(l.lidarBA, 1), 6);
    out += roundedText(l.lidarVol, 0);
    return trimBlanks(out);
}

std::string statusHeading() {
    return "PLOT SP PR  GN    GBA   GVOL  LN    LBA  LVOL ";
}

}  // namespace orr::distribution
