// Simulated stands: for every plot a set of trees drawn from its stratum's species mix and age,
// written as ground-measured trees (Phase 2 plots) and as HIGH and LOW LiDAR heights (all plots).
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/OutputSet.h"

namespace orr::generator {

// Uniform and normal numbers from one generator, the same on every platform.
class Draws {
  public:
    explicit Draws(std::uint64_t seed) : g_(seed) {}
    double uniform() { return static_cast<double>(g_() >> 11) * 0x1p-53; }  // [0, 1)
    double normal();
    int below(int n) { return static_cast<int>(uniform() * n); }  // 0..n-1

  private:
    std::mt19937_64 g_;
    bool haveSpare_ = false;
    double spare_ = 0;
};

struct StandShape {
    int species = 3;
    double meanTrees = 18;  // trees per plot on average
    int minTrees = 4;
    int maxTrees = 40;
    double groundFraction = 1.0;  // share of a Phase 2 plot's trees measured on the ground
    double countSpread = 0.45;    // log-normal spread of the number of trees between plots
    double dbhGrowth = 0.32;      // inches of mean DBH a year of stand age
    double dbhSpread = 0.15;      // log-normal spread of a plot's mean DBH about its stratum's
    int heightDecimals = 1;       // decimals of the LiDAR heights: 1 or 2
};

struct StratumStand {
    int age = 20;
    std::vector<double> speciesShare;  // [0..species-1], adds up to 1
};

// Appends the records of one plot: LiDAR heights to `ds1` and `ds2`, and, for a Phase 2 plot,
// the ground trees to `trees`.
void simulatePlot(Draws& draws, const StandShape& shape, const StratumStand& stratum, int plot,
                  bool phase2, OutputFile& trees, OutputFile& ds1, OutputFile& ds2);

}  // namespace orr::generator
