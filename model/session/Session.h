// The session: what every step shares. The data-set name, the six input paths (held once, as the
// steps take them) and the nine user parameters; the application directory that holds
// PARAMETER.PRM and DATA FILES.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/Parameters.h"
#include "core/Step.h"

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
    InputPaths inputs;

    ParamRecord params;
    RunOptions run;

    // <application directory>/DATA FILES
    std::filesystem::path dataFilesDir() const { return appDir / "DATA FILES"; }
    // Empties the data-set name and the input paths (Reset); the parameters stay.
    void clearNames();
};

}  // namespace orr
