#include "engine/distribution/LidarVolume.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/InputError.h"
#include "core/NumberText.h"
#include "engine/distribution/DistributionInputs.h"
#include "engine/distribution/ParallelPlots.h"
#include "engine/distribution/PlotIteration.h"
#include "engine/distribution/PlotLines.h"

namespace orr::distribution {

namespace {

using End = LidarVolResult::End;

// The status log is cleared before a line is added once it holds more than 64000 characters.
void appendPlotLine(StepHost& host, const std::string& line) {
    if (host.logLength() > 64000) host.setLog("");
    host.appendLog(line);
}

std::string noCoefficientText(int pass) {
    return pass == 1 ? "Potential ERROR: No coefficient for LiDAR DS1 height equation"
                     : "Potential ERROR: No coefficient for LiDAR DS2 height equation";
}

class Passes {
  public:
    Passes(const Session& session, StepHost& host, const CoefficientTable& coeff,
           const DbhLimits& dbh, const StrataTable& strata, std::vector<Phase2Plot> plots,
           std::uint64_t seed)
        : session_(session),
          host_(host),
          coeff_(coeff),
          dbh_(dbh),
          strata_(strata),
          plots_(std::move(plots)),
          seed_(seed),
          threads_(threadCount(session.run.threads)) {}

    void run(int pass, const LidarHeights& heights, std::string& plotFile,
             std::string* speciesFile);

  private:
    void askQuestions(const std::vector<ProductQuestion>& questions);
    void takeResult(int pass, const Phase2Plot& plot, const PlotResult& result,
                    std::string& plotFile, std::string* speciesFile);

    const Session& session_;
    StepHost& host_;
    const CoefficientTable& coeff_;
    const DbhLimits& dbh_;
    const StrataTable& strata_;
    std::vector<Phase2Plot> plots_;
    std::uint64_t seed_;
    unsigned threads_;
    ProductAnswers answers_;                // for the step's whole run
    std::set<std::pair<int, int>> warned_;  // (species, pass) of the coefficient messages
    std::size_t done_ = 0;
};

void Passes::run(int pass, const LidarHeights& heights, std::string& plotFile,
                 std::string* speciesFile) {
    host_.appendLog(statusHeading());
    const PassSetup setup{&coeff_, &dbh_, &session_.params, pass, seed_};
    std::vector<PlotJob> jobs(plots_.size());
    for (std::size_t n = 0; n < plots_.size(); ++n) {
        const int plot = plots_[n].plot;
        jobs[n] = {&plots_[n], n, plotAge(strata_, plot), heights.of(plot)};
    }
    // Plots go in chunks: the questions of a chunk are asked in plot order before the plots that
    // raised them are computed, and the results are taken in plot order.
    const std::size_t chunk = std::max<std::size_t>(64, 16 * std::size_t{threads_});
    const std::size_t total = 2 * plots_.size();
    for (std::size_t start = 0; start < jobs.size(); start += chunk) {
        const std::size_t count = std::min(chunk, jobs.size() - start);
        std::vector<PlotFirstLook> looks(count);
        forEachPlot(count, threads_,
                    [&](std::size_t i) { looks[i] = plotFirstLook(setup, jobs[start + i]); });
        std::vector<std::size_t> waiting;
        for (std::size_t i = 0; i < count; ++i) {
            if (looks[i].result) continue;
            askQuestions(looks[i].questions);
            waiting.push_back(i);
        }
        forEachPlot(waiting.size(), threads_, [&](std::size_t w) {
            const std::size_t i = waiting[w];
            looks[i].result = sub1400(setup, jobs[start + i], answers_);
        });
        for (std::size_t i = 0; i < count; ++i)
            takeResult(pass, plots_[start + i], *looks[i].result, plotFile, speciesFile);
        done_ += count;
        host_.progress(done_, total);
    }
}

void Passes::askQuestions(const std::vector<ProductQuestion>& questions) {
    for (const auto& q : questions) {
        if (answers_.contains(q.key)) continue;
        answers_[q.key] = host_.askProductCode(q.key.species, q.dbh);
    }
}

void Passes::takeResult(int pass, const Phase2Plot& plot, const PlotResult& result,
                        std::string& plotFile, std::string* speciesFile) {
    if (speciesFile) *speciesFile += result.speciesLines;
    if (result.stoppedOnSpecies) {
        const int species = *result.stoppedOnSpecies;
        if (warned_.emplace(species, pass).second)
            host_.message(noCoefficientText(pass), Icon::Critical);
        appendPlotLine(host_, "Plot " + shortest(plot.plot) + " skipped: no coefficient for the " +
                                  "LiDAR DS" + shortest(pass) + " height equation of species " +
                                  shortest(species));
        return;
    }
    plotFile += result.plotLines;
    for (const auto& line : result.statusLines) appendPlotLine(host_, line);
}

}  // namespace

LidarVolResult LIDARVOL(const Session& session, StepHost& host, const CoefficientTable& coeff,
                        std::uint64_t seed, StagedOutputs& outputs) {
    const ParamRecord& params = session.params;
    const auto& dbhFile = session.DBHFileName;
    if (std::filesystem::is_regular_file(dbhFile) && fileLength(dbhFile) < 1) {
        host.message("Error: No min/max dbhes on file for dataset " + session.DataSetName,
                     Icon::Critical);
        return {End::Stopped, 0};
    }
    const DbhLimits dbh = readDbhFile(dbhFile, params.MaxSpec, params.MaxProd);
    const StrataTable strata = readStrataFile(session.StrataFileName);

    // The DataSet 1 LiDAR file is checked against MaxPlots before the plot file's own faults
    // are reported, so that a MaxPlots too small leads to the parameters dialog first.
    std::vector<Phase2Plot> plots;
    std::optional<InputError> plotFileError;
    try {
        plots = readPhase2Plots(session.dataSetFile("_PH2Plot.csv"), params.MaxSpec, params.MaxProd,
                                params.MaxPlots);
    } catch (const InputError& e) {
        plotFileError = e;
    }
    std::vector<char> wanted(static_cast<std::size_t>(std::max<int>(0, params.MaxPlots + 1)), 0);
    for (const auto& p : plots) wanted[static_cast<std::size_t>(p.plot)] = 1;

    LidarRead lidar[2];
    lidar[0] = readLidarHeights(session.HighLidarFileName, params.MaxPlots, wanted);
    if (lidar[0].plotAboveMaxPlots) return {End::PlotAboveMaxPlots, *lidar[0].plotAboveMaxPlots};
    if (plotFileError) throw *plotFileError;
    if (!session.LowLidarFileName.empty()) {
        lidar[1] = readLidarHeights(session.LowLidarFileName, params.MaxPlots, wanted);
        if (lidar[1].plotAboveMaxPlots)
            return {End::PlotAboveMaxPlots, *lidar[1].plotAboveMaxPlots};
    }

    std::string& plotDS1 = outputs.file(session.dataSetFile("_PH2plotDS1.csv"));
    std::string& specDS1 = outputs.file(session.dataSetFile("_PH2specDS1.csv"));
    std::string& plotDS2 = outputs.file(session.dataSetFile("_PH2plotDS2.csv"));
    Passes passes(session, host, coeff, dbh, strata, std::move(plots), seed);
    passes.run(1, lidar[0].heights, plotDS1, &specDS1);
    passes.run(2, lidar[1].heights, plotDS2, nullptr);
    return {End::Completed, 0};
}

}  // namespace orr::distribution
