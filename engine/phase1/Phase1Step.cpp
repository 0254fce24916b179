// The step handler: LiDAR file check, status texts, coefficient file, SUM1PHAS, and the list of
// files written.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "core/RandomStreams.h"
#include "core/StagedOutputs.h"
#include "engine/phase1/Phase1.h"
#include "engine/phase1/Sum1Phas.h"
#include "files/InputFiles.h"

namespace orr {

namespace {

constexpr const char* kOutputSuffixes[2] = {"_Phase1DS1.csv", "_Phase1DS2.csv"};

// The run seed: the session's, or one from the clock, written to the log so that the run can be
// repeated.
std::uint64_t runSeed(const Session& session, StepHost& host) {
    if (session.run.seed) return *session.run.seed;
    const std::uint64_t seed = clockSeed();
    host.appendLog("Random seed: " + std::to_string(seed));
    return seed;
}

// The file name after the path's last separator; the whole text when it has none.
std::string bareName(const std::filesystem::path& path) {
    const std::string text = path.string();
    const std::size_t cut = text.find_last_of("\\/");
    return cut == std::string::npos ? text : text.substr(cut + 1);
}

}  // namespace

std::string phase1LidarCaption(const Session& session, int pass) {
    const bool high = pass == 1;
    return std::string(high ? "DataSet 1   Infile= " : "DataSet 2   Infile= ") +
           bareName(high ? session.HighLidarFileName : session.LowLidarFileName) +
           "   Outfile= " + session.DataSetName + kOutputSuffixes[high ? 0 : 1];
}

bool runPhase1(Session& session, StepHost& host) {
    if (session.HighLidarFileName.empty()) {
        host.pickLidarFiles(session);
        if (session.HighLidarFileName.empty()) return false;
    }
    host.setStatus("Status : Computing Phase 1..");
    host.setLog(" ");
    host.appendLog("Phase 1 computation of LiDAR heights started....");
    const std::uint64_t seed = runSeed(session, host);

    try {
        const CoefficientTable coeff =
            readCoefficientFile(session.CoeffFileName, session.params.MaxSpec);
        StagedOutputs outputs;
        phase1::SUM1PHAS(session, coeff, seed, outputs, host);
        outputs.commit();
    } catch (const std::runtime_error& stop) {
        // A file it cannot use, an empty DBH file or a missing coefficient: nothing was written.
        host.message(stop.what(), Icon::Critical);
        return false;
    }

    host.setLog("Phase 1 computation of LiDAR heights completed!!\r\n");
    host.appendLog("The following file(s) were created in the directory - " +
                   session.dataFilesDirText());
    for (const char* suffix : {kOutputSuffixes[1], kOutputSuffixes[0]}) {
        if (fileLength(session.dataSetFile(suffix)) > 0) {
            host.appendLog(session.DataSetName + suffix);
        }
    }
    host.setStatus("Status : Phase 1 computation completed!!");
    return true;
}

}  // namespace orr
