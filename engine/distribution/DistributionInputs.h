// The inputs of step 6 in memory, each read once: the Phase 2 plots of _PH2Plot.csv in file
// order, and the LiDAR heights of a data set indexed by plot.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "files/InputFiles.h"

namespace orr::distribution {

// One species-product class of a Phase 2 plot as step 5 wrote it.
struct GroundClass {
    int species = 0;
    int product = 0;
    double n = 0;      // ground N
    double ba = 0;     // ground BA
    double vol = 0;    // ground volume
    double share = 0;  // N percentage / 100
};

// One plot of _PH2Plot.csv: a run of consecutive records of the same plot number. The same plot
// number may come back later in the file as a plot of its own.
struct Phase2Plot {
    int plot = 0;
    std::vector<GroundClass> classes;  // species-major, one per class (a later record replaces)
};

// Reads _PH2Plot.csv. Plots in 1..maxPlots, species in 1..maxSpec, products in 1..maxProd,
// numbers that are numbers, or InputError. A last plot whose last record has a ground N of 0 or
// less is not computed and is left out.
std::vector<Phase2Plot> readPhase2Plots(const std::filesystem::path& file, int maxSpec, int maxProd,
                                        int maxPlots);

// The LiDAR heights of one data set, in file order per plot, kept for the plots asked for.
class LidarHeights {
  public:
    std::span<const double> of(int plot) const;

  private:
    friend struct LidarReader;
    std::vector<std::vector<double>> byPlot_;
};

struct LidarRead {
    LidarHeights heights;
    std::optional<int> plotAboveMaxPlots;  // the first plot number above MaxPlots: read stopped
};

// Reads a Phase 1 LiDAR height file (records of plot, height). Keeps the heights of the plots
// with `wanted[plot]` set. Plot numbers must be whole numbers 0 or more (InputError otherwise);
// the first one above maxPlots ends the read and is returned.
LidarRead readLidarHeights(const std::filesystem::path& file, int maxPlots,
                           const std::vector<char>& wanted);

// Average age of the first strata record (in file order) whose plot range holds the plot; 0
// when none does.
int plotAge(const StrataTable& strata, int plot);

}  // namespace orr::distribution
