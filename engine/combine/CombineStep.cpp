// Step 8 as a whole: the three required inputs, the sections of the volume summary report in
// their order, and the combined Phase 2 file, which reach the data directory only when the step
// completes.
#include "engine/combine/CombineStep.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>

#include "core/OutputSet.h"
#include "core/ParallelFor.h"
#include "engine/combine/CombineTotals.h"
#include "engine/combine/VolSumReport.h"
#include "files/DataSetFiles.h"
#include "files/LidarPlotFile.h"
#include "files/Phase1File.h"
#include "files/Phase2SummaryFile.h"

namespace orr {

namespace {

using files::DataSetFile;

// The inputs without which there is nothing to combine.
constexpr DataSetFile kRequired[] = {DataSetFile::LidarPlotsDS1, DataSetFile::Phase2Summary,
                                     DataSetFile::Phase1DS1};

}  // namespace

StepResult combinePhase2(const StepInputs& in, StepHost& host) {
    const files::Limits limits = files::Limits::of(in.params);
    CombineTotals totals(limits);
    OutputSet outputs;
    // The report comes first, so that the log lists it before the combined file.
    VolSumReport report(outputs.file(files::path(in, DataSetFile::VolumeSummary)));
    OutputFile& phase2 = outputs.file(files::path(in, DataSetFile::Phase2));

    // Progress: the bytes of the inputs read (the Phase 1 files hold a record per plot and
    // species of millions of plots).
    const auto lidarPlotsDS2 = files::path(in, DataSetFile::LidarPlotsDS2);
    const auto phase1DS2 = files::path(in, DataSetFile::Phase1DS2);
    const bool withLidarDS2 = fileLength(lidarPlotsDS2) > 1;
    const bool withPhase1DS2 = fileLength(phase1DS2) > 0;
    std::uintmax_t total = 0;
    for (const DataSetFile file : kRequired) total += fileLength(files::path(in, file));
    if (withLidarDS2) total += fileLength(lidarPlotsDS2);
    if (withPhase1DS2) total += fileLength(phase1DS2);
    files::ReadingProgress reading(host, total);

    reading.forEach<files::LidarPlotFile>(
        files::path(in, DataSetFile::LidarPlotsDS1), limits,
        [&](const files::LidarPlotClass& r) { totals.addDataSet1(r); });

    report.beginSection("Phase 2, Ground");
    reading.forEach<files::Phase2SummaryFile>(
        files::path(in, DataSetFile::Phase2Summary), limits, [&](const files::ClassMean& r) {
            report.phase2Line(r.species, r.product, r.n, r.ba, r.vol, r.plots);
        });
    report.endSection();

    totals.writeLidarSection(report, "Phase 2, LiDAR-DS1");
    stopIfCancelled(host);

    // A DataSet 2 plot file of at most one byte holds no class record: no section, and the
    // DataSet 2 fields of the combined file stay 0.
    if (withLidarDS2) {
        reading.forEach<files::LidarPlotFile>(
            lidarPlotsDS2, limits, [&](const files::LidarPlotClass& r) { totals.addDataSet2(r); });
        totals.writeLidarSection(report, "Phase 2, LiDAR-DS2");
    }
    stopIfCancelled(host);

    // The two Phase 1 files are read at once, DataSet 2 on a thread of its own; the progress
    // counts the bytes of both.
    CombineTotals::Phase1Section dataSet1(limits);
    CombineTotals::Phase1Section dataSet2(limits);
    std::atomic<std::uintmax_t> dataSet2Bytes{0};
    sideBySide(
        in.threads,
        [&] {
            reading.forEach<files::Phase1File>(
                files::path(in, DataSetFile::Phase1DS1), limits,
                [&](const files::Phase1Total& r) { dataSet1.add(r); }, &dataSet2Bytes);
        },
        [&](const std::function<void()>& every) {
            if (!withPhase1DS2) return;
            files::forEachRecord<files::Phase1File>(
                phase1DS2, limits, [&](const files::Phase1Total& r) { dataSet2.add(r); },
                [&](std::uintmax_t bytes) {
                    dataSet2Bytes = bytes;
                    every();
                });
        },
        [&] { reading.report(dataSet2Bytes); });
    reading.readElsewhere(dataSet2Bytes);
    totals.writePhase1Section(report, "Phase 1, LiDAR-DS1", dataSet1);
    stopIfCancelled(host);
    if (withPhase1DS2) totals.writePhase1Section(report, "Phase 1, LiDAR-DS2", dataSet2);

    totals.writePhase2File(phase2);
    stopIfCancelled(host);

    StepResult result;
    result.outputs = outputs.commit();
    result.closingLog = {
        "Combining all Phase 2 estimates completed!",
        "The following files were created in the directory - " + files::dirText(in.dataDir)};
    for (const auto& file : result.outputs) result.closingLog.push_back(file.filename().string());
    return result;
}

const files::StepFiles& combineFiles() {
    // MaxPlots only bounds the plot numbers: the files of a completed run do not depend on it.
    static const files::StepFiles declared{
        8,
        {files::ofDataSet(DataSetFile::LidarPlotsDS1),
         files::ofDataSetIfAny(DataSetFile::LidarPlotsDS2),
         files::ofDataSet(DataSetFile::Phase2Summary), files::ofDataSet(DataSetFile::Phase1DS1),
         files::ofDataSetIfAny(DataSetFile::Phase1DS2)},
        {DataSetFile::VolumeSummary, DataSetFile::Phase2},
        {"MaxSpec", "MaxProd"}};
    return declared;
}

}  // namespace orr
