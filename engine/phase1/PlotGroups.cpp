// Reading a LiDAR height file into batches of plot groups.
#include "engine/phase1/PlotGroups.h"

namespace orr::phase1 {

namespace {

constexpr double kLowestLidarHeight = 10.0;  // trees of this height or less are not used
constexpr std::size_t kListedPlots = 20;
// The heights a batch has room for beyond its size: the group that ends it mostly fits.
constexpr std::size_t kGroupRoom = 4096;

}  // namespace

void GroupBatch::clear() {
    groups.clear();
    heights.clear();
    readError = nullptr;
    warnings.clear();
    bytesRead = 0;
}

GroupReader::GroupReader(LidarReader& lidar, const StrataRanges& strata, StratumShares& shares,
                         PassTally& tally)
    : lidar_(lidar), shares_(shares), tally_(tally), strata_(strata) {}

void GroupReader::startGroup(GroupBatch& batch, std::int32_t plot) {
    groupPlot_ = plot;
    const std::uint64_t position = nextPosition_++;
    // A Phase 1 plot lies in one stratum, the first whose range holds it, found by searching the
    // rows from the top as step 6 does for the plot's age: so both steps give a plot in
    // overlapping ranges the same age, and its trees are drawn from that one stratum's species.
    const StrataRow* row = strata_.firstRowHolding(plot);
    groupInside_ = row != nullptr;
    if (row != nullptr) {
        PlotGroup group;
        group.plot = plot;
        group.position = position;
        group.drawList = &shares_.drawList(row->stratum);
        group.plotAge = row->avgAge;
        group.first = group.last = batch.heights.size();
        batch.groups.push_back(group);
        return;
    }
    if (outside_.insert(plot).second) {
        if (tally_.outsidePlots.size() < kListedPlots) {
            tally_.outsidePlots.push_back(plot);
        } else {
            ++tally_.furtherOutsidePlots;
        }
    }
}

// The records of a plot follow each other: once a record of the group's plot has been read, the
// records after it that are that plot's field and a plain number on a line of their own are taken
// in one go, without splitting each into fields (any other record is left to the reader, which
// reads or refuses it as usual). They continue the group, whatever their heights.
void GroupReader::takeGroupRun(GroupBatch& batch) {
    run_.clear();
    if (lidar_.takeSameFirstField(run_) == 0) return;
    for (const double h : run_) {
        tally_.trees.add({*groupPlot_, h});
        if (h <= kLowestLidarHeight) continue;
        if (!groupInside_) {
            ++tally_.outsideStratum;
            continue;
        }
        batch.heights.push_back(h);
    }
    if (groupInside_) batch.groups.back().last = batch.heights.size();
}

bool GroupReader::fill(GroupBatch& batch, std::size_t heights) {
    batch.clear();
    // Room for a batch and the group that ends it, taken once (a batch is filled again and
    // again): grown by doubling, its heights would take fresh memory at every step.
    batch.heights.reserve(heights + kGroupRoom);
    if (done_) return false;
    for (;;) {
        bool fresh = false;  // the tree was read now, not left pending by the last batch
        if (!pending_) {
            files::LidarHeight tree;
            try {
                if (!lidar_.next(tree)) {
                    done_ = true;
                    break;
                }
            } catch (...) {
                // The trees read so far are computed and written before the stop is reported,
                // as they would be tree by tree.
                batch.readError = std::current_exception();
                done_ = true;
                break;
            }
            tally_.trees.add(tree);
            if (tree.height <= kLowestLidarHeight) {
                if (groupPlot_ && *groupPlot_ == tree.plot) takeGroupRun(batch);
                continue;
            }
            pending_ = tree;
            fresh = true;
        }
        const files::LidarHeight tree = *pending_;
        if (!groupPlot_ || *groupPlot_ != tree.plot) {
            if (batch.heights.size() >= heights) break;  // the next batch starts with this group
            startGroup(batch, tree.plot);
        }
        pending_.reset();
        if (!groupInside_) {
            ++tally_.outsideStratum;
        } else {
            batch.heights.push_back(tree.height);
            batch.groups.back().last = batch.heights.size();
        }
        // The reader's fields are those of this tree only when it was read now.
        if (fresh) takeGroupRun(batch);
    }
    return !batch.groups.empty() || batch.readError != nullptr;
}

void BatchSequence::readNext() {
    if (done_) return;
    GroupBatch& batch = batches_[reading_];
    // The reader's warnings (empty fields) are handed on with the batch read when they came.
    WarningCollector collector;
    // fill() keeps a fault of the file in the batch; anything else it throws is a fault of this
    // program's own, passed on the same way.
    bool more = false;
    try {
        more = reader_.fill(batch, heights_);
    } catch (...) {
        batch.readError = std::current_exception();
    }
    batch.warnings = collector.take();
    batch.bytesRead = lidar_.reader().bytesRead();
    done_ = !more || batch.readError != nullptr;
    if (more || !batch.warnings.empty() || batch.readError) {
        ready_ = &batch;
        reading_ = (reading_ + 1) % batches_.size();
    }
}

GroupBatch* BatchSequence::next() {
    GroupBatch* batch = ready_;
    ready_ = nullptr;
    return batch;
}

}  // namespace orr::phase1
