#include "model/workflow/StepRunner.h"

#include <exception>
#include <optional>
#include <string>

#include "core/FileReads.h"
#include "core/InputError.h"
#include "core/RandomStreams.h"
#include "files/DataSetFiles.h"
#include "files/FileFingerprint.h"
#include "files/RunRecord.h"

namespace orr::workflow {

namespace {

// The run record of the data set as it was before this run: read once, handed to the step and
// written back with this run in its place.
struct RecordBefore {
    std::vector<StepRun> runs;
    std::string problem;  // why it could not be read
};

RecordBefore readRecord(const std::filesystem::path& runFile) {
    RecordBefore before;
    try {
        before.runs = files::readRuns(runFile);
    } catch (const InputError& e) {
        before.problem = e.what();
    }
    return before;
}

// Calls the step; a cancel or an exception that escapes it ends it as such.
StepResult call(const StepEntry& entry, const StepInputs& inputs, StepView& view) {
    try {
        return entry.run(inputs, view);
    } catch (const StepCancelled&) {
        return StepResult::cancelled();
    } catch (const std::exception& e) {
        return StepResult::stopped(e.what());
    }
}

// Records the completed run. The record cannot be left naming the step's earlier run as the one
// that made its files (they are in place by then): when it cannot be written it is removed, if it
// can be, and the run has failed; the message says why.
std::optional<std::string> record(const std::filesystem::path& runFile, const RecordBefore& before,
                                  StepRun run, const std::vector<std::filesystem::path>& written,
                                  const files::ReadFingerprints& fingerprints,
                                  std::vector<Warning>& warnings) {
    std::vector<StepRun> runs = before.runs;
    if (!before.problem.empty()) {
        warnings.push_back({"run record", before.problem + " It is started anew."});
        runs.clear();
    }
    try {
        // Taken as the files were written; a file the step wrote some other way is read now.
        for (const auto& file : written) run.wrote.push_back(fingerprints.ofWrittenOrRead(file));
        files::recordRun(runFile, std::move(runs), run);
        return std::nullopt;
    } catch (const std::exception& e) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(std::filesystem::symlink_status(runFile, ec)))
            std::filesystem::remove(runFile, ec);
        return "The run of step " + std::to_string(run.step) + " could not be recorded in " +
               shownPath(runFile) + ": " + e.what() +
               (std::filesystem::exists(std::filesystem::symlink_status(runFile, ec))
                    ? std::string()
                    : std::string(" The record of the earlier runs was removed with it."));
    }
}

void showEnd(const StepEntry& entry, const StepResult& result, bool clockSeed, std::uint64_t seed,
             StepView& view) {
    switch (result.end) {
        case StepResult::End::Completed: {
            std::string closing;
            for (const std::string& line : result.closingLog) closing += line + "\r\n";
            if (result.closingReplacesLog) {
                view.replaceLog(closing);
                // A seed from the clock stays in view, so that the run can be repeated.
                if (clockSeed) view.log("Random seed: " + std::to_string(seed));
            } else {
                for (const std::string& line : result.closingLog) view.log(line);
            }
            for (const Warning& w : result.warnings) view.log("Warning: " + w.text);
            view.status(entry.description->completedCaption);
            break;
        }
        case StepResult::End::Stopped:
            view.message(result.message, Icon::Critical);
            break;
        case StepResult::End::NeedsLargerMaxPlots:
            // The step's message, when it gives one, says where the plot was found.
            view.message(result.message.empty()
                             ? std::string(kMaxPlotsMessage)
                             : std::string(kMaxPlotsMessage) + "\n(" + result.message + ")",
                         Icon::Critical);
            break;
        case StepResult::End::Cancelled:
            break;
    }
}

}  // namespace

StepInputs stepInputs(const Session& session, ProductCodePolicy productCodes) {
    StepInputs in;
    in.dataDir = session.dataFilesDir();
    in.dataSetName = session.dataSetName;
    in.paths = session.inputs;
    in.params = session.params;
    in.threads = session.run.threads;
    in.productCodes = productCodes;
    return in;
}

StepResult runStep(const StepEntry& entry, StepInputs inputs,
                   std::optional<std::uint64_t> fixedSeed, StepView& view) {
    const StepDescription& step = *entry.description;
    view.status(step.runningCaption);
    if (step.startLog) view.replaceLog(*step.startLog);
    for (std::string_view line : step.startLines) view.log(line);
    // With expected shares steps 6 and 7 draw nothing: no seed is set, logged or recorded.
    const bool draws = step.drawsRandomNumbers && !expectedShares(inputs.params);
    if (draws) {
        if (fixedSeed) {
            inputs.seed = *fixedSeed;
        } else {
            inputs.seed = clockSeed();
            view.log("Random seed: " + std::to_string(inputs.seed));
        }
    }

    StepResult result;
    const std::optional<std::string> missing =
        entry.files ? files::missingInput(*entry.files, inputs) : std::nullopt;
    const std::filesystem::path runFile = files::path(inputs, files::DataSetFile::Run);
    RecordBefore before;
    files::ReadFingerprints reads;
    WarningCollector raised;
    // This run as far as it has come: the files of the declaration read so far, fingerprinted
    // as they were read, and the warnings raised so far.
    const auto thisRun = [&] {
        StepRun run;
        run.step = step.number;
        run.parameters = files::parameterTexts(inputs.params);
        if (draws) run.seed = inputs.seed;
        if (entry.files) {
            for (const auto& file : files::presentReads(*entry.files, inputs))
                run.read.push_back(reads.ofOrRead(file));
        }
        run.warnings = raised.collected();
        return run;
    };
    if (missing) {
        result = StepResult::stopped(*missing);
    } else {
        before = readRecord(runFile);
        inputs.history.earlierRuns = before.runs;
        std::erase_if(inputs.history.earlierRuns,
                      [&](const StepRun& r) { return r.step == step.number; });
        inputs.history.problem = before.problem;
        inputs.history.thisRunSoFar = thisRun;
        const ScopedReadWatch watch(reads);
        result = call(entry, inputs, view);
    }
    std::vector<Warning> warnings = raised.collected();
    warnings.insert(warnings.end(), result.warnings.begin(), result.warnings.end());
    if (draws) result.seed = inputs.seed;
    if (result.completed() && entry.files) {
        StepRun run = thisRun();
        run.warnings = warnings;
        if (std::optional<std::string> failed =
                record(runFile, before, std::move(run), result.outputs, reads, warnings))
            result = StepResult::stopped(*failed);
    }
    result.warnings = std::move(warnings);
    showEnd(entry, result, draws && !fixedSeed, inputs.seed, view);
    return result;
}

void StepSequence::finished(const StepResult& result) {
    const StepEntry* step = current();
    if (!step) return;
    if (result.seed) seeds_.emplace_back(step->number(), *result.seed);
    if (result.completed()) {
        ++at_;
    } else {
        allCompleted_ = false;
        at_ = steps_.size();
    }
}

StepResult runSequence(StepSequence& sequence, const std::function<StepInputs()>& inputs,
                       std::optional<std::uint64_t> fixedSeed, StepView& view,
                       const std::function<bool(const StepEntry&)>& before,
                       const std::function<void(const StepEntry&, const StepResult&)>& after) {
    StepResult result;
    while (const StepEntry* step = sequence.current()) {
        if (before && !before(*step)) {
            result = StepResult::cancelled();
            sequence.finished(result);
            break;
        }
        result = runStep(*step, inputs(), fixedSeed, view);
        sequence.finished(result);
        if (after) after(*step, result);
    }
    return result;
}

}  // namespace orr::workflow
