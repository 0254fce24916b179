// A Phase 1 LiDAR height file, chosen by the user for DataSet 1 (HIGH) or DataSet 2 (LOW): one
// LiDAR tree per record of plot number and height (feet). The records of a plot follow each
// other; a plot number may come back later in the file.
#pragma once

#include <cstdint>

#include "core/InputError.h"
#include "files/RecordFile.h"

namespace orr::files {

struct LidarHeight {
    std::int32_t plot = 0;  // 0..MaxPlots
    double height = 0;
};

// A plot number above MaxPlots: the user may raise MaxPlots and run the step again.
class PlotAboveMaxPlots : public InputError {
  public:
    PlotAboveMaxPlots(const InputError& message, std::int64_t plot)
        : InputError(message), plot(plot) {}
    std::int64_t plot;
};

struct LidarHeightFile {
    using Record = LidarHeight;
    static constexpr int kFields = 2;
    // A plot below 0 is an InputError; one above MaxPlots throws PlotAboveMaxPlots. The files
    // hold millions of records: a whole plot number within 0..MaxPlots is taken at once.
    static void parse(const CommaReader& in, const Limits& limits, Record& r) {
        const double plot = in.number(0, "plot");
        if (plot >= 0 && plot <= limits.maxPlots) {
            const auto whole = static_cast<std::int32_t>(plot);
            if (static_cast<double>(whole) == plot) {
                r.plot = whole;
                r.height = in.number(1, "height");
                return;
            }
        }
        parsePlot(in, limits, r);
        r.height = in.number(1, "height");
    }
    // The plot number that is not a whole number within 0..MaxPlots as it stands.
    static void parsePlot(const CommaReader& in, const Limits& limits, Record& r);
};

// LiDAR trees of this height (feet) or less are not used by steps 6 and 7.
inline constexpr double kShortestUsedLidarHeight = 10.0;

// What a LiDAR height file held, counted as it is read. A DataSet 1 file without one tree taller
// than 10 feet gives steps 6 and 7 nothing to work on: they stop with a message naming it instead
// of writing files without LiDAR trees over the results of an earlier run.
class LidarTreeCount {
  public:
    void add(const LidarHeight& tree) {
        ++records_;
        if (tree.height > kShortestUsedLidarHeight) ++taller_;
    }
    // Records counted without their heights being looked at; only once a taller tree has been
    // counted, since no more than whether there is one is asked of the taller ones.
    void addUnlooked(long long records) { records_ += records; }
    bool anyTaller() const { return taller_ > 0; }
    // Throws InputError naming the file when it held no record or no tree taller than 10 feet.
    void requireTrees(const std::filesystem::path& file) const;

  private:
    long long records_ = 0;
    long long taller_ = 0;
};

}  // namespace orr::files
