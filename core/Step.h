// What every computation step shares: its inputs, the narrow host it reports to while it runs,
// and the result it returns. A step is a plain function
//     StepResult step(const StepInputs&, StepHost&);
// it never opens a window; choosing files and editing parameters happen before it starts.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/Parameters.h"
#include "core/RunHistory.h"
#include "core/Warnings.h"

namespace orr {

// The product-code question of step 6 in full: a tree whose DBH fits no product class of its
// species, and the gap of the DBH file its DBH falls in.
struct ProductCodeQuestion {
    int species = 0;
    double dbh = 0;        // the tree's DBH in inches, as computed
    double dbh1 = 0;       // the DBH rounded to 0.1 inch, as the product search uses it
    int startProduct = 0;  // the product class the tree was drawn into
    int maxProduct = 0;    // product codes run from 1 to this (MaxProd)
    // The gap: the nearest DBH limits of the species' products at or below the DBH and above it
    // (nullopt where there is none). Trees of the species whose DBH lies in the same gap can
    // share one answer.
    std::optional<double> gapFrom;
    std::optional<double> gapTo;
    long long plot = 0;  // the Phase 2 plot whose tree asks first (0: not known)
};
struct ProductCodeAnswer {
    std::optional<int> code;  // nullopt: the tree is dropped
    bool wholeGap = false;    // the answer holds for every tree of the species in the same gap
};

// What a running step may use. The desktop program calls the step on a worker thread, so every
// call may come from a thread other than the window's.
struct StepHost {
    // One line of the status log (the host adds the line end).
    virtual void log(std::string_view line) = 0;
    // Lines of the status log at once, each ended by "\r\n": the same as log() for each of them
    // in turn. A host that takes many lines faster in one go overrides it.
    virtual void logLines(std::string_view lines) {
        for (std::size_t at = 0; at < lines.size();) {
            const std::size_t end = std::min(lines.find("\r\n", at), lines.size());
            log(lines.substr(at, end - at));
            at = end + 2;
        }
    }
    virtual void progress(std::size_t done, std::size_t total) = 0;
    // True once the user asked to stop; the step then stops at its next check and writes nothing.
    virtual bool cancelled() const = 0;
    // The product-code question for a tree whose DBH fits no product of its species: the code the
    // user gave, or nullopt to drop the tree.
    virtual std::optional<int> askProductCode(int species, double dbh) = 0;
    // The same question with the gap its DBH falls in. A host that can offer one answer for the
    // whole gap overrides this; by default the question is asked as above, for this DBH only.
    virtual ProductCodeAnswer answerProductQuestion(const ProductCodeQuestion& question) {
        return {askProductCode(question.species, question.dbh), false};
    }
    virtual ~StepHost() = default;
};

// A tree whose DBH fits no product of its species: ask the host, or drop it without asking.
enum class ProductCodePolicy { Ask, Drop };

// The files a user chooses for a data set; every other file is named from the data set.
struct InputPaths {
    std::filesystem::path coefficients;
    std::filesystem::path strata;
    std::filesystem::path dbh;
    std::filesystem::path trees;      // Phase 2 ground trees
    std::filesystem::path lidarHigh;  // Phase 1 LiDAR heights, DataSet 1
    std::filesystem::path lidarLow;   // Phase 1 LiDAR heights, DataSet 2; empty when not chosen
    std::filesystem::path areas;      // stratum areas in acres (step 9); empty when not chosen
};

// The seven chosen files by what they are, for the steps' declarations of what they read.
enum class ChosenInput { Coefficients, Strata, Dbh, Trees, LidarDS1, LidarDS2, Areas };
inline constexpr ChosenInput kChosenInputs[] = {
    ChosenInput::Coefficients, ChosenInput::Strata,   ChosenInput::Dbh,   ChosenInput::Trees,
    ChosenInput::LidarDS1,     ChosenInput::LidarDS2, ChosenInput::Areas,
};
inline std::filesystem::path& chosenPath(InputPaths& paths, ChosenInput input) {
    switch (input) {
        case ChosenInput::Coefficients:
            return paths.coefficients;
        case ChosenInput::Strata:
            return paths.strata;
        case ChosenInput::Dbh:
            return paths.dbh;
        case ChosenInput::Trees:
            return paths.trees;
        case ChosenInput::LidarDS1:
            return paths.lidarHigh;
        case ChosenInput::LidarDS2:
            return paths.lidarLow;
        case ChosenInput::Areas:
            break;
    }
    return paths.areas;
}
inline const std::filesystem::path& chosenPath(const InputPaths& paths, ChosenInput input) {
    return chosenPath(const_cast<InputPaths&>(paths), input);
}

struct StepInputs {
    std::filesystem::path dataDir;  // the data directory, DATA FILES
    std::string dataSetName;
    InputPaths paths;
    ParamRecord params;
    std::uint64_t seed = 0;  // the run seed of the random draws (steps 6 and 7)
    unsigned threads = 0;    // 0: every core
    ProductCodePolicy productCodes = ProductCodePolicy::Ask;
    // Set by the step's runner: what the earlier runs recorded and this run so far.
    RunHistory history;
};

// What a step produced beyond its files, for a window to show without working it out again
// (step 9: its inputs and estimates).
struct StepDetails {
    virtual ~StepDetails() = default;
};

struct StepResult {
    enum class End {
        Completed,            // every output is in place
        Stopped,              // `message` says why; no file changed
        NeedsLargerMaxPlots,  // a plot number above MaxPlots: `plot`; no file changed
        Cancelled,            // the user stopped it; no file changed
    };
    End end = End::Completed;
    std::string message;  // Stopped: the whole message for the user
    long long plot = 0;   // NeedsLargerMaxPlots: the first plot number found above MaxPlots
    // Completed: the files written, in the order the step lists them.
    std::vector<std::filesystem::path> outputs;
    // Completed: the log the step leaves behind; it replaces the whole log when
    // `closingReplacesLog`, otherwise it is added to it.
    std::vector<std::string> closingLog;
    bool closingReplacesLog = false;
    // Completed: what the forester should know about the run (the runner adds those raised
    // through warn() while the step ran, and logs them after the closing log).
    std::vector<Warning> warnings;
    // Steps 6 and 7: the seed their draws came from (set by the runner).
    std::optional<std::uint64_t> seed;
    // Completed: what the step produced beyond its files, when it hands anything over.
    std::shared_ptr<const StepDetails> details;

    bool completed() const { return end == End::Completed; }
    static StepResult stopped(std::string message) {
        StepResult r;
        r.end = End::Stopped;
        r.message = std::move(message);
        return r;
    }
    static StepResult needsLargerMaxPlots(long long plot) {
        StepResult r;
        r.end = End::NeedsLargerMaxPlots;
        r.plot = plot;
        return r;
    }
    static StepResult cancelled() {
        StepResult r;
        r.end = End::Cancelled;
        return r;
    }
};

// Thrown inside a step when the host reports a cancel; the step's outer function turns it into
// StepResult::cancelled(). Nothing is committed.
class StepCancelled : public std::exception {
  public:
    const char* what() const noexcept override { return "the step was cancelled"; }
};

// Throws StepCancelled when the host reports a cancel.
inline void stopIfCancelled(const StepHost& host) {
    if (host.cancelled()) throw StepCancelled();
}

}  // namespace orr
