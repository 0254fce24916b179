// One data-set pass of the Phase 1 computation, in one streaming read of its LiDAR height file.
//
// The file is read a batch of plot groups at a time (PlotGroups.h). The groups of a batch are
// computed side by side, each drawing from its own generator and summing its counted trees per
// species from 0, one tree after the other; then, in file order, a group's sums become its plot's
// (a group that continues its plot's trees from an earlier group adds its trees one by one), and
// the plots' lines are written, exactly as a single thread going tree by tree would. So the files
// and the log are the same for any number of threads.
//
// With expected shares every tree enters every species of its stratum. LiDAR heights repeat, so
// each thread keeps what a tree of a height in whole tenths adds to every species of a stratum's
// list; a group sums its trees per species itself and only those sums are added to the plot's.
//
// The next batch is read as one task of the round that computes a batch (BatchSequence), and the
// batch before it is finished on the calling thread meanwhile.
#include "engine/phase1/Phase1Pass.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <vector>

#include "core/ParallelFor.h"
#include "core/RandomStreams.h"
#include "core/Warnings.h"
#include "engine/equations/Plausibility.h"
#include "engine/phase1/HeightPages.h"
#include "engine/phase1/LidarTreeRule.h"
#include "engine/phase1/PlotSums.h"
#include "engine/phase1/TreeCache.h"

namespace orr::phase1 {

namespace {

// Heights per batch: about a sixteenth of the file's (a LiDAR record is some twelve bytes), so
// that a batch keeps the threads busy with few hand-overs between batches and the last one, whose
// finishing no computation overlaps, stays short; within bounds that keep the memory small.
std::size_t batchHeights(std::uintmax_t fileBytes) {
    constexpr std::uintmax_t kRecordBytes = 12;
    constexpr std::uintmax_t kBatchesPerFile = 16;
    return static_cast<std::size_t>(
        std::clamp<std::uintmax_t>(fileBytes / kRecordBytes / kBatchesPerFile,
                                   std::uintmax_t{1} << 16, std::uintmax_t{1} << 19));
}
constexpr std::size_t kGroupsPerChunk = 8;
// The salt of the Phase 1 draws among the random streams of the program.
constexpr std::uint64_t kStreamSalt = 0x700;

struct CountedTree {
    int species;
    double basalArea;
    double volume;
};

// Expected shares: the trees of a group that entered one position of the draw list, summed.
struct SpeciesShares {
    int species = 0;
    double shares = 0.0;     // the trees' shares (interval widths)
    double basalArea = 0.0;  // share x basal area
    double volume = 0.0;     // share x volume
};

// Random draws: the trees of a group counted in one species, summed.
struct SpeciesCount {
    int species = 0;
    long long trees = 0;
    double basalArea = 0.0;
    double volume = 0.0;
};

// What one group makes of its trees: with draws their sums per species (and, when asked for, the
// counted trees in order), with expected shares their sums per position of the draw list; the
// plausibility tally of the trees counted; the draws that fell in no interval, and the stop (a
// missing coefficient) that came after the last counted tree. A group keeps its stop instead of
// throwing it, so that the groups before it are all computed and their plots logged before the stop
// is reported, as they would be tree by tree.
struct GroupResult {
    std::vector<CountedTree> trees;  // only when asked for
    // With draws, the counted trees summed per species from 0 one after the other, in the order the
    // species first come: the plot's sums, when the group is the first of its plot's counted trees.
    std::vector<SpeciesCount> counts;
    std::vector<SpeciesShares> shares;
    bool counted = false;  // expected shares: some tree was counted in some species
    PlausibilityTally plausibility;
    long long noInterval = 0;
    std::exception_ptr error;
};

// What a tree of one LiDAR height adds to one position of its plot's draw list: its share and
// its share of the basal area and volume (the products the sums add, made once), and for the
// plausibility tally its height and volume, which only an implausible tree needs.
struct PositionTree {
    double width = 0.0;  // the interval's width, the tree's share; 0 when the tree is not counted
    double sharedBasalArea = 0.0;  // width x basal area
    double sharedVolume = 0.0;     // width x volume
    double height = 0.0;           // the ground height predicted from the LiDAR height
    double volume = 0.0;
    bool plausible = true;  // the height and the volume pass the tally without a note

