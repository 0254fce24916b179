// SUM1PHAS: the Phase 1 computation of both data-set passes, after the handler has read the
// coefficient file. Everything is built in memory; the handler commits the files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/CommaReader.h"
#include "core/Session.h"
#include "core/StagedOutputs.h"
#include "core/StepHost.h"
#include "engine/phase1/StratumShares.h"
#include "files/InputFiles.h"

namespace orr::phase1 {

// A stop whose text is the whole message to show (the empty DBH file).
class StepStopped : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// What the inputs of the step hold, read once for both passes.
struct Phase1Tables {
    const CoefficientTable& coeff;
    DbhLimits limits;
    StrataTable strata;
    StratumShares shares;
};

// Trees left out of a pass for want of a species, and the plots that lie in no stratum.
struct PassTally {
    long long outsideStratum = 0;   // trees of plots outside every stratum's range
    long long noInterval = 0;       // trees whose draw fell in no species interval
    std::vector<int> outsidePlots;  // the first twenty such plots, in file order
    long long furtherOutsidePlots = 0;
};

// The log line of a pass's left-out trees.
std::string tallyLine(int pass, const PassTally& tally);

// Reports progress over the bytes of both LiDAR height files.
class ProgressMeter {
  public:
    ProgressMeter(StepHost& host, std::uintmax_t totalBytes) : host_(host), total_(totalBytes) {}
    void advance(std::uintmax_t bytes);
    void finish();

  private:
    StepHost& host_;
    std::uintmax_t total_;
    std::uintmax_t done_ = 0;
    unsigned calls_ = 0;
};

// One pass over a LiDAR height file: every tree above 10 feet gets its species drawn from its
// plot's stratum, is turned into ground terms, and the plots' lines are appended to `out`. The
// plot groups are computed on `threads` threads (at least 1); the result does not depend on it.
PassTally runPass(int pass, CommaReader& lidar, Phase1Tables& tables, const ParamRecord& params,
                  std::uint64_t seed, unsigned threads, std::string& out, StepHost& host,
                  ProgressMeter& meter);

// SUM1PHAS: reads the DBH, strata and species files and runs both passes into `outputs`.
// Throws InputError, MissingCoefficient or StepStopped; the message is the exception's text.
void SUM1PHAS(const Session& session, const CoefficientTable& coeff, std::uint64_t seed,
              StagedOutputs& outputs, StepHost& host);

}  // namespace orr::phase1
