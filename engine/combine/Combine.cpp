#include "engine/combine/Combine.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

#include "core/InputError.h"
#include "core/StagedOutputs.h"
#include "engine/combine/CombineRecords.h"
#include "engine/combine/CombineTotals.h"
#include "engine/combine/VolSumReport.h"

namespace orr {

namespace {

constexpr std::string_view kPlotFileDS1 = "_PH2plotDS1.csv";
constexpr std::string_view kPlotFileDS2 = "_PH2plotDS2.csv";
constexpr std::string_view kSummaryFile = "_PH2Sum.csv";
constexpr std::string_view kPhase1DS1 = "_Phase1DS1.csv";
constexpr std::string_view kPhase1DS2 = "_Phase1DS2.csv";
constexpr std::string_view kVolSumFile = "_VolSum.txt";
constexpr std::string_view kPhase2File = "_Phase2.csv";

// The inputs without which there is nothing to combine, and the step that writes each.
struct RequiredInput {
    std::string_view suffix;
    int writtenBy;
};
constexpr RequiredInput kRequired[] = {{kPlotFileDS1, 6}, {kSummaryFile, 5}, {kPhase1DS1, 7}};

std::string missingFileText(const std::filesystem::path& file, int step) {
    const std::string s = std::to_string(step);
    return "The file " + file.string() + " is missing. It is written by step " + s +
           "; please run step " + s + " first.";
}

// Everything the step reads and writes, built in memory; nothing reaches the disk here.
void combineInto(const Session& session, StagedOutputs& outputs) {
    const CombineLimits limits{session.params.MaxPlots, session.params.MaxSpec,
                               session.params.MaxProd};
    CombineTotals totals(limits);
    // The report comes first, so that the log lists it before the combined file.
    std::string& volSum = outputs.file(session.dataSetFile(kVolSumFile));
    std::string& phase2 = outputs.file(session.dataSetFile(kPhase2File));
    VolSumReport report(volSum);

    readPlotClassFile(session.dataSetFile(kPlotFileDS1), limits,
                      [&](const PlotClassRecord& r) { totals.addDataSet1(r); });

    report.beginSection("Phase 2, Ground");
    readSummaryFile(session.dataSetFile(kSummaryFile), limits, [&](const SummaryRecord& r) {
        report.phase2Line(r.species, r.product, r.meanN, r.meanBA, r.meanVol, r.plots);
    });
    report.endSection();

    totals.writeLidarSection(report, "Phase 2, LiDAR-DS1");

    // A DataSet 2 plot file of at most one byte holds no class record: no section, and the
    // DataSet 2 fields of the combined file stay 0.
    const auto plotFileDS2 = session.dataSetFile(kPlotFileDS2);
    if (fileLength(plotFileDS2) > 1) {
        readPlotClassFile(plotFileDS2, limits,
                          [&](const PlotClassRecord& r) { totals.addDataSet2(r); });
        totals.writeLidarSection(report, "Phase 2, LiDAR-DS2");
    }

    readPhase1File(session.dataSetFile(kPhase1DS1), limits,
                   [&](const Phase1Record& r) { totals.addPhase1(r); });
    totals.writePhase1Section(report, "Phase 1, LiDAR-DS1");

    const auto phase1DS2 = session.dataSetFile(kPhase1DS2);
    if (fileLength(phase1DS2) > 0) {
        readPhase1File(phase1DS2, limits, [&](const Phase1Record& r) { totals.addPhase1(r); });
        totals.writePhase1Section(report, "Phase 1, LiDAR-DS2");
    }

    phase2 = totals.phase2Records();
}

}  // namespace

bool runCombine(Session& session, StepHost& host) {
    host.setStatus("Status: Combining all Phase 2 estimates..");
    host.setLog("Combining all Phase 2 estimates...\r\n");

    for (const RequiredInput& input : kRequired) {
        const auto file = session.dataSetFile(input.suffix);
        std::error_code ec;
        if (!std::filesystem::exists(file, ec)) {
            host.message(missingFileText(file, input.writtenBy), Icon::Critical);
            return false;
        }
    }

    std::vector<std::filesystem::path> written;
    try {
        StagedOutputs outputs;
        combineInto(session, outputs);
        written = outputs.commit();
    } catch (const std::runtime_error& e) {
        // A record that cannot be used (InputError), a total too large to be written, or an
        // output file that cannot be written.
        host.message(e.what(), Icon::Critical);
        return false;
    }

    host.setStatus("Status: Combining Phase 2 estimates completed!");
    host.appendLog("Combining all Phase 2 estimates completed!");
    host.appendLog("The following files were created in the directory - " +
                   session.dataFilesDirText());
    for (const auto& file : written) host.appendLog(file.filename().string());
    return true;
}

}  // namespace orr
