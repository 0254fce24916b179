#include "model/workflow/StepRunner.h"

#include <exception>
#include <string>

#include "core/RandomStreams.h"

namespace orr::workflow {

StepInputs stepInputs(const Session& session, ProductCodePolicy productCodes) {
    StepInputs in;
    in.dataDir = session.dataFilesDir();
    in.dataSetName = session.dataSetName;
    in.paths.coefficients = session.coefficientFile;
    in.paths.strata = session.strataFile;
    in.paths.dbh = session.dbhFile;
    in.paths.trees = session.treeFile;
    in.paths.lidarHigh = session.lidarHighFile;
    in.paths.lidarLow = session.lidarLowFile;
    in.paths.areas = session.areasFile;
    in.params = session.params;
    in.threads = session.run.threads;
    in.productCodes = productCodes;
    return in;
}

StepResult runStep(const StepDescription& entry, StepFunction run, StepInputs inputs,
                   std::optional<std::uint64_t> fixedSeed, StepView& view) {
    view.status(entry.runningCaption);
    if (entry.startLog) view.replaceLog(*entry.startLog);
    for (std::string_view line : entry.startLines) view.log(line);
    // With expected shares steps 6 and 7 draw nothing: no seed is set or logged.
    const bool draws = entry.drawsRandomNumbers && !expectedShares(inputs.params);
    if (draws) {
        if (fixedSeed) {
            inputs.seed = *fixedSeed;
        } else {
            inputs.seed = clockSeed();
            view.log("Random seed: " + std::to_string(inputs.seed));
        }
    }

    StepResult result;
    WarningCollector collector;
    try {
        result = run(inputs, view);
    } catch (const StepCancelled&) {
        result = StepResult::cancelled();
    } catch (const std::exception& e) {
        result = StepResult::stopped(e.what());
    }
    std::vector<Warning> raised = collector.take();
    result.warnings.insert(result.warnings.begin(), raised.begin(), raised.end());
    if (draws) result.seed = inputs.seed;

    switch (result.end) {
        case StepResult::End::Completed: {
            std::string closing;
            for (const std::string& line : result.closingLog) closing += line + "\r\n";
            if (result.closingReplacesLog) {
                view.replaceLog(closing);
                // A seed from the clock stays in view, so that the run can be repeated.
                if (draws && !fixedSeed) view.log("Random seed: " + std::to_string(inputs.seed));
            } else {
                for (const std::string& line : result.closingLog) view.log(line);
            }
            for (const Warning& w : result.warnings) view.log("Warning: " + w.text);
            view.status(entry.completedCaption);
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
    return result;
}

}  // namespace orr::workflow
