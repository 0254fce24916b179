#include "tests/engine/phase1/Phase1TestData.h"

#include <algorithm>

#include "engine/phase1/Phase1.h"

namespace orr::test {

void RecordingHost::appendLog(std::string_view line) {
    longestBeforeAppend = std::max(longestBeforeAppend, log.size());
    appended.emplace_back(line);
    FakeHost::appendLog(line);
}

void RecordingHost::setLog(std::string_view text) {
    if (text.empty()) ++clears;
    FakeHost::setLog(text);
}

Phase1Data::Phase1Data() {
    session.appDir = dir.path();
    std::filesystem::create_directories(session.dataFilesDir());
    session.DataSetName = "T";
    session.params = ParamRecord::defaults();
    session.params.PACF = 20;
    session.params.MaxSpec = 2;
    session.params.MaxProd = 1;
    session.params.MaxPlots = 100;
    session.params.LiHgtAdj = 0;
    session.params.ModelSet = 0;
    session.run.seed = 12345;
    session.CoeffFileName = session.dataSetFile("_COEFFIC.csv");
    session.StrataFileName = session.dataSetFile("_STRATA.csv");
    session.DBHFileName = session.dataSetFile("_DBH.csv");
    session.HighLidarFileName = high();
    session.LowLidarFileName = low();
}

void Phase1Data::writeCoefficients(const std::vector<std::string>& records) {
    writeFile(session.CoeffFileName, crlf(records));
}

void Phase1Data::writeStandardCoefficients() {
    writeCoefficients({
        "10,0,0,0", "5,0,0,0",  // DBH: 10 and 5 inches
        "0,0,0,0", "0,0,0,0",   // height from DBH (not used)
        "0,1,1,0", "0,1,1,0",   // DataSet 1 ground height H = h
        "0,1,1,0", "0,1,1,0",   // DataSet 2 ground height H = h
        "0,0,1,0", "0,0,2,0",   // volume H and 2H
    });
}

void Phase1Data::writeDbh(const std::string& text) {
    writeFile(session.DBHFileName, text);
}
void Phase1Data::writeStrata(const std::string& text) {
    writeFile(session.StrataFileName, text);
}
void Phase1Data::writeSpecies(const std::string& text) {
    writeFile(out("_PH2specDS1.csv"), text);
}
void Phase1Data::writeHigh(const std::string& text) {
    writeFile(high(), text);
}
void Phase1Data::writeLow(const std::string& text) {
    writeFile(low(), text);
}

void Phase1Data::writeStandardSetUp() {
    writeStandardCoefficients();
    writeDbh(crlf({"1,1,0,99", "2,1,0,99"}));
}

bool Phase1Data::run(RecordingHost& host) {
    return runPhase1(session, host);
}

std::vector<std::string> fileLines(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    const std::string text = readFile(file);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace orr::test
