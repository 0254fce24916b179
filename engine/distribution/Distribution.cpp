#include "engine/distribution/Distribution.h"

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

#include "core/InputError.h"
#include "core/NumberText.h"
#include "core/RandomStreams.h"
#include "core/StagedOutputs.h"
#include "engine/distribution/DrawStream.h"
#include "engine/distribution/LidarVolume.h"
#include "files/InputFiles.h"

namespace orr {

namespace {

using distribution::LidarVolResult;
using End = LidarVolResult::End;

// Lists the step's files that exist and are not empty; an empty one is removed.
void listOutputs(const Session& session, StepHost& host) {
    host.setLog("Iteration Done!!\r\n");
    host.appendLog("The following files were created in directory - " + session.dataFilesDirText());
    for (const char* suffix :
         {"_PH2plotDS1.csv", "_PH2specDS1.csv", "_PH2plotDS2.csv", "_PH2specDS2.csv"}) {
        const auto path = session.dataSetFile(suffix);
        if (fileLength(path) > 0) {
            host.appendLog(session.DataSetName + suffix);
        } else if (std::filesystem::is_regular_file(path)) {
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
        }
    }
}

// One run of the step from its start; a LiDAR plot above MaxPlots ends it without output.
LidarVolResult runOnce(Session& session, StepHost& host) {
    host.setStatus("Status : Iterating Phase 2 LiDAR distribution...");
    host.setLog("Iterating for Phase 2 LiDAR height distribution to species-product class...\r\n");
    std::uint64_t seed = 0;
    if (session.run.seed) {
        seed = *session.run.seed;
    } else {
        seed = clockSeed();
        host.appendLog("Random seed: " + shortest(static_cast<double>(seed)));
    }

    StagedOutputs outputs;
    LidarVolResult result;
    try {
        const CoefficientTable coeff =
            readCoefficientFile(session.CoeffFileName, session.params.MaxSpec);
        result = distribution::LIDARVOL(session, host, coeff, seed, outputs);
    } catch (const InputError& e) {
        host.message(e.what(), Icon::Critical);
        return {End::Stopped, 0};
    }
    if (result.end != End::Completed) return result;

    try {
        outputs.commit();
    } catch (const std::runtime_error& e) {
        host.message(e.what(), Icon::Critical);
        return {End::Stopped, 0};
    }
    listOutputs(session, host);
    host.setStatus("Status : Iteration of Phase2 LiDAR distribution completed!");
    return result;
}

}  // namespace

bool runDistribution(Session& session, StepHost& host) {
    for (;;) {
        if (session.HighLidarFileName.empty()) {
            host.pickLidarFiles(session);
            if (session.HighLidarFileName.empty()) return false;
        }
        const LidarVolResult result = runOnce(session, host);
        if (result.end == End::Completed) return true;
        if (result.end == End::Stopped) return false;

        // A LiDAR plot above MaxPlots: the user may raise MaxPlots; the step starts again only
        // when the new value covers that plot.
        host.message("Number of plots in data files exceeds the Maxplots parameter setting",
                     Icon::Critical);
        const bool saved = host.editParameters(session);
        if (!saved || session.params.MaxPlots < result.plot) return false;
    }
}

}  // namespace orr
