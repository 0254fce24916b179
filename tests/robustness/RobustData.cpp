#include "tests/robustness/RobustData.h"

#include <sstream>

#include "cli/CliCommand.h"
#include "core/OutputSet.h"
#include "model/session/Startup.h"
#include "tools/generator/Generator.h"

namespace orr::test {

namespace fs = std::filesystem;

Snapshot snapshot(const fs::path& dir) {
    Snapshot files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), dir).generic_string()] = readFile(entry.path());
        }
    }
    return files;
}

std::vector<std::string> temporaryFiles(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (isTemporaryOutputName(entry.path().filename().string()))
            names.push_back(entry.path().string());
    }
    return names;
}

RobustData::RobustData(int plots) {
    generator::DataSetShape shape = *generator::presetShape("sample");
    generator::resizeShape(shape, plots);
    generator::generateDataSet(shape, generator::kSampleSeed, dir / "in");
    params = shape.params;
    params.MaxItern = 3;
    fs::create_directories(dataDir());
    saveParameters(app(), params);
}

CliRun RobustData::run(const std::string& dataSet) const {
    std::vector<std::string> args = {"--dataset", dataSet, "--seed",         "1",
                                     "--threads", "2",     "--product-code", "drop"};
    const std::pair<const char*, const char*> files[] = {
        {"--coeff", "coefficients.csv"}, {"--strata", "strata.csv"}, {"--dbh", "dbh.csv"},
        {"--trees", "trees.csv"},        {"--ds1", "lidar-ds1.csv"}, {"--ds2", "lidar-ds2.csv"}};
    for (const auto& [flag, name] : files) {
        args.insert(args.end(), {flag, input(name).string()});
    }
    std::istringstream in;
    std::ostringstream out, err;
    CliContext ctx{app(), args, false, in, out, err};
    CliRun result;
    result.status = runCommand(ctx);
    result.out = out.str();
    result.err = err.str();
    return result;
}

Session RobustData::session() const {
    Session s;
    s.appDir = app();
    s.dataSetName = "ROB";
    s.coefficientFile = input("coefficients.csv");
    s.strataFile = input("strata.csv");
    s.dbhFile = input("dbh.csv");
    s.treeFile = input("trees.csv");
    s.lidarHighFile = input("lidar-ds1.csv");
    s.lidarLowFile = input("lidar-ds2.csv");
    s.params = params;
    s.run.seed = 1;
    s.run.threads = 2;
    return s;
}

}  // namespace orr::test
