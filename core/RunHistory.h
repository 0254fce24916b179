// What a step's run read and wrote, told apart from any other file by name, size and SHA-256, and
// what the runs before it left on record. The runner of a step fills this in; step 9's report for
// the browser shows it, so that a forester can tell which files an estimate came from.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/Warnings.h"

namespace orr {

struct FileFingerprint {
    std::string name;  // the file name without its directory
    std::uintmax_t size = 0;
    std::string sha256;  // 64 lower-case hexadecimal digits
    bool operator==(const FileFingerprint&) const = default;
};

// One step's run: its parameters, the seed of its random draws, the files it read and wrote and
// its warnings.
struct StepRun {
    int step = 0;
    // The parameters in force, by name, as text (LiHgtAdj and ModelSet as list positions).
    std::vector<std::pair<std::string, std::string>> parameters;
    std::optional<std::uint64_t> seed;  // steps 6 and 7
    std::vector<FileFingerprint> read;
    std::vector<FileFingerprint> wrote;
    std::vector<Warning> warnings;
};

// Handed to a step by its runner: the runs of the other steps as recorded before this run, and
// this run as far as it has come (its parameters, the files read so far and the warnings raised
// so far). A step run without a runner (in a test) finds nothing here.
struct RunHistory {
    std::vector<StepRun> earlierRuns;  // in step order, without this step
    std::string problem;               // why the record could not be read; empty when it was
    std::function<StepRun()> thisRunSoFar;
};

}  // namespace orr
