#include "engine/distribution/DistributionPasses.h"

#include <algorithm>
#include <vector>

#include "core/ParallelFor.h"
#include "engine/distribution/PlotIteration.h"
#include "engine/distribution/PlotLines.h"
#include "files/LidarPlotFile.h"
#include "files/SpeciesCountFile.h"

namespace orr::distribution {

namespace {

// The ground-height equation of DataSet 1 (equation 3) needs its exponent b2, that of DataSet 2
// (equation 4) its factor b1.
std::string missingCoefficientMessage(int pass, int species) {
    const bool high = pass == 1;
    return std::string("Potential ERROR: No coefficient for LiDAR ") + (high ? "DS1" : "DS2") +
           " height equation: species " + std::to_string(species) + " has no " +
           (high ? "b2 in equation 3." : "b1 in equation 4.");
}

class Passes {
  public:
    Passes(const StepInputs& in, const DistributionTables& tables, const PlotsAndHeights& read,
           StepHost& host)
        : in_(in), tables_(tables), read_(read), host_(host), threads_(threadCount(in.threads)) {}

    // One pass; the message when a plot meets a missing coefficient.
    std::optional<std::string> run(int pass, OutputFile& plotFile, OutputFile* speciesFile);
    std::size_t droppedQuestions() const { return dropped_; }

  private:
    void askQuestions(const std::vector<ProductQuestion>& questions);

    const StepInputs& in_;
    const DistributionTables& tables_;
    const PlotsAndHeights& read_;
    StepHost& host_;
    unsigned threads_;
    ProductAnswers answers_;  // for the step's whole run
    std::size_t dropped_ = 0;
    std::size_t done_ = 0;
};

std::optional<std::string> Passes::run(int pass, OutputFile& plotFile, OutputFile* speciesFile) {
    host_.log(statusHeading());
    const PassSetup setup{&tables_.coeff, &tables_.dbh, &in_.params, pass, in_.seed};
    const auto& plots = read_.plots;
    const LidarHeights& heights = read_.heights[static_cast<std::size_t>(pass - 1)];
    std::vector<PlotJob> jobs(plots.size());
    for (std::size_t n = 0; n < plots.size(); ++n) {
        const int plot = plots[n].plot;
        jobs[n] = {&plots[n], n, plotAge(tables_.strata, plot), heights.of(plot)};
    }
    // Plots go in chunks: the questions of a chunk are asked in plot order before the plots that
    // raised them are computed, and the results are taken in plot order.
    const std::size_t chunk = std::max<std::size_t>(64, 16 * std::size_t{threads_});
    const std::size_t total = 2 * plots.size();
    for (std::size_t start = 0; start < jobs.size(); start += chunk) {
        stopIfCancelled(host_);
        std::size_t count = std::min(chunk, jobs.size() - start);
        std::vector<PlotFirstLook> looks(count);
        parallelFor(
            count, threads_,
            [&](std::size_t i, unsigned) { looks[i] = plotFirstLook(setup, jobs[start + i]); },
            &host_);
        std::vector<std::size_t> waiting;
        for (std::size_t i = 0; i < count; ++i) {
            if (looks[i].result) {
                // The step ends at this plot: the plots after it ask nothing.
                if (looks[i].result->missingCoefficientSpecies) count = i + 1;
                continue;
            }
            askQuestions(looks[i].questions);
            waiting.push_back(i);
        }
        parallelFor(
            waiting.size(), threads_,
            [&](std::size_t w, unsigned) {
                const std::size_t i = waiting[w];
                looks[i].result = iteratePlot(setup, jobs[start + i], answers_);
            },
            &host_);
        for (std::size_t i = 0; i < count; ++i) {
            const PlotResult& result = *looks[i].result;
            if (result.missingCoefficientSpecies)
                return missingCoefficientMessage(pass, *result.missingCoefficientSpecies);
            if (speciesFile) {
                for (const auto& species : result.speciesCounts)
                    files::SpeciesCountFile::write(*speciesFile, species);
            }
            for (const auto& line : result.classes) {
                files::LidarPlotFile::write(plotFile, line);
                host_.log(statusLogLine(line));
            }
        }
        done_ += count;
        host_.progress(done_, total);
    }
    return std::nullopt;
}

void Passes::askQuestions(const std::vector<ProductQuestion>& questions) {
    for (const auto& q : questions) {
        if (answers_.contains(q.key)) continue;
        std::optional<int> answer;
        if (in_.productCodes == ProductCodePolicy::Ask)
            answer = host_.askProductCode(q.key.species, q.dbh);
        // No code, or one outside 1..MaxProd, drops the tree.
        if (!answer || *answer < 1 || *answer > in_.params.MaxProd) ++dropped_;
        answers_[q.key] = answer;
    }
}

}  // namespace

PassesEnd distributePasses(const StepInputs& in, const DistributionTables& tables,
                           const PlotsAndHeights& read, DistributionOutputs& outputs,
                           StepHost& host) {
    Passes passes(in, tables, read, host);
    PassesEnd end;
    end.stop = passes.run(1, outputs.plotsDS1, &outputs.speciesDS1);
    // DataSet 2 runs also without a LOW-height file: its plots get their ground values.
    if (!end.stop) end.stop = passes.run(2, outputs.plotsDS2, nullptr);
    end.droppedQuestions = passes.droppedQuestions();
    return end;
}

}  // namespace orr::distribution