    PositionTree() = default;
    PositionTree(double share, const GroundTree& tree)
        : width(share),
          sharedBasalArea(share * tree.basalArea),
          sharedVolume(share * tree.volume),
          height(tree.height),
          volume(tree.volume),
          plausible(PlausibilityTally::plausibleHeight(tree.height) &&
                    PlausibilityTally::plausibleVolume(tree.volume)) {}
};

// Expected shares: what a tree of each LiDAR height adds to every position of a draw list (at a
// stratum age), kept per thread. Heights repeat across the plots of a stratum far more than within
// one: one look-up per tree stands for all the positions of its list. Kept by height slot, in
// pages of slots per list and age made when first needed, for heights in whole tenths of a foot
// only: a LiDAR file in tenths has some fifteen hundred of them, and each comes back thousands of
// times; heights in hundredths are ten times as many, come back far less often and would fill the
// table, so their trees are taken from the pass's tree cache species by species.
class ListTrees {
  public:
    // Whether the height of `slot` (heightSlot) is kept here.
    static bool keeps(std::optional<std::size_t> slot) { return slot && *slot < kHeightSlots / 2; }
    // The list's positions for a tree of the height of `slot` (kept), or nullptr when not known.
    const PositionTree* find(const DrawList& list, std::size_t slot, int plotAge) {
        std::uint32_t* at = pages_.at({&list, plotAge}, slot, false);
        return at && *at != 0 ? &trees_[*at - 1] : nullptr;
    }
    void keep(const DrawList& list, std::size_t slot, int plotAge,
              const std::vector<PositionTree>& trees) {
        if (trees_.size() + trees.size() > kMostKept) return;
        std::uint32_t* at = pages_.at({&list, plotAge}, slot, true);
        if (!at) return;
        *at = static_cast<std::uint32_t>(trees_.size() + 1);
        trees_.insert(trees_.end(), trees.begin(), trees.end());
    }

