// The LiDAR height file of a pass read as plot groups. The records of a plot follow each other;
// a run of them among the trees above 10 feet is a group with a generator of its own, seeded
// from the run seed, the pass and the group's position in the file. A plot whose records come
// back after another plot's is a further group. The file is read once, a batch of whole groups
// at a time, so the groups of a batch can be computed side by side.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <vector>

#include "core/CommaReader.h"
#include "engine/phase1/StratumShares.h"
#include "engine/phase1/Sum1Phas.h"

namespace orr::phase1 {

// A group of a plot that lies in a stratum's range (the trees of other plots are only tallied).
struct PlotGroup {
    int plot = 0;
    std::uint64_t position = 0;  // 0-based among all groups of the file
    const DrawList* drawList = nullptr;
    int plotAge = 0;
    std::size_t first = 0;  // the group's heights are batch.heights[first, last)
    std::size_t last = 0;
};

struct GroupBatch {
    std::vector<PlotGroup> groups;
    std::vector<double> heights;  // LiDAR heights above 10 feet, in file order
    // The record the reader could not use; it comes after every tree of the batch.
    std::exception_ptr readError;

    void clear();
};

class GroupReader {
  public:
    GroupReader(CommaReader& lidar, int maxPlots, Phase1Tables& tables, PassTally& tally,
                ProgressMeter& meter);

    // Fills `batch` with whole groups, stopping at the first group boundary after `heights`
    // heights. False when the file is done and there is nothing left to compute or report.
    bool fill(GroupBatch& batch, std::size_t heights);

  private:
    struct Tree {
        int plot;
        double h;
    };
    void startGroup(GroupBatch& batch, int plot);

    CommaReader& lidar_;
    Phase1Tables& tables_;
    PassTally& tally_;
    ProgressMeter& meter_;
    PlotStrata plotStrata_;
    std::vector<char> listedOutside_;
    std::optional<int> groupPlot_;  // plot of the group being read
    bool groupInside_ = false;
    std::uint64_t nextPosition_ = 0;
    std::optional<Tree> pending_;  // read, but the first tree of the next batch
    bool done_ = false;
};

}  // namespace orr::phase1
