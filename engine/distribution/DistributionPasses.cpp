#include "engine/distribution/DistributionPasses.h"

#include <algorithm>
#include <exception>
#include <map>
#include <set>
#include <utility>
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

// A plot's lines: of the species file, of the plot file and of the log (each ended by CR LF).
struct PlotText {
    std::string species;
    std::string classes;
    std::string log;
};

PlotText plotText(const PlotResult& result, bool withSpecies) {
    PlotText text;
    if (result.missingCoefficientSpecies) return text;
    if (withSpecies) {
        for (const auto& species : result.speciesCounts)
            files::SpeciesCountFile::write(text.species, species);
    }
    for (const auto& line : result.classes) {
        files::LidarPlotFile::write(text.classes, line);
        appendStatusLogLine(text.log, line);
    }
    return text;
}

class Passes {
  public:
    Passes(const StepInputs& in, const DistributionTables& tables, const PlotsAndHeights& read,
           StepHost& host, std::uintmax_t bytesRead)
        : in_(in),
          tables_(tables),
          read_(read),
          host_(host),
          threads_(threadCount(in.threads)),
          sharedTrees_(read.heights[0].count() + read.heights[1].count()),
          done_(bytesRead),
          total_(bytesRead) {
        for (int pass = 1; pass <= 2; ++pass) {
            for (const Phase2Plot& plot : read.plots) total_ += units(pass, plot);
        }
    }

    // One pass; the message when a plot meets a missing coefficient.
    std::optional<std::string> run(int pass, OutputFile& plotFile, OutputFile* speciesFile);
    std::vector<DroppedTrees> droppedTrees() const;
    const std::vector<GapAnswer>& gapAnswers() const { return gapAnswers_; }

  private:
    struct GapKey {
        int species = 0;
        DbhGap gap;
        auto operator<=>(const GapKey&) const = default;
    };
    // The questions of one plot, in order.
    void askQuestions(const std::vector<ProductQuestion>& questions, std::int32_t plot);
    // The answer to a question not answered before: from an answer given for its whole gap, or
    // from the user; the index of the gap answer that settled it, if one did.
    std::pair<std::optional<int>, std::optional<std::size_t>> answer(const ProductQuestion& q,
                                                                     const GapKey& gap,
                                                                     std::int32_t plot);

    const StepInputs& in_;
    const DistributionTables& tables_;
    const PlotsAndHeights& read_;
    StepHost& host_;
    unsigned threads_;
    // The trees grown on all threads in both passes.
    SharedTrees sharedTrees_;
    ProductAnswers answers_;  // for the step's whole run
    std::vector<GapAnswer> gapAnswers_;
    std::map<GapKey, std::size_t> gapAnswerOf_;      // gap -> index in gapAnswers_
    std::map<PromptKey, std::size_t> settledByGap_;  // question -> index in gapAnswers_
    std::map<int, DroppedTrees> droppedTrees_;       // by species
    // Progress: the bytes read before the passes, then each plot's draws as it is written.
    std::uintmax_t done_ = 0;
    std::uintmax_t total_ = 0;
    std::uintmax_t units(int pass, const Phase2Plot& plot) const {
        const auto& heights = read_.heights[static_cast<std::size_t>(pass - 1)];
        return passUnits(heights.of(plot.plot).size(), in_.params.MaxItern) + 1;
    }
};

std::vector<DroppedTrees> Passes::droppedTrees() const {
    std::vector<DroppedTrees> all;
    for (const auto& [species, trees] : droppedTrees_) all.push_back(trees);
    return all;
}

