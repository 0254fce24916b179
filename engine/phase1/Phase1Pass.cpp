// One data-set pass of the Phase 1 computation, in one streaming read of its LiDAR height file.
//
// The file is read a batch of plot groups at a time (PlotGroups.h). The groups of a batch are
// computed side by side, each drawing from its own generator into its own list of counted trees;
// then their trees are summed and the plots' lines written in file order, one tree after the
// other, exactly as a single thread going tree by tree would. So the files and the log are the
// same for any number of threads.
//
// With expected shares every tree enters every species of its stratum, and a group's trees share
// few distinct LiDAR heights: a group sums its trees per species itself, once per distinct height
// (times the number of trees of that height), and only those sums are added to the plot's.
#include "engine/phase1/Phase1Pass.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <exception>
#include <optional>
#include <vector>

#include "core/ParallelFor.h"
#include "core/RandomStreams.h"
#include "engine/equations/Plausibility.h"
#include "engine/phase1/LidarTreeRule.h"
#include "engine/phase1/PlotSums.h"
#include "engine/phase1/TreeCache.h"

namespace orr::phase1 {

namespace {

// Heights per batch: enough to keep the threads busy, small enough to bound the memory.
constexpr std::size_t kBatchHeights = 1 << 15;
constexpr std::size_t kGroupsPerChunk = 8;
// The salt of the Phase 1 draws among the random streams of the program.
constexpr std::uint64_t kStreamSalt = 0x700;

struct CountedTree {
    int species;
    double basalArea;
    double volume;
    double height;  // the ground height predicted from the LiDAR height
};

// Expected shares: the trees of a group that entered one position of the draw list, summed.
struct SpeciesShares {
    int species = 0;
    double shares = 0.0;     // the trees' shares (interval widths)
    double basalArea = 0.0;  // share x basal area
    double volume = 0.0;     // share x volume
};

// What one group makes of its trees: with draws the counted ones in order, with expected shares
// their sums per position of the draw list and the plausibility tally of the trees counted in
// them; the draws that fell in no interval, and the stop (a missing coefficient) that came after
// the last counted tree. A group keeps its stop instead of throwing it, so that the groups before
// it are all computed and their plots logged before the stop is reported, as they would be tree by
// tree.
struct GroupResult {
    std::vector<CountedTree> trees;
    std::vector<SpeciesShares> shares;
    bool counted = false;  // expected shares: some tree was counted in some species
    PlausibilityTally plausibility;
    long long noInterval = 0;
    std::exception_ptr error;
};

// One distinct LiDAR height of a group and the number of its trees of that height.
struct DistinctHeight {
    double height;
    long long trees;
};

// The distinct LiDAR heights of a group in the order of their first tree, by one look-up per tree
// in an open-addressed table kept (with its memory) by each thread.
class DistinctHeights {
  public:
    const std::vector<DistinctHeight>& collect(const std::vector<double>& heights,
                                               std::size_t first, std::size_t last) {
        distinct_.clear();
        std::size_t size = 16;
        while (size < 2 * (last - first)) size <<= 1;
        slots_.assign(size, kEmpty);
        keys_.resize(size);
        const std::size_t mask = size - 1;
        for (std::size_t i = first; i < last; ++i) {
            // 0.0 and -0.0 are the same height; any other height has one bit pattern.
            const auto key = std::bit_cast<std::uint64_t>(heights[i] + 0.0);
            std::size_t slot = static_cast<std::size_t>(mix(key)) & mask;
            while (slots_[slot] != kEmpty && keys_[slot] != key) slot = (slot + 1) & mask;
            if (slots_[slot] == kEmpty) {
                keys_[slot] = key;
                slots_[slot] = distinct_.size();
                distinct_.push_back({heights[i], 1});
            } else {
                ++distinct_[slots_[slot]].trees;
            }
        }
        return distinct_;
    }

