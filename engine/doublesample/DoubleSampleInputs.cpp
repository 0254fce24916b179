#include "engine/doublesample/DoubleSampleInputs.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/InputError.h"
#include "core/OutputSet.h"
#include "core/ParallelFor.h"
#include "files/DataSetFiles.h"
#include "files/Phase1File.h"
#include "files/Phase2File.h"
#include "files/Phase2SummaryFile.h"
#include "files/PlotClassFile.h"
#include "files/StrataFile.h"
#include "files/TreeInputFile.h"

namespace orr {

namespace {

using files::DataSetFile;

// The strata of the plots: a later row overrides an earlier one where their plot ranges overlap.
// H is the largest stratum number.
void assignStrata(const std::filesystem::path& file, const StrataTable& rows,
                  DoubleSampleInputs& in) {
    in.H = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const StrataRow& row = rows[r];
        if (row.stratum < 0) {
            throw InputError::at(file, static_cast<long>(r + 1), 1, "Strata",
                                 std::to_string(row.stratum),
                                 "is not a stratum number (0 or more)");
        }
        in.H = std::max(in.H, static_cast<int>(row.stratum));
        if (row.stratum >= 1) in.strataNamed.insert(row.stratum);
    }
    in.strata = StrataRanges(rows);
}

// A Phase 1 file of step 7. A plot counts for its stratum index (and for index 0) when one of
// its records has N or BA other than 0.
std::vector<Phase1Totals> readPhase1(const std::filesystem::path& file, const files::Limits& limits,
                                     const DoubleSampleInputs& in) {
    std::vector<Phase1Totals> totals(static_cast<std::size_t>(in.H) + 1);
    // The plots that count, each at least once: a plot's records follow each other, so only a
    // repeat right after itself is left out here; the plots are counted once each at the end.
    std::vector<std::int32_t> counted;
    std::int64_t lastPlot = -1;
    int h = 0;
    const auto use = [&](const files::Phase1Total& r) {
        if (r.n == 0 && r.ba == 0) return;
        if (r.plot != lastPlot) {
            lastPlot = r.plot;
            h = in.stratumOf(r.plot);
            counted.push_back(r.plot);
        }
        for (const int index : {0, h}) {
            Phase1Totals& t = totals[static_cast<std::size_t>(index)];
            t.baSum += r.ba;
            t.volSum += r.vol;
            if (h == 0) break;  // a plot in no stratum counts once, at index 0
        }
    };
    files::forEachRecord<files::Phase1File>(file, limits, use);
    // Ascending as a rule (the plots in the order of the LiDAR file): then not sorted again.
    if (!std::is_sorted(counted.begin(), counted.end())) std::sort(counted.begin(), counted.end());
    counted.erase(std::unique(counted.begin(), counted.end()), counted.end());
    for (const std::int32_t plot : counted) {
        const int stratum = in.stratumOf(plot);
        totals[0].plots += 1;
        if (stratum != 0) totals[static_cast<std::size_t>(stratum)].plots += 1;
    }
    return totals;
}

// _Phase2.csv of step 8. A plot whose ground N and BA are both 0 or less has no ground trees
// and counts nowhere.
void readPhase2(const std::filesystem::path& file, const files::Limits& limits,
                DoubleSampleInputs& in) {
    in.phase2.assign(static_cast<std::size_t>(in.H) + 1, {});
    files::forEachRecord<files::Phase2File>(file, limits, [&](const files::Phase2PlotTotals& r) {
        if (r.ground.n <= 0 && r.ground.ba <= 0) return;
        const Phase2Plot p{r.ground.vol,
                           {r.lidar[0].ba, r.lidar[0].vol, r.lidar[1].ba, r.lidar[1].vol}};
        in.phase2[0].push_back(p);
        const int h = in.stratumOf(r.plot);
        if (h >= 1) in.phase2[static_cast<std::size_t>(h)].push_back(p);
    });
}

// The strata file, then the files of the regression (the Phase 1 files and _Phase2.csv) and,
// with `all`, those of the class heights (_PH2Plot.csv, _PH2Sum.csv and the measured trees).
// The files after the strata file are read at once, each into its own place, and end as though
// read one after the other in that order.
DoubleSampleInputs readInputs(const StepInputs& inputs, bool all) {
    const files::Limits limits = files::Limits::of(inputs.params);
    DoubleSampleInputs in;
    assignStrata(inputs.paths.strata, readStrataFile(inputs.paths.strata), in);
    // DataSet 2 is optional: without a Phase 1 file of it (or with an empty one) its totals
    // stay 0 in every stratum.
    const auto phase1DS2 = files::path(inputs, DataSetFile::Phase1DS2);
    in.phase1[1].assign(static_cast<std::size_t>(in.H) + 1, Phase1Totals{});
    std::vector<std::function<void()>> reads = {
        [&] { in.phase1[0] = readPhase1(files::path(inputs, DataSetFile::Phase1DS1), limits, in); },
        [&] {
            if (fileLength(phase1DS2) > 0) in.phase1[1] = readPhase1(phase1DS2, limits, in);
        },
        [&] { readPhase2(files::path(inputs, DataSetFile::Phase2), limits, in); },
    };
    if (all) {
        reads.emplace_back([&] {
            in.plotClasses = files::readAll<files::PlotClassFile>(
                files::path(inputs, DataSetFile::PlotClasses), limits);
        });
        reads.emplace_back([&] {
            in.summary = files::readAll<files::Phase2SummaryFile>(
                files::path(inputs, DataSetFile::Phase2Summary), limits);
        });
        reads.emplace_back([&] {
            in.measuredTrees.reserve(
                files::recordRoom<files::TreeInputFile, MeasuredTree>(inputs.paths.trees));
            // Trees without a measured height have no part in the class heights.
            files::forEachRecord<files::TreeInputFile>(
                inputs.paths.trees, limits, [&](const files::GroundTree& t) {
                    if (t.height != 0)
                        in.measuredTrees.push_back({t.plot, t.species, t.product, t.height});
                });
        });
    }
    runInOrder(inputs.threads, reads);
    return in;
}

}  // namespace

DoubleSampleInputs readRegressionInputs(const StepInputs& inputs) {
    return readInputs(inputs, false);
}

DoubleSampleInputs readDoubleSampleInputs(const StepInputs& inputs) {
    return readInputs(inputs, true);
}

}  // namespace orr
