// A small data set for step 6 in a temporary application directory, run through the real step
// runner, and a host that keeps every line the step logged.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "files/DataSetFiles.h"
#include "model/session/Session.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::test {

using files::DataSetFile;

struct LoggingHost : FakeHost {
    std::vector<std::string> logged;  // every line logged, also those a later replace removed
    void log(std::string_view line) override {
        logged.emplace_back(line);
        FakeHost::log(line);
    }
};

// Data set "T": PACF 10, MaxSpec 2, MaxProd 2, MaxItern 4, MaxPlots 20, LiHgtAdj 0, seed 7.
// Species 1 grows to DBH 10 (BA 0.5454), species 2 to DBH 6 (BA 0.196344). Ground height from a
// DataSet 1 height h: h + 2 (species 1), h (species 2); from a DataSet 2 height: 2h, h - 5.
// Volume 0.5 H (species 1), 1 + 0.25 H (species 2). DBH limits: species 1 product 1 5..12,
// product 2 12..30; species 2 product 1 4..8, product 2 8..20. One stratum.
// _PH2Plot.csv and the LiDAR files are left to the test.
struct DistributionData {
    TempDir dir;
    Session session;
    LoggingHost host;

    DistributionData();
    std::filesystem::path file(DataSetFile f) const {
        return files::path(session.dataFilesDir(), session.dataSetName, f);
    }
    void write(DataSetFile f, const std::vector<std::string>& lines) {
        writeFile(file(f), crlf(lines));
    }
    // Pass 1 writes high.csv, pass 2 low.csv, and chooses it.
    void writeLidar(int pass, const std::vector<std::string>& lines);
    StepResult run(ProductCodePolicy productCodes = ProductCodePolicy::Ask);
    std::string read(DataSetFile f) const { return readFile(file(f)); }
    bool exists(DataSetFile f) const { return std::filesystem::exists(file(f)); }

    // The outputs of an earlier run, which a run that does not complete leaves byte-identical,
    // with no temporary file beside them.
    void writeEarlierOutputs();
    void expectEarlierOutputs() const;
};

// The coefficient rows of DistributionData: 5 equations x 2 species, "b0,b1,b2,b3".
std::vector<std::string> standardCoefficients();

}  // namespace orr::test