std::optional<std::string> Passes::run(int pass, OutputFile& plotFile, OutputFile* speciesFile) {
    host_.log(statusHeading());
    const PassSetup setup{&tables_.coeff, &tables_.dbh, &in_.params, pass, in_.seed};
    // Each thread's way to the trees grown.
    std::vector<GrownTrees> grownTrees;
    for (unsigned t = 0; t < std::max(threads_, 1u); ++t)
        grownTrees.emplace_back(TreeRuleSetup{&tables_.coeff, &in_.params, pass}, &sharedTrees_);
    const auto& plots = read_.plots;
    const LidarHeights& heights = read_.heights[static_cast<std::size_t>(pass - 1)];
    std::vector<PlotJob> jobs(plots.size());
    for (std::size_t n = 0; n < plots.size(); ++n) {
        const std::int32_t plot = plots[n].plot;
        // A plot's age is that of the first stratum whose range holds it: the rows are searched
        // from the top and the search stops at the first match (0 when none holds the plot).
        const StrataRow* row = tables_.strata.firstRowHolding(plot);
        jobs[n] = {&plots[n], n, row != nullptr ? row->avgAge : 0, heights.of(plot)};
    }
    // Plots go in chunks: the questions of a chunk are asked in plot order before the plots that
    // raised them are computed, and the results are taken in plot order. A chunk's lines are
    // written on this thread while the helpers start on the next chunk.
    const std::size_t chunk = std::max<std::size_t>(64, 16 * std::size_t{threads_});
    const bool withSpecies = speciesFile != nullptr;
    PlausibilityTally plausibility;
    struct Chunk {
        std::size_t start = 0;
        std::size_t count = 0;
        std::vector<PlotFirstLook> looks;
        // The plots' lines, made on all threads as soon as each plot has its result.
        std::vector<PlotText> texts;
    };
    Chunk computed;  // computed, its lines not written yet
    Chunk next;
    std::optional<std::string> stop;
    // The lines of the computed chunk go to the files and the log in plot order; the step ends
    // at a plot that meets a missing coefficient.
    const auto writeComputed = [&] {
        if (computed.count == 0) return;
        for (std::size_t i = 0; i < computed.count && !stop; ++i) {
            const PlotResult& result = *computed.looks[i].result;
            if (result.missingCoefficientSpecies) {
                stop = missingCoefficientMessage(pass, *result.missingCoefficientSpecies);
                break;
            }
            if (speciesFile) speciesFile->append(computed.texts[i].species);
            plotFile.append(computed.texts[i].classes);
            host_.logLines(computed.texts[i].log);
            plausibility.add(result.plausibility);
            done_ += units(pass, plots[computed.start + i]);
        }
        computed.count = 0;
        if (!stop) host_.progress(done_, total_);
    };
    for (std::size_t start = 0; start < jobs.size(); start += chunk) {
        next.start = start;
        next.count = std::min(chunk, jobs.size() - start);
        next.looks.assign(next.count, {});
        next.texts.assign(next.count, {});
        // A plot's failure is kept and thrown in plot order once the chunk before is written.
        std::vector<std::exception_ptr> failures(next.count);
        parallelForAfter(
            [&] {
                writeComputed();
                if (!stop) stopIfCancelled(host_);
            },
            next.count, threads_,
            [&](std::size_t i, unsigned worker) {
                try {
                    next.looks[i] = plotFirstLook(setup, jobs[start + i], grownTrees[worker]);
                    if (next.looks[i].result)
                        next.texts[i] = plotText(*next.looks[i].result, withSpecies);
                } catch (...) {
                    failures[i] = std::current_exception();
                }
            },
            &host_);
        if (stop) return stop;
        for (const std::exception_ptr& failure : failures) {
            if (failure) std::rethrow_exception(failure);
        }
        std::vector<std::size_t> waiting;
        for (std::size_t i = 0; i < next.count; ++i) {
            if (next.looks[i].result) {
                // The step ends at this plot: the plots after it ask nothing.
                if (next.looks[i].result->missingCoefficientSpecies) next.count = i + 1;
                continue;
            }
            askQuestions(next.looks[i].questions, plots[start + i].plot);
            waiting.push_back(i);
        }
        parallelFor(
            waiting.size(), threads_,
            [&](std::size_t w, unsigned worker) {
                const std::size_t i = waiting[w];
                next.looks[i].result =
                    iteratePlot(setup, jobs[start + i], answers_, grownTrees[worker]);
                next.texts[i] = plotText(*next.looks[i].result, withSpecies);
            },
            &host_);
        std::swap(computed, next);
    }
    writeComputed();
    if (stop) return stop;
    const std::string dataSet = "DataSet " + std::to_string(pass);
    plausibility.warn("ground heights of " + dataSet + " LiDAR trees",
                      dataSet + " LiDAR tree volumes");
    return std::nullopt;
}

