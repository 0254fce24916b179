// _Run.csv: what the outputs of a data set came from. Each of steps 5 to 9, when it completes,
// replaces its own entries with those of the run just made, so the file holds the latest run of
// every step, in step order: the parameters in force, the seed of the random draws (steps 6 and
// 7), every file the step read and every file it wrote with name, size and SHA-256, and the
// warnings it raised. Step 9's report for the browser shows them and checks each data-set file a
// step read against what the step that writes it recorded. Comma style without a header; a text
// field keeps every character, with
// '%', '"', CR and LF written as %25, %22, %0D and %0A. A name or a text value that a spreadsheet
// would take for a formula (one that starts with =, +, -, @ or a tab) is written after an
// apostrophe, and so is one that starts with an apostrophe; reading takes it off again.
#pragma once

#include <string>
#include <string_view>

#include "core/OutputSet.h"
#include "files/RecordFile.h"

namespace orr::files {

namespace run {
inline constexpr std::string_view kParameter = "parameter";  // name: the parameter; value: it
inline constexpr std::string_view kSeed = "seed";            // value: the seed, in decimal
inline constexpr std::string_view kRead = "read";        // name: the file; value: its size; sha256
inline constexpr std::string_view kWrote = "wrote";      // the same for a file the step wrote
inline constexpr std::string_view kWarning = "warning";  // name: its kind; value: its text
}  // namespace run

struct RunEntry {
    int step = 0;        // 5..9
    std::string entry;   // one of the kinds above
    std::string name;    // empty for the seed
    std::string value;   // as text: a seed needs all 64 bits
    std::string sha256;  // files only
    bool operator==(const RunEntry&) const = default;
};

struct RunFile {
    using Record = RunEntry;
    static constexpr int kFields = 5;
    static void parse(const CommaReader& in, const Limits& limits, Record& r);
    static void write(OutputFile& out, const Record& r);
};

}  // namespace orr::files
