// Step 5 as a whole: the inputs, the walk over the ground trees plot by plot, and the four output
// files, which reach the data directory only when the step completes.
#include "engine/phase2/Phase2Totals.h"

#include <filesystem>
#include <stdexcept>
#include <string>

#include "core/CommaWriter.h"
#include "core/StagedOutputs.h"
#include "engine/equations/TreeEquations.h"
#include "engine/phase2/GroundTrees.h"
#include "engine/phase2/PlotTotals.h"
#include "files/InputFiles.h"

namespace orr {

namespace {

constexpr std::size_t kProgressEvery = 4096;

void writeTreeRecord(const GroundTree& t, double height, double volume, std::string& out) {
    RecordLine()
        .integer(t.plot)
        .integer(t.species)
        .integer(t.product)
        .rounded(t.dbh, 2)
        .rounded(height, 0)
        .rounded(volume, 5)
        .rounded(t.extra1, 2)
        .rounded(t.extra2, 2)
        .appendTo(out);
}

// The DBH file; nullopt after the message for an empty one.
std::optional<DbhLimits> loadDbhLimits(const Session& session, StepHost& host) {
    const auto& file = session.DBHFileName;
    std::error_code ec;
    if (std::filesystem::is_regular_file(file, ec) && fileLength(file) < 1) {
        host.message("Error: No min/max dbhes on file for dataset " + session.DataSetName,
                     Icon::Critical);
        return std::nullopt;
    }
    return readDbhFile(file, session.params.MaxSpec, session.params.MaxProd);
}

// The walk over the trees and the output files; false after the empty-DBH-file message.
bool computeTotals(Session& session, StepHost& host, StagedOutputs& outputs) {
    const ParamRecord& params = session.params;
    const CoefficientTable coeff = readCoefficientFile(session.CoeffFileName, params.MaxSpec);
    const std::optional<DbhLimits> limits = loadDbhLimits(session, host);
    if (!limits) {
        return false;
    }
    std::string& treeFile = outputs.file(session.dataSetFile(kTreeVolumeSuffix));
    std::string& plotFile = outputs.file(session.dataSetFile(kPlotSuffix));
    std::string& plotTotalFile = outputs.file(session.dataSetFile(kPlotTotalSuffix));
    const std::vector<GroundTree> trees = readGroundTrees(session.TreeInputFileName, params);

    PlotTotals totals(params.MaxSpec, params.MaxProd);
    const double pacf = params.PACF;
    int prevPlot = 0;
    for (std::size_t i = 0; i < trees.size(); ++i) {
        if (i % kProgressEvery == 0) {
            host.progress(i, trees.size());
        }
        const GroundTree& t = trees[i];
        // Trees below the smallest DBH of product 1 of their species are not part of the sample.
        if (t.dbh < limits->min(t.species, 1)) {
            continue;
        }
        if (t.plot != prevPlot && prevPlot >= 1) {
            totals.closePlot(prevPlot, plotFile, plotTotalFile);
        }
        prevPlot = t.plot;
        double height = t.height;
        if (height == 0) {
            height = TREEHGT(coeff, params, t.species, t.dbh, t.age);
        }
        const double volume = TREEVOL(coeff, params, t.species, t.dbh, height);
        const double ba = TREEBA(t.dbh);
        writeTreeRecord(t, height, volume, treeFile);
        totals.addTree(t.species, t.product, pacf, ba, volume);
    }
    if (totals.plotHoldsAnything()) {
        totals.closePlot(prevPlot, plotFile, plotTotalFile);
    }
    host.progress(trees.size(), trees.size());
    totals.writeSummary(outputs.file(session.dataSetFile(kPhase2SummarySuffix)));
    return true;
}

}  // namespace

bool runPhase2Totals(Session& session, StepHost& host) {
    if (session.TreeInputFileName.empty()) {
        host.pickTreeFile(session);
        if (session.TreeInputFileName.empty()) {
            host.message("Please Enter Input File", Icon::Critical);
            return false;
        }
    }
    host.setStatus("Status: Computing Plot Totals..");
    host.setLog("");
    host.appendLog("Computing plot totals/percentages by species-product....");
    host.appendLog("Computing plot totals all species, products combined....");
    host.appendLog("Obtaining Summary of Phase 2 ground estimates.... ");

    StagedOutputs outputs;
    std::vector<std::filesystem::path> written;
    try {
        if (!computeTotals(session, host, outputs)) {
            return false;
        }
        written = outputs.commit();
    } catch (const std::exception& e) {
        // InputError names the file, record, field and text; a failed write names the path.
        host.message(e.what(), Icon::Critical);
        return false;
    }

    host.appendLog("The Following Files are Created in directory " + session.dataFilesDirText());
    for (const auto& path : written) {
        host.appendLog(path.filename().string());
    }
    host.setStatus("Status: Plot Totals Computation completed!");
    return true;
}

}  // namespace orr
