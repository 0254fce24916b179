// The runs of a data set's steps as _Run.csv keeps them: one step's run is its parameters, the
// seed of its random draws, the files it read and wrote (name, size, SHA-256) and its warnings.
// The runner of the steps (model/workflow/StepRunner.h) records each completed run; step 9's
// report for the browser shows them.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/RunHistory.h"
#include "core/Step.h"
#include "files/FileFingerprint.h"

namespace orr::files {

using orr::StepRun;

// The nine parameters, and LidarClasses=1 after them only when the LiDAR trees get their classes
// by expected shares, so that the record of a run with random draws stays as it was.
std::vector<std::pair<std::string, std::string>> parameterTexts(const ParamRecord& p);
// Every setting by name, as text, the same names in the same order whatever the values: the
// nine parameters, LidarClasses and the plan's costs and target error.
std::vector<std::pair<std::string, std::string>> settingTexts(const ParamRecord& p);
inline constexpr const char* kLidarClassesName = "LidarClasses";
// Whether a recorded run gave the LiDAR trees their classes by expected shares.
bool usedExpectedShares(const StepRun& run);

// The runs recorded in `runFile`, in step order; none when there is no file.
// Throws InputError for a record the format refuses.
std::vector<StepRun> readRuns(const std::filesystem::path& runFile);

// Writes `runs` (as readRuns gave them) to `runFile` with `run` in place of the run of the same
// step, keeping the runs in step order; all or nothing.
void recordRun(const std::filesystem::path& runFile, std::vector<StepRun> runs, const StepRun& run);

}  // namespace orr::files
