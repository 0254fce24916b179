// A small data set for step 6 in a temporary application directory, run through the real step
// runner.
#pragma once

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "engine/distribution/DistributionStep.h"
#include "files/CoefficientFile.h"
#include "files/DataSetFiles.h"
#include "model/session/Session.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::test {

using files::DataSetFile;

// The coefficient rows of DistributionData: 5 equations x 2 species, "b0,b1,b2,b3".
inline const std::vector<std::string> kCoefficients = {
    "4,6,0,0",   "1,5,0,0",      // DBH from height: b0 + b1 (b2 = 0)
    "1,1,1,0",   "1,1,1,0",      // height from DBH (not used by this step)
    "2,1,1,0",   "0,1,1,0",      // ground height from DataSet 1: b0 + b1 h^b2
    "0,2,1,0",   "-5,1,1,0",     // ground height from DataSet 2
    "0,0,0.5,0", "1,0,0.25,0"};  // volume: b0 + b1 D + b2 H + b3 D^2 H

// A coefficient table of two species for tests that give step 6's plots directly: species 1
// grows a DBH of 4 ln H, species 2 a DBH of 6; with LiHgtAdj "No" the ground height H is the
// LiDAR height. Volume 0.5 H (species 1), 1 + 0.25 H (species 2).
inline CoefficientTable twoSpeciesCoefficients() {
    // [equation - 1][species - 1] = b0..b3.
    const double rows[5][2][4] = {{{0, 4, 1, 0}, {1, 5, 0, 0}},
                                  {{1, 1, 1, 0}, {1, 1, 1, 0}},
                                  {{2, 1, 1, 0}, {0, 1, 1, 0}},
                                  {{0, 2, 1, 0}, {-5, 1, 1, 0}},
                                  {{0, 0, 0.5, 0}, {1, 0, 0.25, 0}}};
    CoefficientTable coeff = CoefficientTable::empty(2);
    for (int e = 1; e <= 5; ++e)
        for (int s = 1; s <= 2; ++s)
            for (int b = 0; b < 4; ++b) coeff.at(e, s)[b] = rows[e - 1][s - 1][b];
    return coeff;
}

// Data set "T": PACF 10, MaxSpec 2, MaxProd 2, MaxItern 4, MaxPlots 20, LiHgtAdj 0, seed 7.
// Species 1 grows to DBH 10 (BA 0.5454), species 2 to DBH 6 (BA 0.196344). Ground height from a
// DataSet 1 height h: h + 2 (species 1), h (species 2); from a DataSet 2 height: 2h, h - 5.
// Volume 0.5 H (species 1), 1 + 0.25 H (species 2). DBH limits: species 1 product 1 5..12,
// product 2 12..30; species 2 product 1 4..8, product 2 8..20. One stratum.
// _PH2Plot.csv and the LiDAR files are left to the test.
struct DistributionData {
    TempDir dir;
    Session session;
    FakeHost host;

    DistributionData() {
        session.appDir = dir.path();
        std::filesystem::create_directories(session.dataFilesDir());
        session.dataSetName = "T";
        session.params = ParamRecord::defaults();
        auto& p = session.params;
        std::tie(p.PACF, p.MaxSpec, p.MaxProd, p.MaxItern, p.LiHgtAdj, p.ModelSet) =
            std::tuple(10, 2, 2, 4, 0, 0);
        p.MaxPlots = 20;
        session.run.seed = 7;
        session.run.threads = 1;
        session.inputs.coefficients = file(DataSetFile::Coefficients);
        session.inputs.dbh = file(DataSetFile::Dbh);
        session.inputs.strata = file(DataSetFile::Strata);
        write(DataSetFile::Coefficients, kCoefficients);
        write(DataSetFile::Dbh,
              {R"(1,1,"5","12")", R"(1,2,"12","30")", R"(2,1,"4","8")", R"(2,2,"8","20")"});
        write(DataSetFile::Strata, {"1,1,20,30"});
    }
    std::filesystem::path file(DataSetFile f) const {
        return files::path(session.dataFilesDir(), session.dataSetName, f);
    }
    void write(DataSetFile f, const std::vector<std::string>& lines) {
        writeFile(file(f), crlf(lines));
    }
    // Pass 1 writes high.csv, pass 2 low.csv, and chooses it.
    void writeLidar(int pass, const std::vector<std::string>& lines) {
        const auto path = dir / (pass == 1 ? "high.csv" : "low.csv");
        writeFile(path, crlf(lines));
        (pass == 1 ? session.inputs.lidarHigh : session.inputs.lidarLow) = path;
    }
    StepResult run(ProductCodePolicy productCodes = ProductCodePolicy::Ask) {
        return runStep(6, &distributeLidarTrees, session, host, productCodes);
    }
    std::string read(DataSetFile f) const { return readFile(file(f)); }
    bool exists(DataSetFile f) const { return std::filesystem::exists(file(f)); }
};

}  // namespace orr::test
