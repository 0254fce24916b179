// One data-set pass of the Phase 1 computation, in one streaming read of its LiDAR height file.
//
// The file is read a batch of plot groups at a time (PlotGroups.h). The groups of a batch are
// computed side by side, each drawing from its own generator into its own list of counted trees;
// then their trees are summed and the plots' lines written in file order, one tree after the
// other, exactly as a single thread going tree by tree would. So the files and the log are the
// same for any number of threads.
#include <algorithm>
#include <exception>
#include <optional>
#include <random>
#include <vector>

#include "engine/phase1/GroupRandom.h"
#include "engine/phase1/LidarTreeRule.h"
#include "engine/phase1/ParallelGroups.h"
#include "engine/phase1/PlotGroups.h"
#include "engine/phase1/PlotSums.h"
#include "engine/phase1/Sum1Phas.h"
#include "engine/phase1/TreeCache.h"

namespace orr::phase1 {

namespace {

// Heights per batch: enough to keep the threads busy, small enough to bound the memory.
constexpr std::size_t kBatchHeights = 1 << 15;

struct CountedTree {
    int species;
    double basalArea;
    double volume;
};

// What one group makes of its trees: the counted ones in order, the draws that fell in no
// interval, and the stop (a missing coefficient) that came after the last counted tree.
struct GroupResult {
    std::vector<CountedTree> trees;
    long long noInterval = 0;
    std::exception_ptr error;
};

void computeGroup(const PlotGroup& group, const std::vector<double>& heights, TreeCache& cache,
                  std::uint64_t seed, int pass, GroupResult& result) {
    result.trees.clear();
    result.noInterval = 0;
    result.error = nullptr;
    try {
        std::mt19937_64 generator(groupSeed(seed, pass, group.position));
        const DrawList& list = *group.drawList;
        for (std::size_t i = group.first; i < group.last; ++i) {
            // A stratum without shares draws nothing; otherwise one draw per tree, also when it
            // falls in no interval.
            const int species = list.empty() ? 0 : drawSpecies(list, uniform(generator));
            if (species == 0) {
                ++result.noInterval;
                continue;
            }
            const std::optional<GroundTree> tree =
                cache.compute(species, heights[i], group.plotAge);
            if (tree) result.trees.push_back({species, tree->basalArea, tree->volume});
        }
    } catch (...) {
        result.error = std::current_exception();
    }
}

}  // namespace

PassTally runPass(int pass, CommaReader& lidar, Phase1Tables& tables, const ParamRecord& params,
                  std::uint64_t seed, unsigned threads, std::string& out, StepHost& host,
                  ProgressMeter& meter) {
    const int maxPlots = std::max<int>(params.MaxPlots, 0);
    const LidarTreeRule rule(tables.coeff, tables.limits, params, pass);
    PlotSums sums(params.MaxSpec);
    PassTally tally;
    GroupReader reader(lidar, maxPlots, tables, tally, meter);
    GroupBatch batch;
    std::vector<GroupResult> results;
    std::vector<TreeCache> caches(std::max(threads, 1u), TreeCache(rule));
    std::optional<int> currentPlot;  // plot of the last counted tree

    while (reader.fill(batch, kBatchHeights)) {
        if (results.size() < batch.groups.size()) results.resize(batch.groups.size());
        forEachGroup(batch.groups.size(), threads, [&](std::size_t i, unsigned worker) {
            computeGroup(batch.groups[i], batch.heights, caches[worker], seed, pass, results[i]);
        });
        for (std::size_t i = 0; i < batch.groups.size(); ++i) {
            const int plot = batch.groups[i].plot;
            const GroupResult& result = results[i];
            for (const CountedTree& tree : result.trees) {
                if (currentPlot && *currentPlot != plot) {
                    sums.sub2150(*currentPlot, params.PACF, out, host);
                }
                currentPlot = plot;
                sums.add(tree.species, tree.basalArea, tree.volume);
            }
            tally.noInterval += result.noInterval;
            if (result.error) std::rethrow_exception(result.error);
        }
        if (batch.readError) std::rethrow_exception(batch.readError);
    }
    // The last plot is written whenever it has counted trees.
    if (currentPlot && sums.any()) sums.sub2150(*currentPlot, params.PACF, out, host);
    return tally;
}

}  // namespace orr::phase1
