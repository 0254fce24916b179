// One data-set pass of the Phase 1 computation, in one streaming read of its LiDAR height file.
//
// The records of a plot follow each other; a run of them (among the trees above 10 feet) is a
// group with a generator of its own, seeded from the run seed, the pass and the group's position
// in the file. A plot whose records come back after another plot's is a further group and is
// written again.
#include <algorithm>
#include <optional>
#include <random>

#include "engine/phase1/GroupRandom.h"
#include "engine/phase1/LidarTreeRule.h"
#include "engine/phase1/PlotSums.h"
#include "engine/phase1/Sum1Phas.h"

namespace orr::phase1 {

namespace {

constexpr double kLowestLidarHeight = 10.0;  // trees of this height or less are not used
constexpr std::size_t kListedPlots = 20;

}  // namespace

PassTally runPass(int pass, CommaReader& lidar, Phase1Tables& tables, const ParamRecord& params,
                  std::uint64_t seed, std::string& out, StepHost& host, ProgressMeter& meter) {
    const int maxPlots = std::max<int>(params.MaxPlots, 0);
    const LidarTreeRule rule(tables.coeff, tables.limits, params, pass);
    PlotStrata plotStrata(tables.strata, maxPlots);
    PlotSums sums(params.MaxSpec);
    PassTally tally;
    std::vector<char> listedOutside(static_cast<std::size_t>(maxPlots) + 1, 0);

    std::optional<int> groupPlot;    // plot of the group being drawn
    std::uint64_t nextPosition = 0;  // position of the next group in the file
    std::mt19937_64 generator;
    const DrawList* drawList = nullptr;  // nullptr: the group's plot lies in no stratum
    int plotAge = 0;                     // kept from the plot before when a plot has no stratum
    std::optional<int> currentPlot;      // plot of the last counted tree

    while (lidar.next(2)) {
        const int plot = lidar.intInRange(0, "plot", 0, maxPlots);
        const double h = lidar.number(1, "height");
        meter.advance(lidar.text(0).size() + lidar.text(1).size() + 2);
        if (h <= kLowestLidarHeight) continue;

        if (!groupPlot || *groupPlot != plot) {
            groupPlot = plot;
            generator.seed(groupSeed(seed, pass, nextPosition++));
            if (const StrataRow* row = plotStrata.firstRow(plot)) {
                drawList = &tables.shares.drawList(row->stratum);
                plotAge = row->avgAge;
            } else {
                drawList = nullptr;
                if (!listedOutside[static_cast<std::size_t>(plot)]) {
                    listedOutside[static_cast<std::size_t>(plot)] = 1;
                    if (tally.outsidePlots.size() < kListedPlots) {
                        tally.outsidePlots.push_back(plot);
                    } else {
                        ++tally.furtherOutsidePlots;
                    }
                }
            }
        }
        if (drawList == nullptr) {
            ++tally.outsideStratum;
            continue;
        }
        // A stratum without shares draws nothing; otherwise one draw per tree, also when it
        // falls in no interval.
        const int species = drawList->empty() ? 0 : drawSpecies(*drawList, uniform(generator));
        if (species == 0) {
            ++tally.noInterval;
            continue;
        }

        const std::optional<GroundTree> tree = rule.compute(species, h, plotAge);
        if (!tree) continue;
        if (currentPlot && *currentPlot != plot) sums.sub2150(*currentPlot, params.PACF, out, host);
        currentPlot = plot;
        sums.add(species, tree->basalArea, tree->volume);
    }
    // The last plot is written whenever it has counted trees.
    if (currentPlot && sums.any()) sums.sub2150(*currentPlot, params.PACF, out, host);
    return tally;
}

}  // namespace orr::phase1
