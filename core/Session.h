// The session: what every step shares. The data-set name, the six input paths and the nine user
// parameters; the application directory that holds PARAMETER.PRM and DATA FILES.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/Parameters.h"

namespace orr {

// How the random steps run: a fixed seed (command line, tests) or one from the clock, and the
// number of threads (0 = all cores).
struct RunOptions {
    std::optional<std::uint64_t> seed;
    unsigned threads = 0;
};

struct Session {
    std::filesystem::path appDir;  // holds PARAMETER.PRM and DATA FILES

    std::string DataSetName;
    std::filesystem::path CoeffFileName;
    std::filesystem::path StrataFileName;
    std::filesystem::path DBHFileName;
    std::filesystem::path TreeInputFileName;
    std::filesystem::path HighLidarFileName;
    std::filesystem::path LowLidarFileName;

    ParamRecord params;
    RunOptions run;

    // <application directory>/DATA FILES
    std::filesystem::path dataFilesDir() const { return appDir / "DATA FILES"; }
    // The data directory as the log shows it, ending in the separator.
    std::string dataFilesDirText() const;
    // DataFilesDir + DataSetName + suffix.
    std::filesystem::path dataSetFile(std::string_view suffix) const {
        return dataFilesDir() / (DataSetName + std::string(suffix));
    }
    // Empties the data-set name and the six paths (Reset); the parameters stay.
    void clearNames();
};

}  // namespace orr
