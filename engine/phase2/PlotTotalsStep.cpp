// Step 5 as a whole: the inputs, the walk over the ground trees plot by plot, and the four output
// files, which reach the data directory only when the step completes.
#include "engine/phase2/PlotTotalsStep.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/NumberText.h"
#include "core/OutputSet.h"
#include "core/ParallelFor.h"
#include "engine/equations/Plausibility.h"
#include "engine/equations/TreeEquations.h"
#include "engine/phase2/PlotTotals.h"
#include "files/CoefficientFile.h"
#include "files/DataSetFiles.h"
#include "files/DbhFile.h"
#include "files/TreeInputFile.h"
#include "files/TreeVolumeFile.h"

namespace orr {

namespace {

using files::DataSetFile;

constexpr long kProgressEvery = 4096;
// Counted trees per batch, and the pieces each batch's lines are made in.
constexpr std::size_t kTreesPerBatch = 8192;
constexpr std::size_t kPiecesPerBatch = 4;

// Not one tree is part of the sample: the wrong DBH file or the wrong tree file, not a stand
// without trees. The earlier plot totals are kept.
StepResult noTreeReachesTheMinimum(const StepInputs& in, long read, const DbhLimits& limits) {
    double smallest = 0;
    bool any = false;
    for (int s = 1; s <= limits.maxSpec; ++s) {
        if (!any || limits.min(s, 1) < smallest) smallest = limits.min(s, 1);
        any = true;
    }
    return StepResult::stopped("File " + in.paths.trees.string() +
                               ": no tree reaches the smallest DBH of product 1 of its species (" +
                               std::to_string(read) + (read == 1 ? " tree read" : " trees read") +
                               "; the smallest such DBH in " + in.paths.dbh.string() + " is " +
                               shortest(smallest) + " inches). The earlier plot totals are kept.");
}

}  // namespace

StepResult computePlotTotals(const StepInputs& in, StepHost& host) {
    const ParamRecord& params = in.params;
    const CoefficientTable coeff = readCoefficientFile(in.paths.coefficients, params.MaxSpec);
    const DbhLimits limits =
        loadDbhLimits(in.paths.dbh, params.MaxSpec, params.MaxProd, in.dataSetName);

    OutputSet outputs;
    OutputFile& treeFile = outputs.file(files::path(in, DataSetFile::TreeVolumes));
    OutputFile& plotFile = outputs.file(files::path(in, DataSetFile::PlotClasses));
    OutputFile& plotTotalFile = outputs.file(files::path(in, DataSetFile::PlotTotals));
    OutputFile& summaryFile = outputs.file(files::path(in, DataSetFile::Phase2Summary));

    files::RecordReader<files::TreeInputFile> trees(in.paths.trees, files::Limits::of(params));
    PlotTotals totals(params.MaxSpec, params.MaxProd);
    const double pacf = params.PACF;
    std::int32_t prevPlot = 0;
    files::GroundTree t;
    long read = 0;
    long counted = 0;
    PlausibilityTally plausibility;
    // Reads the next trees, adding them up plot by plot, until `batch` holds a batch of counted
    // trees or the file is read; returns whether trees may remain.
    const auto readBatch = [&](std::vector<files::TreeVolume>& batch) {
        while (batch.size() < kTreesPerBatch) {
            if (!trees.next(t)) return false;
            if (read++ % kProgressEvery == 0) {
                stopIfCancelled(host);
                host.progress(trees.reader().bytesRead(), trees.reader().bytesTotal());
            }
            // Trees below the smallest DBH of product 1 of their species are not part of the
            // sample.
            if (t.dbh < limits.min(t.species, 1)) continue;
            ++counted;
            if (t.plot != prevPlot && prevPlot >= 1)
                totals.closePlot(prevPlot, plotFile, plotTotalFile);
            prevPlot = t.plot;
            double height = t.height;
            if (height == 0) {
                height = treeHeight(coeff, params, t.species, t.dbh, t.age);
                plausibility.height(t.plot, t.species, height);
            }
            const double volume = treeVolume(coeff, params, t.species, t.dbh, height);
            plausibility.volume(t.plot, t.species, volume);
            batch.push_back(
                {t.plot, t.species, t.product, t.dbh, height, volume, t.extra1, t.extra2});
            totals.addTree(t.species, t.product, pacf, treeBasalArea(t.dbh), volume);
        }
        return true;
    };
    // The lines of the tree file are made on the other threads, in pieces, while this one reads
    // the next batch; they go to the file in the trees' order.
    const unsigned threads = threadCount(in.threads);
    std::array<std::vector<files::TreeVolume>, 2> batches;
    for (auto& batch : batches) batch.reserve(kTreesPerBatch);
    std::array<std::string, kPiecesPerBatch> pieces;
    std::size_t current = 0;
    for (bool more = true; more || !batches[1 - current].empty(); current = 1 - current) {
        std::vector<files::TreeVolume>& batch = batches[current];
        const std::vector<files::TreeVolume>& before = batches[1 - current];
        batch.clear();
        const std::size_t perPiece = (before.size() + kPiecesPerBatch - 1) / kPiecesPerBatch;
        parallelForAfter([&] { more = more && readBatch(batch); },
                         before.empty() ? 0 : kPiecesPerBatch, threads,
                         [&](std::size_t piece, unsigned) {
                             std::string& text = pieces[piece];
                             text.clear();
                             const std::size_t first = std::min(before.size(), piece * perPiece);
                             const std::size_t end = std::min(before.size(), first + perPiece);
                             for (std::size_t i = first; i < end; ++i)
                                 files::TreeVolumeFile::write(text, before[i]);
                         });
        if (!before.empty()) {
            for (const std::string& text : pieces) treeFile.append(text);
        }
    }
    // A file without a single tree is the wrong file, not a stand without trees: refused, so
    // that the earlier plot totals are not replaced by nothing.
    if (read == 0) {
        return StepResult::stopped("File " + in.paths.trees.string() + ": holds no tree records.");
    }
    if (counted == 0) return noTreeReachesTheMinimum(in, read, limits);
    if (totals.plotHoldsAnything()) totals.closePlot(prevPlot, plotFile, plotTotalFile);
    host.progress(trees.reader().bytesTotal(), trees.reader().bytesTotal());
    totals.writeSummary(summaryFile);
    stopIfCancelled(host);

    StepResult result;
    result.outputs = outputs.commit();
    plausibility.warn("predicted heights of ground trees", "ground tree volumes");
    result.closingLog.push_back("The Following Files are Created in directory " +
                                files::dirText(in.dataDir));
    for (const auto& path : result.outputs) result.closingLog.push_back(path.filename().string());
    return result;
}

const files::StepFiles& plotTotalsFiles() {
    // MaxPlots only bounds the plot numbers: the files of a completed run do not depend on it.
    static const files::StepFiles declared{
        5,
        {files::chosen(ChosenInput::Trees), files::chosen(ChosenInput::Coefficients),
         files::chosen(ChosenInput::Dbh)},
        {DataSetFile::TreeVolumes, DataSetFile::PlotClasses, DataSetFile::PlotTotals,
         DataSetFile::Phase2Summary},
        {"PACF", "MaxSpec", "MaxProd", "ModelSet", "PTIP", "STIP"}};
    return declared;
}

}  // namespace orr
