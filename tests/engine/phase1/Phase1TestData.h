// A small data set for step 7, written file by file in a temporary application directory.
//
// Two species, one product, PACF 20. The coefficients make the trees easy to follow by hand: the
// ground height is the LiDAR height (equations 3 and 4 are H = 0 + 1 * h^1), species 1 has a DBH
// of 10 inches (BA 0.5454) and species 2 of 5 inches (BA 0.13635), and the volume is H for
// species 1 and 2H for species 2.
#pragma once

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "engine/phase1/Phase1Step.h"
#include "files/DataSetFiles.h"
#include "model/session/Session.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::test {

using files::DataSetFile;

// A host that also keeps every line the step logs (its closing log replaces the whole log).
struct RecordingHost : FakeHost {
    std::vector<std::string> logged;
    void log(std::string_view line) override {
        logged.emplace_back(line);
        FakeHost::log(line);
    }
};

inline const std::vector<std::string> kStandardCoefficients = {
    "10,0,0,0", "5,0,0,0",  // DBH: 10 and 5 inches
    "0,0,0,0",  "0,0,0,0",  // height from DBH (not used)
    "0,1,1,0",  "0,1,1,0",  // DataSet 1 ground height H = h
    "0,1,1,0",  "0,1,1,0",  // DataSet 2 ground height H = h
    "0,0,1,0",  "0,0,2,0",  // volume H and 2H
};

class Phase1Data {
  public:
    Phase1Data() {
        session.appDir = dir.path();
        std::filesystem::create_directories(session.dataFilesDir());
        session.dataSetName = "T";
        session.params = ParamRecord::defaults();
        auto& p = session.params;
        std::tie(p.PACF, p.MaxSpec, p.MaxProd, p.MaxPlots, p.LiHgtAdj, p.ModelSet) =
            std::tuple(20, 2, 1, 100, 0, 0);
        session.run.seed = 12345;
        session.inputs.coefficients = file(DataSetFile::Coefficients);
        session.inputs.strata = file(DataSetFile::Strata);
        session.inputs.dbh = file(DataSetFile::Dbh);
        session.inputs.lidarHigh = dir / "high.csv";
        session.inputs.lidarLow = dir / "low.csv";
        writeCoefficients(kStandardCoefficients);
        writeFile(session.inputs.dbh, crlf({"1,1,0,99", "2,1,0,99"}));
    }

    TempDir dir;
    Session session;
    RecordingHost host;

    std::filesystem::path file(DataSetFile f) const {
        return files::path(session.dataFilesDir(), session.dataSetName, f);
    }
    std::string output(int pass) const { return readFile(file(files::phase1(pass))); }
    // The name the closing log lists for the pass's file.
    std::string listed(int pass) const {
        return files::fileName(session.dataSetName, files::phase1(pass));
    }
    bool exists(int pass) const { return std::filesystem::exists(file(files::phase1(pass))); }

    void writeCoefficients(const std::vector<std::string>& records) {
        writeFile(session.inputs.coefficients, crlf(records));
    }
    void writeStrata(const std::string& text) { writeFile(session.inputs.strata, text); }
    void writeSpecies(const std::string& text) {
        writeFile(file(DataSetFile::SpeciesCountsDS1), text);
    }
    void writeHigh(const std::string& text) { writeFile(session.inputs.lidarHigh, text); }
    void writeLow(const std::string& text) { writeFile(session.inputs.lidarLow, text); }
    bool run(RecordingHost& on) { return runStep(7, &computePhase1, session, on).completed(); }
    bool run() { return run(host); }
};

}  // namespace orr::test
