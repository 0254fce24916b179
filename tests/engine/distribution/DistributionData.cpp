#include "tests/engine/distribution/DistributionData.h"

#include <gtest/gtest.h>

#include "core/OutputSet.h"
#include "engine/distribution/DistributionStep.h"

namespace orr::test {

namespace {
constexpr DataSetFile kEarlier[] = {DataSetFile::LidarPlotsDS1, DataSetFile::SpeciesCountsDS1,
                                    DataSetFile::LidarPlotsDS2};
}

std::vector<std::string> standardCoefficients() {
    return {"4,6,0,0",   "1,5,0,0",      // DBH from height: b0 + b1 (b2 = 0)
            "1,1,1,0",   "1,1,1,0",      // height from DBH (not used by this step)
            "2,1,1,0",   "0,1,1,0",      // ground height from DataSet 1: b0 + b1 h^b2
            "0,2,1,0",   "-5,1,1,0",     // ground height from DataSet 2
            "0,0,0.5,0", "1,0,0.25,0"};  // volume: b0 + b1 D + b2 H + b3 D^2 H
}

DistributionData::DistributionData() {
    session.appDir = dir.path();
    std::filesystem::create_directories(session.dataFilesDir());
    session.dataSetName = "T";
    session.params = ParamRecord::defaults();
    session.params.PACF = 10;
    session.params.MaxSpec = 2;
    session.params.MaxProd = 2;
    session.params.MaxItern = 4;
    session.params.MaxPlots = 20;
    session.params.LiHgtAdj = 0;
    session.params.ModelSet = 0;
    session.run.seed = 7;
    session.run.threads = 1;
    session.coefficientFile = file(DataSetFile::Coefficients);
    session.dbhFile = file(DataSetFile::Dbh);
    session.strataFile = file(DataSetFile::Strata);
    write(DataSetFile::Coefficients, standardCoefficients());
    write(DataSetFile::Dbh,
          {R"(1,1,"5","12")", R"(1,2,"12","30")", R"(2,1,"4","8")", R"(2,2,"8","20")"});
    write(DataSetFile::Strata, {"1,1,20,30"});
}

void DistributionData::writeLidar(int pass, const std::vector<std::string>& lines) {
    const auto path = dir / (pass == 1 ? "high.csv" : "low.csv");
    writeFile(path, crlf(lines));
    (pass == 1 ? session.lidarHighFile : session.lidarLowFile) = path;
}

StepResult DistributionData::run(ProductCodePolicy productCodes) {
    return runStep(6, &distributeLidarTrees, session, host, productCodes);
}

void DistributionData::writeEarlierOutputs() {
    for (DataSetFile f : kEarlier) writeFile(file(f), "earlier" + file(f).filename().string());
}

void DistributionData::expectEarlierOutputs() const {
    for (DataSetFile f : kEarlier) EXPECT_EQ(read(f), "earlier" + file(f).filename().string());
    for (const auto& entry : std::filesystem::directory_iterator(session.dataFilesDir()))
        EXPECT_FALSE(isTemporaryOutputName(entry.path().filename().string())) << entry.path();
}

}  // namespace orr::test