  private:
    // Beyond this many positions kept per thread (32 MB) new heights are computed without being
    // kept.
    static constexpr std::size_t kMostKept = (std::size_t{32} << 20) / sizeof(PositionTree);
    struct Key {
        const DrawList* list = nullptr;
        int plotAge = 0;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const {
            return std::hash<const void*>()(k.list) ^ static_cast<std::size_t>(k.plotAge);
        }
    };
    // 1 + offset in trees_; 0: not known.
    HeightPages<Key, std::uint32_t, KeyHash> pages_{SIZE_MAX};
    std::vector<PositionTree> trees_;
};

// What each thread keeps from group to group.
struct ThreadScratch {
    // Expected shares: what the heights add to the draw lists, and a fresh height's positions.
    ListTrees listTrees;
    std::vector<PositionTree> fresh;
    // The tree cache's pages of each position's species at the group's age, and with random
    // draws where each position's sums are in the group's counts (kNoCount: none yet).
    std::vector<TreeCache::SpeciesPages*> pages;
    std::vector<std::size_t> countAt;
    // The generators of the chunk of groups being computed, seeded side by side through the
    // numbers of each group's trees, and the numbers of a group.
    std::vector<MersenneTwister64> generators;
    std::vector<std::size_t> trees;
    std::vector<std::uint64_t> numbers;
};
constexpr std::size_t kNoCount = SIZE_MAX;

// Expected shares: every tree enters every species of the draw list whose interval is not
// empty with the interval's width; trees in file order, species in list order. A tree of a height
// met before in the list takes what it adds from the thread's table; the sums are those of the
// trees one after the other, and a stop comes at the same tree and species.
void spreadGroup(const PlotGroup& group, const std::vector<double>& heights, TreeCache& cache,
                 ThreadScratch& scratch, GroupResult& result) {
    const DrawList& list = *group.drawList;
    if (list.empty()) {
        result.noInterval += static_cast<long long>(group.last - group.first);
        return;
    }
    result.shares.resize(list.size());
    scratch.pages.clear();
    for (std::size_t k = 0; k < list.size(); ++k) {
        result.shares[k] = {list[k].species};
        scratch.pages.push_back(cache.pagesOf(list[k].species, group.plotAge));
    }
    const auto enter = [&](std::size_t k, const PositionTree& tree) {
        SpeciesShares& sums = result.shares[k];
        sums.shares += tree.width;
        sums.basalArea += tree.sharedBasalArea;
        sums.volume += tree.sharedVolume;
        result.counted = true;
        if (!tree.plausible) [[unlikely]] {
            result.plausibility.height(group.plot, list[k].species, tree.height);
            result.plausibility.volume(group.plot, list[k].species, tree.volume);
        }
    };
    for (std::size_t i = group.first; i < group.last; ++i) {
        const double h = heights[i];
        const std::optional<std::size_t> slot = heightSlot(h);
        const bool kept = ListTrees::keeps(slot);
        if (kept) {
            if (const PositionTree* known = scratch.listTrees.find(list, *slot, group.plotAge)) {
                for (std::size_t k = 0; k < list.size(); ++k) {
                    if (known[k].width > 0) enter(k, known[k]);
                }
                continue;
            }
        }
        // A height not met yet: computed position by position, each entered as it comes, so
        // that a stop leaves the positions before it entered.
        scratch.fresh.clear();
        for (std::size_t k = 0; k < list.size(); ++k) {
            PositionTree entry;
            const double width = list[k].upper - list[k].lower;
            if (width > 0) {
                const GroundTree* tree =
                    cache.find(scratch.pages[k], slot, list[k].species, h, group.plotAge);
                if (tree) entry = PositionTree(width, *tree);
            }
            if (kept) scratch.fresh.push_back(entry);
            if (entry.width > 0) enter(k, entry);
        }
        if (kept) scratch.listTrees.keep(list, *slot, group.plotAge, scratch.fresh);
    }
}

// The generator of a group's draws.
MersenneTwister64 groupGenerator(const PlotGroup& group, std::uint64_t seed, int pass) {
    return MersenneTwister64(streamSeed(seed, kStreamSalt, pass, group.position));
}

// `generator` is the group's (groupGenerator), not drawn from yet.
void computeGroup(const PlotGroup& group, const std::vector<double>& heights, TreeCache& cache,
                  ThreadScratch& scratch, MersenneTwister64& generator, bool expected,
                  bool keepTrees, GroupResult& result) {
    result.trees.clear();
    result.counts.clear();
    result.shares.clear();
    result.counted = false;
    result.plausibility = PlausibilityTally();
    result.noInterval = 0;
    result.error = nullptr;
    try {
        if (expected) {
            spreadGroup(group, heights, cache, scratch, result);
            return;
        }
        const DrawList& list = *group.drawList;
        // A stratum without shares draws nothing.
        if (list.empty()) {
            result.noInterval += static_cast<long long>(group.last - group.first);
            return;
        }
        scratch.pages.clear();
        for (const DrawPosition& position : list)
            scratch.pages.push_back(cache.pagesOf(position.species, group.plotAge));
        scratch.countAt.assign(list.size(), kNoCount);
        // One draw per tree, also when it falls in no interval.
        scratch.numbers.resize(group.last - group.first);
        generator.nextNumbers(scratch.numbers.data(), scratch.numbers.size());
        for (std::size_t i = group.first; i < group.last; ++i) {
            const std::size_t k = drawPosition(list, uniform01(scratch.numbers[i - group.first]));
            if (k == list.size()) {
                ++result.noInterval;
                continue;
            }
            const int species = list[k].species;
            const double h = heights[i];
            const GroundTree* tree =
                cache.find(scratch.pages[k], heightSlot(h), species, h, group.plotAge);
            if (!tree) continue;
            if (keepTrees) result.trees.push_back({species, tree->basalArea, tree->volume});
            // The species come in the order of their first counted tree.
            if (scratch.countAt[k] == kNoCount) {
                scratch.countAt[k] = result.counts.size();
                result.counts.push_back({species});
            }
            SpeciesCount& count = result.counts[scratch.countAt[k]];
            ++count.trees;
            count.basalArea += tree->basalArea;
            count.volume += tree->volume;
            result.plausibility.height(group.plot, species, tree->height);
            result.plausibility.volume(group.plot, species, tree->volume);
        }
    } catch (...) {
        result.error = std::current_exception();
    }
}

}  // namespace

PassTally computePass(int pass, LidarReader& lidar, Phase1Tables& tables, TreePages& trees,
                      const StepInputs& in, unsigned threads, OutputFile& out, StepHost& host,
                      PassProgress progress) {
    const ParamRecord& params = in.params;
    const LidarTreeRule rule(tables.coeff, tables.limits, params, pass);
    const bool expected = expectedShares(params);
    PlotSums sums(params.MaxSpec, expected);
    PassTally tally;
    GroupReader reader(lidar, tables.strata, tables.shares, tally);
    // The results of the batch being computed and of the one before it, which this thread
    // finishes meanwhile.
    std::array<std::vector<GroupResult>, 2> results;
    // The trees of an earlier pass came from other equations.
    trees.forget();
    std::vector<TreeCache> caches;
    for (unsigned i = 0; i < std::max(threads, 1u); ++i) caches.emplace_back(rule, trees);
    std::vector<ThreadScratch> scratches(caches.size());
    std::optional<int> currentPlot;  // plot of the last counted tree
    // The lines of the plots closed in the batch being finished.
    std::vector<files::Phase1Total> closed;
    const auto writeClosed = [&](unsigned textThreads) {
        sums.writeLines(closed, textThreads, out, host);
        closed.clear();
    };
    // The lines closed when the batch before was finished: their text is made in the next round,
    // by whichever thread is free, beside the batch computed then, and added to the file and the
    // log at the start of the round after, by this thread while the helpers start on that round's
    // tasks (or, when a round stops, before the stop is passed on). Two rounds' lines are held:
    // those whose text is being made and those whose text waits to be written.
    std::array<std::vector<files::Phase1Total>, 2> deferred;
    std::array<std::optional<PlotSums::LineTexts>, 2> deferredText;
    std::size_t making = 0;  // the slot of the lines whose text the round makes
    // The text made in the round before, added to the file and the log once.
    const auto writeMade = [&] {
        std::optional<PlotSums::LineTexts>& made = deferredText[1 - making];
        if (!made) return;
        const PlotSums::LineTexts text = std::move(*made);
        made.reset();  // not written again should the writing fail
        text.write(out, host);
    };

    // A computed batch's groups, in file order, become their plots' sums, and the plots closed
    // are added to `closed`. With `writeNow` they are written at the batch's end (their text made
    // on all threads) and before a stop; otherwise they stay for the next round, and a stop is
    // passed on with them (see above). Runs on this thread: a group computed again uses worker
    // 0's cache.
    const auto finishBatch = [&](const GroupBatch& batch, const std::vector<GroupResult>& done,
                                 bool writeNow) {
        for (std::size_t i = 0; i < batch.groups.size(); ++i) {
            const int plot = batch.groups[i].plot;
            const GroupResult& result = done[i];
            if (expected && result.counted) {
                if (currentPlot && *currentPlot != plot) {
                    sums.closePlot(*currentPlot, params.PACF, closed);
                }
                currentPlot = plot;
                for (const SpeciesShares& species : result.shares) {
                    if (species.shares > 0)
                        sums.addShares(species.species, species.shares, species.basalArea,
                                       species.volume);
                }
                tally.plausibility.add(result.plausibility);
            }
            if (!result.counts.empty()) {
                if (!currentPlot || *currentPlot != plot) {
                    // The group's trees start their plot's sums: those are the group's own.
                    if (currentPlot) sums.closePlot(*currentPlot, params.PACF, closed);
                    currentPlot = plot;
                    for (const SpeciesCount& count : result.counts)
                        sums.start(count.species, count.trees, count.basalArea, count.volume);
                } else {
                    // The plot's trees go on from an earlier group (the groups between had no
                    // counted trees): the group is computed again here, as it was (its own
                    // generator, the same trees), keeping its trees, and they are added one after
                    // the other.
                    GroupResult again;
                    MersenneTwister64 generator = groupGenerator(batch.groups[i], in.seed, pass);
                    computeGroup(batch.groups[i], batch.heights, caches[0], scratches[0], generator,
                                 expected, true, again);
                    for (const CountedTree& tree : again.trees)
                        sums.add(tree.species, tree.basalArea, tree.volume);
                }
                // The tally of the group's counted trees, in the order they came.
                tally.plausibility.add(result.plausibility);
            }
            tally.noInterval += result.noInterval;
            if (result.error) {
                if (writeNow) writeClosed(threads);
                std::rethrow_exception(result.error);
            }
        }
        if (writeNow) writeClosed(threads);
        if (batch.readError) std::rethrow_exception(batch.readError);
        host.progress(progress.before + batch.bytesRead, progress.total);
    };

    // Each round reads the next batch (its first task, taken by the first thread free) while it
    // computes one, and this thread finishes the one before it first.
    BatchSequence batches(reader, lidar, batchHeights(lidar.reader().bytesTotal()));
    batches.readNext();
    const GroupBatch* computed = nullptr;  // computed and not finished yet
    std::size_t into = 0;                  // the results the next batch is computed into
    while (GroupBatch* next = batches.next()) {
        const GroupBatch& batch = *next;
        std::vector<GroupResult>& batchResults = results[into];
        if (batchResults.size() < batch.groups.size()) batchResults.resize(batch.groups.size());
        // The text made in the round before is written, then the batch before is finished, and
        // the reading warnings of this one come after it: all as one thread going batch after
        // batch would have them.
        const auto finishBefore = [&] {
            writeMade();
            if (computed) finishBatch(*computed, results[1 - into], false);
            for (const Warning& w : batch.warnings) warn(w.kind, w.text);
            stopIfCancelled(host);
        };
        // The lines the finishing before this round closed get their text in this one, first.
        std::vector<files::Phase1Total>& lines = deferred[making];
        lines.swap(closed);
        closed.clear();
        PlotSums::LineTexts& text = deferredText[making].emplace(sums, lines);
        const std::size_t pieces = text.pieces();
        const std::size_t chunks = (batch.groups.size() + kGroupsPerChunk - 1) / kGroupsPerChunk;
        const std::size_t reading = batches.more() ? 1 : 0;
        try {
            parallelForAfter(
                finishBefore, reading + pieces + chunks, threads,
                [&](std::size_t task, unsigned worker) {
                    if (task < reading) {
                        batches.readNext();
                        return;
                    }
                    const std::size_t index = task - reading;
                    if (index < pieces) {
                        text.make(index);
                        return;
                    }
                    const std::size_t chunk = index - pieces;
                    const std::size_t first = chunk * kGroupsPerChunk;
                    const std::size_t end = std::min(batch.groups.size(), first + kGroupsPerChunk);
                    ThreadScratch& scratch = scratches[worker];
                    scratch.generators.clear();
                    scratch.trees.clear();
                    for (std::size_t i = first; i < end; ++i) {
                        scratch.generators.push_back(
                            groupGenerator(batch.groups[i], in.seed, pass));
                        scratch.trees.push_back(batch.groups[i].last - batch.groups[i].first);
                    }
                    if (!expected) {
                        MersenneTwister64::seedFirstNumbers(scratch.generators.data(),
                                                            scratch.generators.size(),
                                                            scratch.trees.data());
                    }
                    for (std::size_t i = first; i < end; ++i) {
                        computeGroup(batch.groups[i], batch.heights, caches[worker], scratch,
                                     scratch.generators[i - first], expected, false,
                                     batchResults[i]);
                    }
                },
                &host);
        } catch (...) {
            // The lines closed before the stop are written first, in their order, as a single
            // thread would have written them.
            writeMade();
            deferredText[making].reset();
            sums.writeLines(lines, 1, out, host);
            writeClosed(1);
            throw;
        }
        deferred[1 - making].clear();
        making = 1 - making;
        computed = next;
        into = 1 - into;
    }
    // The text made in the last round, the lines its finishing closed, then those of the last
    // batch.
    writeMade();
    writeClosed(threads);
    if (computed) finishBatch(*computed, results[1 - into], true);
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
