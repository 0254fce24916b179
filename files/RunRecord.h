// The runs of a data set's steps as _Run.csv keeps them: one step's run is its parameters, the
// seed of its random draws, the files it read and wrote (name, size, SHA-256) and its warnings.
// Every step 5 to 9 of the step table runs through runRecorded(), which records the run once
// the step has completed; step 9's report for the browser reads them back.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/Step.h"
#include "files/FileFingerprint.h"

namespace orr::files {

struct StepRun {
    int step = 0;
    // The nine parameters in force, by name, as text (LiHgtAdj and ModelSet as list positions).
    std::vector<std::pair<std::string, std::string>> parameters;
    std::optional<std::uint64_t> seed;  // steps 6 and 7
    std::vector<FileFingerprint> read;
    std::vector<FileFingerprint> wrote;
    std::vector<Warning> warnings;
};

// The files step `step` reads, in the order it reads them: the chosen input files and the files
// of the data set that earlier steps wrote. An optional file (DataSet 2) is left out when it is
// not chosen or not there.
std::vector<std::filesystem::path> filesReadBy(int step, const StepInputs& in);

// The nine parameters, and LidarClasses=1 after them only when the LiDAR trees get their classes
// by expected shares, so that the record of a run with random draws stays as it was.
std::vector<std::pair<std::string, std::string>> parameterTexts(const ParamRecord& p);
inline constexpr const char* kLidarClassesName = "LidarClasses";
// Whether a recorded run gave the LiDAR trees their classes by expected shares.
bool usedExpectedShares(const StepRun& run);

// The run of step `step` on `in` that wrote `written`, with the files it read fingerprinted now.
// Throws std::runtime_error naming a file that cannot be read.
StepRun describeRun(int step, const StepInputs& in, std::optional<std::uint64_t> seed,
                    const std::vector<std::filesystem::path>& written,
                    std::vector<Warning> warnings);

// The runs recorded in `runFile`, in step order; none when there is no file.
// Throws InputError for a record the format refuses.
std::vector<StepRun> readRuns(const std::filesystem::path& runFile);

// Replaces the run of the same step in `runFile` by `run`, keeping the runs in step order; all
// or nothing.
// A run file that cannot be read is started anew, with a warning.
void recordRun(const std::filesystem::path& runFile, const StepRun& run);

// Runs `step` and, when it completed, records its run in the data set's _Run.csv. A failure to
// record stops the run (the step's files are in place by then): the result is Stopped with a
// message naming _Run.csv and the reason, and _Run.csv is removed when it can be, so that no
// report takes the step's earlier run for the one that made its files. The warnings the step
// raised are passed on to the caller's collector as they were.
StepResult runRecorded(int step, bool drawsRandomNumbers,
                       StepResult (*run)(const StepInputs&, StepHost&), const StepInputs& in,
                       StepHost& host);

}  // namespace orr::files
