#include "engine/doublesample/DoubleSample.h"

#include <initializer_list>
#include <stdexcept>
#include <string>

#include "core/StagedOutputs.h"
#include "engine/doublesample/Allocation.h"
#include "engine/doublesample/DblSampl.h"
#include "engine/doublesample/DoubleSampleInputs.h"
#include "engine/doublesample/StratVolReport.h"

namespace orr {

bool runDoubleSample(Session& session, StepHost& host) {
    host.setStatus("Status: Computing double sample estimates..");

    const auto regressFile = session.dataSetFile("_Regress.txt");
    const auto stratVolFile = session.dataSetFile("_StratVol.txt");
    StagedOutputs outputs;
    try {
        const DoubleSampleInputs in = readDoubleSampleInputs(session);
        const DoubleSampleEstimates est = estimateAllStrata(in);
        const Allocation allocation =
            allocateClasses(in, est, session.params.MaxSpec, session.params.MaxProd);
        outputs.file(regressFile) = est.regressReport;
        outputs.file(stratVolFile) = stratVolReport(allocation, est);
        outputs.commit();
    } catch (const std::runtime_error& e) {
        // InputError: a missing or unusable input; otherwise a report that cannot be written.
        host.message(e.what(), Icon::Critical);
        return false;
    }

    host.setStatus("Status: Double sample estimates computed!");
    host.appendLog("Double sample estimates computed successfully!");
    host.appendLog("The following file was created in the directory - " +
                   session.dataFilesDirText());
    for (const char* suffix : {"_StratVol.txt", "_Regress.txt"}) {
        if (fileLength(session.dataSetFile(suffix)) > 0) {
            host.appendLog(session.DataSetName + suffix);
        }
    }
    return true;
}

}  // namespace orr
