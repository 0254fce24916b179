// A small valid data set made by the generator in a temporary folder, run through orravant-cli
// in-process, and snapshots of the data directory to compare runs with.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "model/session/Session.h"
#include "tests/support/TestFiles.h"

namespace orr::test {

struct CliRun {
    int status = 0;
    std::string out;
    std::string err;
};

// Every regular file under a folder (relative name -> bytes).
using Snapshot = std::map<std::string, std::string>;
Snapshot snapshot(const std::filesystem::path& dir);
// Names of the temporary output files under `dir`.
std::vector<std::string> temporaryFiles(const std::filesystem::path& dir);

class RobustData {
  public:
    // `plots` Phase 1 plots (a tenth of them in Phase 2), MaxItern 3, PARAMETER.PRM written.
    explicit RobustData(int plots = 30);

    TempDir dir;
    std::filesystem::path app() const { return dir / "app"; }
    std::filesystem::path dataDir() const { return app() / "DATA FILES"; }
    std::filesystem::path input(const std::string& name) const { return dir / "in" / name; }

    // orravant-cli --app-dir APP run on every step with the data set's files, seed 1, 2 threads,
    // under the data-set name ROB or `dataSet`.
    CliRun run(const std::string& dataSet = "ROB") const;
    // The session the command line would make, for calling a step directly.
    Session session() const;

    ParamRecord params;
};

}  // namespace orr::test
