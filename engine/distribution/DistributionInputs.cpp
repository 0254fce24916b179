#include "engine/distribution/DistributionInputs.h"

#include <algorithm>
#include <exception>

#include "core/InputError.h"
#include "files/DataSetFiles.h"
#include "files/LidarHeightFile.h"
#include "files/PlotClassFile.h"

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

std::vector<Phase2Plot> readPhase2Plots(const std::filesystem::path& file,
                                        const files::Limits& limits) {
    std::vector<Phase2Plot> plots;
    double lastN = 0;
    files::forEachRecord<files::PlotClassFile>(file, limits, [&](const files::PlotClass& r) {
        if (plots.empty() || plots.back().plot != r.plot) plots.push_back({r.plot, {}});
        plots.back().classes.push_back({r.species, r.product, r.n, r.ba, r.vol, r.nPercent / 100});
        lastN = r.n;
    });
    // The plot file ends the last plot only when its last class has ground trees.
    if (!plots.empty() && !(lastN > 0)) plots.pop_back();
    for (auto& p : plots) settleClasses(p.classes);
    return plots;
}

}  // namespace

std::span<const double> LidarHeights::of(int plot) const {
    if (plot < 0 || static_cast<std::size_t>(plot) >= byPlot_.size()) return {};
    return byPlot_[static_cast<std::size_t>(plot)];
}

LidarHeights readLidarHeights(const std::filesystem::path& file, const files::Limits& limits,
                              const std::vector<char>& wanted, files::LidarTreeCount* count) {
    LidarHeights heights;
    heights.byPlot_.resize(wanted.size());
    files::forEachRecord<files::LidarHeightFile>(file, limits, [&](const files::LidarHeight& r) {
        if (count) count->add(r);
        const auto plot = static_cast<std::size_t>(r.plot);
        if (plot < wanted.size() && wanted[plot]) heights.byPlot_[plot].push_back(r.height);
    });
    return heights;
}

PlotsAndHeights readPlotsAndHeights(const StepInputs& in) {
    const files::Limits limits = files::Limits::of(in.params);
    PlotsAndHeights read;
    std::exception_ptr plotFileFault;
    try {
        read.plots = readPhase2Plots(files::path(in, files::DataSetFile::PlotClasses), limits);
    } catch (const InputError&) {
        plotFileFault = std::current_exception();
    }
    std::vector<char> wanted(static_cast<std::size_t>(std::max(0, limits.maxPlots + 1)), 0);
    for (const auto& p : read.plots) wanted[static_cast<std::size_t>(p.plot)] = 1;

    files::LidarTreeCount dataSet1;
    read.heights[0] = readLidarHeights(in.paths.lidarHigh, limits, wanted, &dataSet1);
    if (plotFileFault) std::rethrow_exception(plotFileFault);
    dataSet1.requireTrees(in.paths.lidarHigh);
    if (!in.paths.lidarLow.empty())
        read.heights[1] = readLidarHeights(in.paths.lidarLow, limits, wanted);
    return read;
}

int plotAge(const StrataTable& strata, int plot) {
    for (const auto& row : strata) {
        if (row.beginPlot <= plot && plot <= row.endPlot) return row.avgAge;
    }
    return 0;
}

}  // namespace orr::distribution
