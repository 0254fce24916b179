#include "engine/distribution/DistributionInputs.h"

#include <algorithm>

#include "core/CommaReader.h"

namespace orr::distribution {

namespace {

// Orders the classes species-major and keeps, for a class read twice, the later record.
void settleClasses(std::vector<GroundClass>& classes) {
    std::stable_sort(classes.begin(), classes.end(), [](const auto& a, const auto& b) {
        return a.species != b.species ? a.species < b.species : a.product < b.product;
    });
    std::vector<GroundClass> kept;
    kept.reserve(classes.size());
    for (const auto& c : classes) {
        if (!kept.empty() && kept.back().species == c.species && kept.back().product == c.product)
            kept.back() = c;
        else
            kept.push_back(c);
    }
    classes = std::move(kept);
}

}  // namespace

std::vector<Phase2Plot> readPhase2Plots(const std::filesystem::path& file, int maxSpec, int maxProd,
                                        int maxPlots) {
    CommaReader reader(file);
    std::vector<Phase2Plot> plots;
    double lastN = 0;
    while (reader.next(9)) {
        const int plot = reader.intInRange(0, "plot", 1, maxPlots);
        GroundClass c;
        c.species = reader.intInRange(1, "species", 1, maxSpec);
        c.product = reader.intInRange(2, "product", 1, maxProd);
        c.n = reader.number(3, "N");
        c.ba = reader.number(4, "BA");
        c.vol = reader.number(5, "volume");
        c.share = reader.number(6, "N%") / 100;
        reader.number(7, "BA%");
        reader.number(8, "Vol%");
        if (plots.empty() || plots.back().plot != plot) plots.push_back({plot, {}});
        plots.back().classes.push_back(c);
        lastN = c.n;
    }
    if (!plots.empty() && !(lastN > 0)) plots.pop_back();
    for (auto& p : plots) settleClasses(p.classes);
    return plots;
}

std::span<const double> LidarHeights::of(int plot) const {
    if (plot < 0 || static_cast<std::size_t>(plot) >= byPlot_.size()) return {};
    return byPlot_[static_cast<std::size_t>(plot)];
}

struct LidarReader {
    static LidarRead read(const std::filesystem::path& file, int maxPlots,
                          const std::vector<char>& wanted) {
        LidarRead result;
        auto& byPlot = result.heights.byPlot_;
        byPlot.resize(wanted.size());
        CommaReader reader(file);
        while (reader.next(2)) {
            const int plot = reader.int16(0, "plot");
            if (plot < 0) reader.fail(0, "plot", "a plot number is 0 or more");
            if (plot > maxPlots) {
                result.plotAboveMaxPlots = plot;
                break;
            }
            const double height = reader.number(1, "height");
            const auto index = static_cast<std::size_t>(plot);
            if (index < wanted.size() && wanted[index]) byPlot[index].push_back(height);
        }
        return result;
    }
};

LidarRead readLidarHeights(const std::filesystem::path& file, int maxPlots,
                           const std::vector<char>& wanted) {
    return LidarReader::read(file, maxPlots, wanted);
}

int plotAge(const StrataTable& strata, int plot) {
    for (const auto& row : strata) {
        if (row.beginPlot <= plot && plot <= row.endPlot) return row.avgAge;
    }
    return 0;
}

}  // namespace orr::distribution
