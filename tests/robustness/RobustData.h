// A small valid data set made by the generator in a temporary folder, run through orravant-cli
// in-process, and snapshots of the data directory to compare runs with (a temporary file left
// behind shows in them too).
#pragma once

#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "model/session/Startup.h"
#include "tests/cli/CliSupport.h"
#include "tools/generator/Generator.h"

namespace orr::test {

// Every regular file under a folder (relative name -> bytes).
using Snapshot = std::map<std::string, std::string>;
inline Snapshot snapshot(const std::filesystem::path& dir) {
    Snapshot files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        if (entry.is_regular_file())
            files[relative(entry.path(), dir).generic_string()] = readFile(entry.path());
    return files;
}

// The files without the time of the run that wrote them: the report names the minute of its run,
// and the run record the report's size and SHA-256. Two runs of the same files then compare equal
// whether or not a minute began between them.
inline Snapshot withoutRunTime(Snapshot files) {
    static const std::regex runTime(R"(<dd class="run-time">[^<]*</dd>)");
    static const std::regex report(R"re((_Report\.html",)"[0-9]+","[0-9a-f]{64}")re");
    for (auto& [name, bytes] : files) {
        if (name.ends_with("_Report.html"))
            bytes = std::regex_replace(bytes, runTime, R"(<dd class="run-time">RUN TIME</dd>)");
        else if (name.ends_with("_Run.csv"))
            bytes = std::regex_replace(bytes, report, R"($1"SIZE","SHA-256")");
    }
    return files;
}

class RobustData {
  public:
    // `plots` Phase 1 plots (a tenth of them in Phase 2), MaxItern 3, PARAMETER.PRM written.
    explicit RobustData(int plots = 30) {
        generator::DataSetShape shape = *generator::presetShape("sample");
        generator::resizeShape(shape, plots);
        generator::generateDataSet(shape, generator::kSampleSeed, dir / "in");
        params = shape.params;
        params.MaxItern = 3;
        std::filesystem::create_directories(dataDir());
        saveParameters(app(), params);
    }

    std::filesystem::path app() const { return dir / "app"; }
    std::filesystem::path dataDir() const { return app() / "DATA FILES"; }
    std::filesystem::path input(const std::string& name) const { return dir / "in" / name; }

    // orravant-cli --app-dir APP run on every step with the data set's files, seed 1, 2 threads,
    // under the data-set name ROB or `dataSet`.
    Outcome run(const std::string& dataSet = "ROB") const {
        std::vector<std::string> args = {"run",       "--dataset", dataSet,          "--seed", "1",
                                         "--threads", "2",         "--product-code", "drop"};
        for (const auto& [flag, name] : kFiles)
            args.insert(args.end(), {flag, input(name).string()});
        return cliIn(app(), args);
    }

    // The files of a run on the good data set, every step completed.
    Snapshot goodRun() const {
        const Outcome good = run();
        EXPECT_EQ(0, good.status) << good.err;
        Snapshot files = snapshot(dataDir());
        EXPECT_GE(files.size(), 13u);
        return files;
    }

    // The session the command line would make, for calling a step directly.
    Session session() const {
        Session s;
        s.appDir = app();
        s.dataSetName = "ROB";
        s.inputs.coefficients = input("coefficients.csv");
        s.inputs.strata = input("strata.csv");
        s.inputs.dbh = input("dbh.csv");
        s.inputs.trees = input("trees.csv");
        s.inputs.lidarHigh = input("lidar-ds1.csv");
        s.inputs.lidarLow = input("lidar-ds2.csv");
        s.params = params;
        s.run.seed = 1;
        s.run.threads = 2;
        return s;
    }

    TempDir dir;
    ParamRecord params;

  private:
    static constexpr std::pair<const char*, const char*> kFiles[] = {
        {"--coeff", "coefficients.csv"}, {"--strata", "strata.csv"}, {"--dbh", "dbh.csv"},
        {"--trees", "trees.csv"},        {"--ds1", "lidar-ds1.csv"}, {"--ds2", "lidar-ds2.csv"}};
};

}  // namespace orr::test
