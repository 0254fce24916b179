// One data-set pass of the Phase 1 computation, in one streaming read of its LiDAR height file.
//
// The file is read a batch of plot groups at a time (PlotGroups.h). The groups of a batch are
// computed side by side, each drawing from its own generator into its own list of counted trees;
// then their trees are summed and the plots' lines written in file order, one tree after the
// other, exactly as a single thread going tree by tree would. So the files and the log are the
// same for any number of threads.
#include "engine/phase1/Phase1Pass.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <vector>

#include "core/ParallelFor.h"
#include "core/RandomStreams.h"
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
    double share;   // expected shares: the width of the species' interval; draws: 1
};

// What one group makes of its trees: the counted ones in order, the draws that fell in no
// interval, and the stop (a missing coefficient) that came after the last counted tree. A group
// keeps its stop instead of throwing it, so that the groups before it are all computed and their
// plots logged before the stop is reported, as they would be tree by tree.
struct GroupResult {
    std::vector<CountedTree> trees;
    long long noInterval = 0;
    std::exception_ptr error;
};

// Expected shares: every tree enters every species of the draw list whose interval is not
// empty, in list order, with the interval's width.
void spreadGroup(const PlotGroup& group, const std::vector<double>& heights, TreeCache& cache,
                 GroupResult& result) {
    const DrawList& list = *group.drawList;
    for (std::size_t i = group.first; i < group.last; ++i) {
        if (list.empty()) {
            ++result.noInterval;
            continue;
        }
        for (const DrawPosition& position : list) {
            const double width = position.upper - position.lower;
            if (!(width > 0)) continue;
            const std::optional<GroundTree> tree =
                cache.compute(position.species, heights[i], group.plotAge);
            if (tree) {
                result.trees.push_back(
                    {position.species, tree->basalArea, tree->volume, tree->height, width});
            }
        }
    }
}

void computeGroup(const PlotGroup& group, const std::vector<double>& heights, TreeCache& cache,
                  std::uint64_t seed, int pass, bool expected, GroupResult& result) {
    result.trees.clear();
    result.noInterval = 0;
    result.error = nullptr;
    try {
        if (expected) {
            spreadGroup(group, heights, cache, result);
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
                result.trees.push_back({species, tree->basalArea, tree->volume, tree->height, 1.0});
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
    std::optional<int> currentPlot;  // plot of the last counted tree

    while (reader.fill(batch, kBatchHeights)) {
        stopIfCancelled(host);
        if (results.size() < batch.groups.size()) results.resize(batch.groups.size());
        parallelFor(
            batch.groups.size(), threads,
            [&](std::size_t i, unsigned worker) {
                computeGroup(batch.groups[i], batch.heights, caches[worker], in.seed, pass,
                             expected, results[i]);
            },
            &host, kGroupsPerChunk);
        for (std::size_t i = 0; i < batch.groups.size(); ++i) {
            const int plot = batch.groups[i].plot;
            const GroupResult& result = results[i];
            for (const CountedTree& tree : result.trees) {
                if (currentPlot && *currentPlot != plot) {
                    sums.writePlot(*currentPlot, params.PACF, out, host);
                }
                currentPlot = plot;
                if (expected)
                    sums.addShare(tree.species, tree.share, tree.basalArea, tree.volume);
                else
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