  private:
    static constexpr std::size_t kEmpty = static_cast<std::size_t>(-1);
    std::vector<std::uint64_t> keys_;
    std::vector<std::size_t> slots_;  // index into distinct_, or kEmpty
    std::vector<DistinctHeight> distinct_;
};

// Expected shares: every tree enters every species of the draw list whose interval is not
// empty with the interval's width. The trees of one height are computed once and enter with their
// number; heights in the order of their first tree and species in list order, so a stop comes at
// the same tree and species as tree by tree, and so does the first implausible tree.
void spreadGroup(const PlotGroup& group, const std::vector<double>& heights, TreeCache& cache,
                 DistinctHeights& distinct, GroupResult& result) {
    const DrawList& list = *group.drawList;
    if (list.empty()) {
        result.noInterval += static_cast<long long>(group.last - group.first);
        return;
    }
    result.shares.resize(list.size());
    for (std::size_t k = 0; k < list.size(); ++k) result.shares[k] = {list[k].species};
    for (const DistinctHeight& each : distinct.collect(heights, group.first, group.last)) {
        for (std::size_t k = 0; k < list.size(); ++k) {
            const DrawPosition& position = list[k];
            const double width = position.upper - position.lower;
            if (!(width > 0)) continue;
            const std::optional<GroundTree> tree =
                cache.compute(position.species, each.height, group.plotAge);
            if (!tree) continue;
            const double shares = static_cast<double>(each.trees) * width;
            SpeciesShares& sums = result.shares[k];
            sums.shares += shares;
            sums.basalArea += shares * tree->basalArea;
            sums.volume += shares * tree->volume;
            result.counted = true;
            result.plausibility.height(group.plot, position.species, tree->height, each.trees);
            result.plausibility.volume(group.plot, position.species, tree->volume, each.trees);
        }
    }
}

void computeGroup(const PlotGroup& group, const std::vector<double>& heights, TreeCache& cache,
                  DistinctHeights& distinct, std::uint64_t seed, int pass, bool expected,
                  GroupResult& result) {
    result.trees.clear();
    result.shares.clear();
    result.counted = false;
    result.plausibility = PlausibilityTally();
    result.noInterval = 0;
    result.error = nullptr;
    try {
        if (expected) {
            spreadGroup(group, heights, cache, distinct, result);
            return;
        }
        MersenneTwister64 generator(streamSeed(seed, kStreamSalt, pass, group.position));
        const DrawList& list = *group.drawList;
        for (std::size_t i = group.first; i < group.last; ++i) {
            // A stratum without shares draws nothing; otherwise one draw per tree, also when it
            // falls in no interval.
            const int species = list.empty() ? 0 : drawSpecies(list, uniform01(generator));
            if (species == 0) {
                ++result.noInterval;
                continue;
            }
            const std::optional<GroundTree> tree =
                cache.compute(species, heights[i], group.plotAge);
            if (tree)
                result.trees.push_back({species, tree->basalArea, tree->volume, tree->height});
        }
    } catch (...) {
        result.error = std::current_exception();
    }
}

}  // namespace

PassTally computePass(int pass, LidarReader& lidar, Phase1Tables& tables, const StepInputs& in,
                      unsigned threads, OutputFile& out, StepHost& host, PassProgress progress) {
    const ParamRecord& params = in.params;
    const LidarTreeRule rule(tables.coeff, tables.limits, params, pass);
    const bool expected = expectedShares(params);
    PlotSums sums(params.MaxSpec, expected);
    PassTally tally;
    GroupReader reader(lidar, tables.strata, tables.shares, tally);
    GroupBatch batch;
    std::vector<GroupResult> results;
    std::vector<TreeCache> caches(std::max(threads, 1u), TreeCache(rule));
    std::vector<DistinctHeights> distinct(caches.size());
    std::optional<int> currentPlot;  // plot of the last counted tree

    while (reader.fill(batch, kBatchHeights)) {
        stopIfCancelled(host);
        if (results.size() < batch.groups.size()) results.resize(batch.groups.size());
        parallelFor(
            batch.groups.size(), threads,
            [&](std::size_t i, unsigned worker) {
                computeGroup(batch.groups[i], batch.heights, caches[worker], distinct[worker],
                             in.seed, pass, expected, results[i]);
            },
            &host, kGroupsPerChunk);
        for (std::size_t i = 0; i < batch.groups.size(); ++i) {
            const int plot = batch.groups[i].plot;
            const GroupResult& result = results[i];
            if (expected && result.counted) {
                if (currentPlot && *currentPlot != plot) {
                    sums.writePlot(*currentPlot, params.PACF, out, host);
                }
                currentPlot = plot;
                for (const SpeciesShares& species : result.shares) {
                    if (species.shares > 0)
                        sums.addShares(species.species, species.shares, species.basalArea,
                                       species.volume);
                }
                tally.plausibility.add(result.plausibility);
            }
            for (const CountedTree& tree : result.trees) {
                if (currentPlot && *currentPlot != plot) {
                    sums.writePlot(*currentPlot, params.PACF, out, host);
                }
                currentPlot = plot;
                sums.add(tree.species, tree.basalArea, tree.volume);
                tally.plausibility.height(plot, tree.species, tree.height);
                tally.plausibility.volume(plot, tree.species, tree.volume);
            }
            tally.noInterval += result.noInterval;
            if (result.error) std::rethrow_exception(result.error);
        }
        if (batch.readError) std::rethrow_exception(batch.readError);
        host.progress(progress.before + lidar.reader().bytesRead(), progress.total);
    }
    // The last plot is written whenever it has counted trees.
    if (currentPlot && sums.any()) sums.writePlot(*currentPlot, params.PACF, out, host);
    return tally;
}

std::string tallyLine(int pass, const PassTally& tally) {
    std::string line = "DataSet " + std::to_string(pass) +
                       ": trees skipped: " + std::to_string(tally.outsideStratum) +
                       " in plots outside every stratum, " + std::to_string(tally.noInterval) +
                       " whose draw fell in no species interval";
    if (!tally.outsidePlots.empty()) {
        line += "; plots outside every stratum:";
        for (std::size_t i = 0; i < tally.outsidePlots.size(); ++i) {
            line += (i == 0 ? " " : ", ") + std::to_string(tally.outsidePlots[i]);
        }
        if (tally.furtherOutsidePlots > 0) {
            line += " and " + std::to_string(tally.furtherOutsidePlots) + " more";
        }
    }
    return line;
}

}  // namespace orr::phase1
