// LIDARVOL: the inputs of step 6 read once, then the two data-set passes over the Phase 2 plots.
#pragma once

#include <cstdint>

#include "core/Session.h"
#include "core/StagedOutputs.h"
#include "core/StepHost.h"
#include "files/InputFiles.h"

namespace orr::distribution {

struct LidarVolResult {
    enum class End {
        Completed,          // both passes ran; the outputs are staged
        Stopped,            // the step ends here (the message has been shown)
        PlotAboveMaxPlots,  // a LiDAR plot number above MaxPlots: `plot`
    };
    End end = End::Completed;
    int plot = 0;
};

// Reads the DBH and strata files, _PH2Plot.csv and both LiDAR height files, then computes every
// plot in both passes and stages _PH2plotDS1.csv, _PH2specDS1.csv and _PH2plotDS2.csv in
// `outputs`. Throws InputError on input it cannot use, before anything is computed.
LidarVolResult LIDARVOL(const Session& session, StepHost& host, const CoefficientTable& coeff,
                        std::uint64_t seed, StagedOutputs& outputs);

}  // namespace orr::distribution
