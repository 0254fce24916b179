// What step 6 reads besides its tables, each file once: the Phase 2 plots as step 5 summed them,
// and the LiDAR heights of both data sets, kept for those plots only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <vector>

#include "core/Step.h"
#include "files/LidarHeightFile.h"
#include "files/RecordFile.h"

namespace orr::distribution {

// One species-product class of a Phase 2 plot: the ground trees that step 5 found in it.
struct GroundClass {
    int species = 0;
    int product = 0;
    double n = 0;      // trees per unit area
    double ba = 0;     // basal area per unit area
    double vol = 0;    // volume per unit area
    double share = 0;  // the class's part of the plot's trees (N percentage / 100)
};

// One Phase 2 plot: a run of consecutive records of the same plot number. The same number may
// come back later in the file; it is then a plot of its own.
struct Phase2Plot {
    std::int32_t plot = 0;
    std::vector<GroundClass> classes;  // species-major, one per class (a later record replaces)
};

// The LiDAR heights of one data set, in file order per plot, kept for the Phase 2 plots only.
class LidarHeights {
  public:
    std::span<const double> of(std::int32_t plot) const;
    // Heights kept, over all plots.
    std::size_t count() const { return count_; }

  private:
    friend class LidarHeightReading;
    std::vector<std::int32_t> plots_;          // the plots wanted, ascending
    std::vector<std::vector<double>> byPlot_;  // [index in plots_]
    std::size_t count_ = 0;
};

// The Phase 2 plots in file order and the heights of both data sets (DataSet 2 has none when no
// LOW-height file is chosen).
struct PlotsAndHeights {
    std::vector<Phase2Plot> plots;
    std::array<LidarHeights, 2> heights;
};

// Reads the plot file and the LiDAR height files, each once; the two LiDAR files side by side on
// two threads when `inputs.threads` allows more than one. The DataSet 1 file is read before a
// fault of the plot file is reported, so that a MaxPlots too small for the LiDAR plots is the
// first thing the user hears of. A LiDAR plot above MaxPlots throws files::PlotAboveMaxPlots;
// every other fault throws InputError, and so does a DataSet 1 file without a LiDAR tree taller
// than 10 feet; faults and warnings come in the order of a reading one file after the other.
// A last plot whose last record has no ground trees is left out. While the LiDAR files are read,
// `onRead` hears, now and then on the calling thread, how many bytes of both were read and how
// many heights were kept so far; it may throw StepCancelled, which stops the reading.
using ReadProgress = std::function<void(std::uintmax_t bytesRead, std::size_t heightsKept)>;
PlotsAndHeights readPlotsAndHeights(const StepInputs& inputs, const ReadProgress& onRead);

}  // namespace orr::distribution
