#include "tests/engine/distribution/DistributionData.h"

#include "engine/distribution/Distribution.h"

namespace orr::test {

std::vector<std::string> standardCoefficients() {
    return {
        // 1 DBH from height: b2 = 0 gives a DBH of b0 + b1 whatever the height.
        "4,6,0,0",  // species 1: DBH 10
        "1,5,0,0",  // species 2: DBH 6
        // 2 height from DBH (not used by this step)
        "1,1,1,0", "1,1,1,0",
        // 3 ground height from a DataSet 1 height: b0 + b1 * h^b2
        "2,1,1,0",  // species 1: H = h + 2
        "0,1,1,0",  // species 2: H = h
        // 4 ground height from a DataSet 2 height
        "0,2,1,0",   // species 1: H = 2h
        "-5,1,1,0",  // species 2: H = h - 5
        // 5 volume: b0 + b1 D + b2 H + b3 D^2 H
        "0,0,0.5,0",   // species 1: 0.5 H
        "1,0,0.25,0",  // species 2: 1 + 0.25 H
    };
}

DistributionData::DistributionData() {
    session.appDir = dir.path();
    std::filesystem::create_directories(session.dataFilesDir());
    session.DataSetName = "T";
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

    session.CoeffFileName = file("_COEFFIC.csv");
    session.DBHFileName = file("_DBH.csv");
    session.StrataFileName = file("_STRATA.csv");
    writeCoefficients(standardCoefficients());
    writeDataSetFile("_DBH.csv",
                     {R"(1,1,"5","12")", R"(1,2,"12","30")", R"(2,1,"4","8")", R"(2,2,"8","20")"});
    writeDataSetFile("_STRATA.csv", {"1,1,20,30"});
}

void DistributionData::writeDataSetFile(std::string_view suffix,
                                        const std::vector<std::string>& lines) {
    writeFile(file(suffix), crlf(lines));
}

void DistributionData::writeLidar(int pass, const std::vector<std::string>& lines) {
    const auto path = dir / (pass == 1 ? "high.csv" : "low.csv");
    writeFile(path, crlf(lines));
    (pass == 1 ? session.HighLidarFileName : session.LowLidarFileName) = path;
}

void DistributionData::writeCoefficients(const std::vector<std::string>& rows) {
    writeDataSetFile("_COEFFIC.csv", rows);
}

bool DistributionData::run() {
    return runDistribution(session, host);
}

}  // namespace orr::test
