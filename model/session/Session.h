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

    std::string dataSetName;
    std::filesystem::path coefficientFile;
    std::filesystem::path strataFile;
    std::filesystem::path dbhFile;
    std::filesystem::path treeFile;
    std::filesystem::path lidarHighFile;
    std::filesystem::path lidarLowFile;
    std::filesystem::path areasFile;  // stratum areas in acres; optional, may be empty

    ParamRecord params;
    RunOptions run;

    // <application directory>/DATA FILES
    std::filesystem::path dataFilesDir() const { return appDir / "DATA FILES"; }
    // Empties the data-set name and the six paths (Reset); the parameters stay.
    void clearNames();
};

}  // namespace orr
