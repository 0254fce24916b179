// SUM1PHAS: the step's inputs read once, then the DataSet 1 and DataSet 2 passes.
#include "engine/phase1/Sum1Phas.h"

#include <algorithm>

#include "engine/phase1/ParallelGroups.h"
#include "engine/phase1/PlotSums.h"

namespace orr::phase1 {

namespace {

constexpr unsigned kRecordsPerProgress = 4096;

struct PassFiles {
    const std::filesystem::path& lidar;
    const char* outputSuffix;
};

}  // namespace

std::string tallyLine(int pass, const PassTally& tally) {
    std::string line = "DataSet " + std::to_string(pass) +
                       ": trees skipped: " + std::to_string(tally.outsideStratum) +
                       " in plots outside every stratum, " + std::to_string(tally.noInterval) +
                       " whose draw fell in no species interval";
    if (!tally.outsidePlots.empty()) {
        line += "; plots outside every stratum:";
        for (std::size_t i = 0; i < tally.outsidePlots.size(); ++i) {
            line += (i == 0 ? " " : ", ") + std::to_string(tally.outsidePlots[i]);
        }
        if (tally.furtherOutsidePlots > 0) {
            line += " and " + std::to_string(tally.furtherOutsidePlots) + " more";
        }
    }
    return line;
}

void ProgressMeter::advance(std::uintmax_t bytes) {
    done_ = std::min(done_ + bytes, total_);
    if (++calls_ % kRecordsPerProgress == 0) host_.progress(done_, total_);
}

void ProgressMeter::finish() {
    done_ = total_;
    host_.progress(done_, total_);
}

void SUM1PHAS(const Session& session, const CoefficientTable& coeff, std::uint64_t seed,
              StagedOutputs& outputs, StepHost& host) {
    const ParamRecord& params = session.params;
    const std::filesystem::path& dbhFile = session.DBHFileName;
    std::error_code ec;
    if (std::filesystem::is_regular_file(dbhFile, ec) && fileLength(dbhFile) < 1) {
        throw StepStopped("Error: No min/max dbhes on file for dataset " + session.DataSetName);
    }
    Phase1Tables tables{coeff, readDbhFile(dbhFile, params.MaxSpec, params.MaxProd),
                        readStrataFile(session.StrataFileName), StratumShares{}};
    checkStratumNumbers(tables.strata, session.StrataFileName);
    tables.shares =
        StratumShares::read(session.dataSetFile("_PH2specDS1.csv"), tables.strata, params.MaxSpec);

    const PassFiles passes[2] = {{session.HighLidarFileName, "_Phase1DS1.csv"},
                                 {session.LowLidarFileName, "_Phase1DS2.csv"}};
    std::uintmax_t totalBytes = 0;
    for (const PassFiles& files : passes) {
        if (!files.lidar.empty()) totalBytes += fileLength(files.lidar);
    }
    ProgressMeter meter(host, totalBytes);
    const unsigned threads = threadCount(session.run.threads);

    for (int pass = 1; pass <= 2; ++pass) {
        const PassFiles& files = passes[pass - 1];
        // A skipped pass leaves no file of its name: its output stays empty.
        std::string& out = outputs.file(session.dataSetFile(files.outputSuffix));
        out.clear();
        if (files.lidar.empty()) continue;
        CommaReader lidar(files.lidar);
        if (fileLength(files.lidar) < 1) continue;
        const PassTally tally =
            runPass(pass, lidar, tables, params, seed, threads, out, host, meter);
        keepLogShort(host);
        host.appendLog(tallyLine(pass, tally));
    }
    meter.finish();
}

}  // namespace orr::phase1
