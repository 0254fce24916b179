#include "engine/distribution/DistributionInputs.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <functional>

#include "core/InputError.h"
#include "core/ParallelFor.h"
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

// One LiDAR height file read into the heights of the wanted plots; the bytes read and the
// heights kept so far can be asked from another thread.
class LidarHeightReading {
  public:
    explicit LidarHeightReading(const std::vector<std::int32_t>& wanted) {
        heights_.plots_ = wanted;
        heights_.byPlot_.resize(wanted.size());
    }

    // Reads the file to its end; `every` is called every so many records (and may throw).
    // Only the records of the wanted plots are converted: the records of any other plot that
    // follow its first one are passed over by their plot field alone (the comma reader still
    // makes sure that each is a whole record of a plot number and a plain number, so that a
    // file that would be refused is refused here the same way, at the same record). A DataSet 1
    // file's records are all converted until one tree taller than 10 feet has been counted.
    void read(const std::filesystem::path& file, const files::Limits& limits,
              files::LidarTreeCount* count, const std::function<void()>& every) {
        files::RecordReader<files::LidarHeightFile> in(file, limits);
        files::LidarHeight r;
        std::int64_t lastPlot = -1;
        std::vector<double>* into = nullptr;
        bool unwanted = false;  // the plot of the record last read is not one of the plots
        long records = 0;
        long nextReport = files::kRecordsBetweenReports;
        const auto& plots = heights_.plots_;
        for (;;) {
            if (unwanted && (!count || count->anyTaller())) {
                const long skipped = in.skipSameFirstField();
                if (count) count->addUnlooked(skipped);
                records += skipped;
            }
            if (!in.next(r)) break;
            if (count) count->add(r);
            // A plot is looked up once per run of its records, which follow each other.
            if (r.plot != lastPlot) {
                lastPlot = r.plot;
                const auto at = std::lower_bound(plots.begin(), plots.end(), r.plot);
                into = at != plots.end() && *at == r.plot
                           ? &heights_.byPlot_[static_cast<std::size_t>(at - plots.begin())]
                           : nullptr;
                unwanted = into == nullptr;
            }
            if (into) {
                into->push_back(r.height);
                ++heights_.count_;
            }
            if (++records >= nextReport) {
                nextReport =
                    (records / files::kRecordsBetweenReports + 1) * files::kRecordsBetweenReports;
                bytes = in.reader().bytesRead();
                kept = heights_.count_;
                if (every) every();
            }
        }
        bytes = in.reader().bytesRead();
        kept = heights_.count_;
    }

    LidarHeights take() { return std::move(heights_); }

    std::atomic<std::uintmax_t> bytes{0};
    std::atomic<std::size_t> kept{0};

  private:
    LidarHeights heights_;
};

std::span<const double> LidarHeights::of(std::int32_t plot) const {
    const auto at = std::lower_bound(plots_.begin(), plots_.end(), plot);
    if (at == plots_.end() || *at != plot) return {};
    return byPlot_[static_cast<std::size_t>(at - plots_.begin())];
}

PlotsAndHeights readPlotsAndHeights(const StepInputs& in, const ReadProgress& onRead) {
    const files::Limits limits = files::Limits::of(in.params);
    PlotsAndHeights read;
    std::exception_ptr plotFileFault;
    try {
        read.plots = readPhase2Plots(files::path(in, files::DataSetFile::PlotClasses), limits);
    } catch (const InputError&) {
        plotFileFault = std::current_exception();
    }
    std::vector<std::int32_t> wanted;
    wanted.reserve(read.plots.size());
    for (const auto& p : read.plots) wanted.push_back(p.plot);
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());

    LidarHeightReading high(wanted), low(wanted);
    const auto report = [&] {
        if (onRead) onRead(high.bytes + low.bytes, high.kept + low.kept);
    };
    const bool withLow = !in.paths.lidarLow.empty();
    // The DataSet 2 file is read on a thread of its own while this one reads DataSet 1; its
    // warnings and its fault come after those of DataSet 1, as in a reading of one file after the
    // other.
    files::LidarTreeCount dataSet1;
    sideBySide(
        in.threads,
        [&] {
            high.read(in.paths.lidarHigh, limits, &dataSet1, report);
            if (plotFileFault) std::rethrow_exception(plotFileFault);
            dataSet1.requireTrees(in.paths.lidarHigh);
        },
        [&](const std::function<void()>& every) {
            if (withLow) low.read(in.paths.lidarLow, limits, nullptr, every);
        },
        report);
    report();
    read.heights[0] = high.take();
    read.heights[1] = low.take();
    return read;
}

}  // namespace orr::distribution