void Passes::askQuestions(const std::vector<ProductQuestion>& questions, std::int32_t plot) {
    // The trees of this plot that each gap answer decided; a tree asking under two start
    // products of the same gap counts once.
    std::map<std::size_t, std::set<std::size_t>> decided;
    std::map<int, std::set<std::size_t>> droppedHere;  // species -> trees of this plot
    for (const auto& q : questions) {
        const GapKey gap{q.key.species, dbhGap(tables_.dbh, q.key.species, q.key.dbh1)};
        if (!answers_.contains(q.key)) {
            const auto [code, byGap] = answer(q, gap, plot);
            answers_[q.key] = code;
            if (byGap) settledByGap_[q.key] = *byGap;
        }
        if (const auto by = settledByGap_.find(q.key); by != settledByGap_.end())
            decided[by->second].insert(q.trees.begin(), q.trees.end());
        const std::optional<int>& code = answers_[q.key];
        if (!code || *code < 1 || *code > in_.params.MaxProd) {
            droppedHere[q.key.species].insert(q.trees.begin(), q.trees.end());
            auto [at, first] = droppedTrees_.try_emplace(q.key.species);
            DroppedTrees& d = at->second;
            if (first) {
                d.species = q.key.species;
                d.smallestDbh = d.largestDbh = q.key.dbh1;
            }
            d.smallestDbh = std::min(d.smallestDbh, q.key.dbh1);
            d.largestDbh = std::max(d.largestDbh, q.key.dbh1);
        }
    }
    for (const auto& [index, trees] : decided) gapAnswers_[index].trees += trees.size();
    for (const auto& [species, trees] : droppedHere) droppedTrees_[species].trees += trees.size();
}

std::pair<std::optional<int>, std::optional<std::size_t>> Passes::answer(const ProductQuestion& q,
                                                                         const GapKey& gap,
                                                                         std::int32_t plot) {
    if (const auto given = gapAnswerOf_.find(gap); given != gapAnswerOf_.end())
        return {gapAnswers_[given->second].code, given->second};
    if (in_.productCodes != ProductCodePolicy::Ask) return {std::nullopt, std::nullopt};
    ProductCodeQuestion question;
    question.plot = plot;
    question.species = q.key.species;
    question.dbh = q.dbh;
    question.dbh1 = q.key.dbh1;
    question.startProduct = q.key.startProduct;
    question.maxProduct = in_.params.MaxProd;
    question.gapFrom = gap.gap.from;
    question.gapTo = gap.gap.to;
    const ProductCodeAnswer given = host_.answerProductQuestion(question);
    if (!given.wholeGap) return {given.code, std::nullopt};
    const std::size_t index = gapAnswers_.size();
    gapAnswers_.push_back({gap.species, gap.gap, given.code, 0});
    gapAnswerOf_[gap] = index;
    return {given.code, index};
}

}  // namespace

PassesEnd distributePasses(const StepInputs& in, const DistributionTables& tables,
                           const PlotsAndHeights& read, DistributionOutputs& outputs,
                           StepHost& host, std::uintmax_t bytesRead) {
    Passes passes(in, tables, read, host, bytesRead);
    PassesEnd end;
    end.stop = passes.run(1, outputs.plotsDS1, &outputs.speciesDS1);
    // DataSet 2 runs also without a LOW-height file: its plots get their ground values. The
    // files of DataSet 1 are whole: they go to the disk meanwhile.
    if (!end.stop) {
        outputs.plotsDS1.toDiskAhead();
        outputs.speciesDS1.toDiskAhead();
        end.stop = passes.run(2, outputs.plotsDS2, nullptr);
    }
    end.gapAnswers = passes.gapAnswers();
    end.dropped = passes.droppedTrees();
    return end;
}

}  // namespace orr::distribution
