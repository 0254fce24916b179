// One data-set pass of the Phase 1 computation: every LiDAR tree above 10 feet of the pass's
// height file gets its species drawn from its plot's stratum (with expected shares: enters every
// species of the stratum with its share), is turned into ground terms, and the trees are summed
// per plot and species into the pass's output file.
#pragma once

#include <cstdint>
#include <string>

#include "core/OutputSet.h"
#include "core/Step.h"
#include "engine/phase1/PlotGroups.h"
#include "engine/phase1/StratumShares.h"
#include "engine/phase1/TreeCache.h"
#include "files/CoefficientFile.h"
#include "files/DbhFile.h"
#include "files/StrataRanges.h"

namespace orr::phase1 {

// What the step's inputs hold, read once for both passes.
struct Phase1Tables {
    const CoefficientTable& coeff;
    DbhLimits limits;
    StrataRanges strata;
    StratumShares shares;
};

// Where the pass stands among the bytes of both LiDAR height files, for progress.
struct PassProgress {
    std::uintmax_t before = 0;  // bytes of the passes before this one
    std::uintmax_t total = 0;   // bytes of both files
};

// Reads the pass's LiDAR height file to its end and adds the plots' lines to `out`, keeping the
// trees it computes in `trees` (what they held before is forgotten). The plot groups are
// computed on `threads` threads (at least 1); the file and the log do not depend on it. Throws
// InputError for a record it cannot use and MissingCoefficient, after the lines of the plots
// completed before the stop were logged; StepCancelled when the host cancels.
PassTally computePass(int pass, LidarReader& lidar, Phase1Tables& tables, TreePages& trees,
                      const StepInputs& in, unsigned threads, OutputFile& out, StepHost& host,
                      PassProgress progress);

// The log line of a pass's left-out trees.
std::string tallyLine(int pass, const PassTally& tally);

}  // namespace orr::phase1
