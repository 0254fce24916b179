// The LiDAR height file of a pass read as plot groups. The records of a plot follow each other;
// a run of them among the trees above 10 feet is a group with a generator of its own, seeded
// from the run seed, the pass and the group's position in the file. A plot whose records come
// back after another plot's is a further group. The file is read once, a batch of whole groups
// at a time, so the groups of a batch can be computed side by side; BatchSequence reads the next
// batch as one task of the round that computes the current one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <unordered_set>
#include <vector>

#include "core/Warnings.h"
#include "engine/equations/Plausibility.h"
#include "engine/phase1/StratumShares.h"
#include "files/LidarHeightFile.h"
#include "files/StrataRanges.h"

namespace orr::phase1 {

// Trees left out of a pass for want of a species, and the plots that lie in no stratum.
struct PassTally {
    long long outsideStratum = 0;            // trees of plots outside every stratum's range
    long long noInterval = 0;                // trees whose draw fell in no species interval
    std::vector<std::int32_t> outsidePlots;  // the first twenty such plots, in file order
    long long furtherOutsidePlots = 0;
    PlausibilityTally plausibility;  // the counted trees' ground heights and volumes
    files::LidarTreeCount trees;     // every record read, and those taller than 10 feet
};

// A group of a plot that lies in a stratum's range (the trees of other plots are only tallied).
struct PlotGroup {
    std::int32_t plot = 0;
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
    // Read ahead, while the batch before was computed (BatchSequence): the warnings raised while
    // the batch was read (they come before those of its computation) and the bytes of the file
    // read by then.
    std::vector<Warning> warnings;
    std::uintmax_t bytesRead = 0;

    void clear();
};

using LidarReader = files::RecordReader<files::LidarHeightFile>;

class GroupReader {
  public:
    // The tally counts the trees of plots outside every stratum.
    GroupReader(LidarReader& lidar, const StrataRanges& strata, StratumShares& shares,
                PassTally& tally);

    // Fills `batch` with whole groups, stopping at the first group boundary after `heights`
    // heights. False when the file is done and there is nothing left to compute or report.
    bool fill(GroupBatch& batch, std::size_t heights);

  private:
    void startGroup(GroupBatch& batch, std::int32_t plot);
    // Takes the plain records of the group's plot that follow its last record read, at once.
    void takeGroupRun(GroupBatch& batch);

    LidarReader& lidar_;
    StratumShares& shares_;
    PassTally& tally_;
    const StrataRanges& strata_;
    std::unordered_set<std::int32_t> outside_;  // the plots outside every stratum met so far
    std::optional<std::int32_t> groupPlot_;     // plot of the group being read
    bool groupInside_ = false;
    std::uint64_t nextPosition_ = 0;
    std::optional<files::LidarHeight> pending_;  // read, but the first tree of the next batch
    std::vector<double> run_;                    // heights taken by takeGroupRun
    bool done_ = false;
};

// Reads the batches of a GroupReader one after the other, each when asked, on whichever thread
// asks: the next batch is read as one task of the round that computes the current one, so the
// reading and the computation overlap without a thread of their own competing with the
// computing ones for the cores. The batches come in file order, each as fill() made it.
class BatchSequence {
  public:
    BatchSequence(GroupReader& reader, const LidarReader& lidar, std::size_t heights)
        : reader_(reader), lidar_(lidar), heights_(heights) {}

    // Reads the next batch; nothing once the file is done. Never at the same time as next(); the
    // two batches handed out last are left as they are.
    void readNext();
    // Whether readNext() has more to read.
    bool more() const { return !done_; }
    // The batch readNext() read last, valid until the call after the next one (so that a batch
    // can be finished while the next one is computed); nullptr when the file is done. A batch
    // that is the last one may carry only warnings.
    GroupBatch* next();

  private:
    GroupReader& reader_;
    const LidarReader& lidar_;
    std::size_t heights_;
    // In turn: the batch being read, the one handed out last and the one handed out before it.
    std::array<GroupBatch, 3> batches_;
    std::size_t reading_ = 0;      // the batch readNext() fills
    GroupBatch* ready_ = nullptr;  // read and not handed out yet
    bool done_ = false;
};

}  // namespace orr::phase1
