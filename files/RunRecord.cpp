#include "files/RunRecord.h"

#include <algorithm>
#include <charconv>
#include <exception>

#include "core/InputError.h"
#include "core/NumberText.h"
#include "core/OutputSet.h"
#include "files/DataSetFiles.h"
#include "files/RunFile.h"

namespace orr::files {

namespace {

// The files a step reads: chosen paths first, then the data-set files, as the step reads them.
struct ReadList {
    std::vector<std::filesystem::path> chosen;
    std::vector<DataSetFile> dataSet;
};

ReadList readList(int step, const StepInputs& in) {
    const InputPaths& p = in.paths;
    switch (step) {
        case 5:
            return {{p.trees, p.coefficients, p.dbh}, {}};
        case 6:
            return {{p.coefficients, p.dbh, p.strata, p.lidarHigh, p.lidarLow},
                    {DataSetFile::PlotClasses}};
        case 7:
            return {{p.coefficients, p.dbh, p.strata, p.lidarHigh, p.lidarLow},
                    {DataSetFile::SpeciesCountsDS1}};
        case 8:
            return {{},
                    {DataSetFile::LidarPlotsDS1, DataSetFile::LidarPlotsDS2,
                     DataSetFile::Phase2Summary, DataSetFile::Phase1DS1, DataSetFile::Phase1DS2}};
        case 9:
            // The areas file is read only when one is chosen: without it the record is as it
            // was before areas could be given.
            return {{p.strata, p.areas},
                    {DataSetFile::Phase1DS1, DataSetFile::Phase1DS2, DataSetFile::Phase2,
                     DataSetFile::PlotClasses, DataSetFile::Phase2Summary}};
        default:
            return {};
    }
}

void add(std::vector<RunEntry>& out, int step, std::string_view entry, std::string name,
         std::string value, std::string sha256 = {}) {
    out.push_back({step, std::string(entry), std::move(name), std::move(value), std::move(sha256)});
}

std::vector<RunEntry> entriesOf(const StepRun& r) {
    std::vector<RunEntry> out;
    for (const auto& [name, value] : r.parameters) add(out, r.step, run::kParameter, name, value);
    if (r.seed) add(out, r.step, run::kSeed, "", std::to_string(*r.seed));
    for (const FileFingerprint& f : r.read)
        add(out, r.step, run::kRead, f.name, std::to_string(f.size), f.sha256);
    for (const FileFingerprint& f : r.wrote)
        add(out, r.step, run::kWrote, f.name, std::to_string(f.size), f.sha256);
    for (const Warning& w : r.warnings) add(out, r.step, run::kWarning, w.kind, w.text);
    return out;
}

template <class Integer>
std::optional<Integer> whole(std::string_view text) {
    Integer n{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return n;
}

std::vector<RunEntry> readEntries(const std::filesystem::path& runFile) {
    std::vector<RunEntry> entries;
    RecordReader<RunFile> in(runFile, {});
    RunEntry e;
    while (in.next(e)) {
        // A seed and a file size are whole numbers of their full range.
        if ((e.entry == run::kSeed && !whole<std::uint64_t>(e.value)) ||
            ((e.entry == run::kRead || e.entry == run::kWrote) &&
             !whole<std::uintmax_t>(e.value))) {
            in.reader().fail(3, "value", "is not a whole number");
        }
        entries.push_back(e);
    }
    return entries;
}

}  // namespace

std::vector<std::filesystem::path> filesReadBy(int step, const StepInputs& in) {
    const ReadList list = readList(step, in);
    std::vector<std::filesystem::path> out;
    for (const auto& path : list.chosen) {
        if (!path.empty() && fileLength(path) > 0) out.push_back(path);
    }
    // Step 5 and step 9 read the tree file; step 9 reads it last.
    for (const DataSetFile file : list.dataSet) {
        const auto path = files::path(in, file);
        if (fileLength(path) > 0) out.push_back(path);
    }
    if (step == 9 && !in.paths.trees.empty() && fileLength(in.paths.trees) > 0)
        out.push_back(in.paths.trees);
    return out;
}

std::vector<std::pair<std::string, std::string>> parameterTexts(const ParamRecord& p) {
    std::vector<std::pair<std::string, std::string>> texts = {
        {"PACF", std::to_string(p.PACF)},         {"MaxSpec", std::to_string(p.MaxSpec)},
        {"MaxProd", std::to_string(p.MaxProd)},   {"MaxItern", std::to_string(p.MaxItern)},
        {"MaxPlots", std::to_string(p.MaxPlots)}, {"LiHgtAdj", std::to_string(p.LiHgtAdj)},
        {"ModelSet", std::to_string(p.ModelSet)}, {"PTIP", shortestFloat(p.PTIP)},
        {"STIP", shortestFloat(p.STIP)}};
    if (p.LidarClasses != 0) texts.emplace_back(kLidarClassesName, std::to_string(p.LidarClasses));
    return texts;
}

bool usedExpectedShares(const StepRun& run) {
    return std::any_of(run.parameters.begin(), run.parameters.end(), [](const auto& p) {
        return p.first == kLidarClassesName && p.second == "1";
    });
}

StepRun describeRun(int step, const StepInputs& in, std::optional<std::uint64_t> seed,
                    const std::vector<std::filesystem::path>& written,
                    std::vector<Warning> warnings) {
    StepRun r;
    r.step = step;
    r.parameters = parameterTexts(in.params);
    r.seed = seed;
    for (const auto& path : filesReadBy(step, in)) r.read.push_back(fingerprint(path));
    for (const auto& path : written) r.wrote.push_back(fingerprint(path));
    r.warnings = std::move(warnings);
    return r;
}

std::vector<StepRun> readRuns(const std::filesystem::path& runFile) {
    std::vector<StepRun> runs;
    if (fileLength(runFile) == 0) return runs;
    for (const RunEntry& e : readEntries(runFile)) {
        StepRun* r = nullptr;
        for (StepRun& known : runs) {
            if (known.step == e.step) r = &known;
        }
        if (!r) {
            runs.push_back({});
            r = &runs.back();
            r->step = e.step;
        }
        if (e.entry == run::kParameter) {
            r->parameters.emplace_back(e.name, e.value);
        } else if (e.entry == run::kSeed) {
            r->seed = whole<std::uint64_t>(e.value);
        } else if (e.entry == run::kWarning) {
            r->warnings.push_back({e.name, e.value});
        } else {
            FileFingerprint f{e.name, *whole<std::uintmax_t>(e.value), e.sha256};
            (e.entry == run::kRead ? r->read : r->wrote).push_back(std::move(f));
        }
    }
    return runs;
}

void recordRun(const std::filesystem::path& runFile, const StepRun& run) {
    std::vector<RunEntry> entries;
    if (fileLength(runFile) > 0) {
        try {
            entries = readEntries(runFile);
        } catch (const InputError& e) {
            warn("run record", std::string(e.what()) + " It is started anew.");
            entries.clear();
        }
    }
    std::erase_if(entries, [&](const RunEntry& e) { return e.step == run.step; });
    for (RunEntry& e : entriesOf(run)) entries.push_back(std::move(e));
    // In step order, so that a step run again on the same files leaves the record as it was.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const RunEntry& a, const RunEntry& b) { return a.step < b.step; });
    OutputSet set;
    OutputFile& out = set.file(runFile);
    for (const RunEntry& e : entries) RunFile::write(out, e);
    set.commit();
}

StepResult runRecorded(int step, bool drawsRandomNumbers,
                       StepResult (*run)(const StepInputs&, StepHost&), const StepInputs& in,
                       StepHost& host) {
    StepResult result;
    std::vector<Warning> warnings;
    {
        // The step's warnings reach the caller as they are raised; the record keeps a copy.
        const WarningCollector raised(WarningCollector::Mode::PassOn);
        result = run(in, host);
        warnings = raised.collected();
    }
    if (!result.completed()) return result;
    warnings.insert(warnings.end(), result.warnings.begin(), result.warnings.end());
    const std::filesystem::path runFile = path(in, DataSetFile::Run);
    try {
        recordRun(runFile,
                  describeRun(step, in, drawsRandomNumbers ? std::optional(in.seed) : std::nullopt,
                              result.outputs, std::move(warnings)));
    } catch (const std::exception& e) {
        // The record would name the step's earlier run as the one that made its files: it goes,
        // so that no report shows it as the current one (a record that cannot be replaced may
        // still be removed), and the run has failed.
        std::error_code ec;
        if (std::filesystem::is_regular_file(std::filesystem::symlink_status(runFile, ec)))
            std::filesystem::remove(runFile, ec);
        return StepResult::stopped(
            "The run of step " + std::to_string(step) + " could not be recorded in " +
            shownPath(runFile) + ": " + e.what() +
            (std::filesystem::exists(std::filesystem::symlink_status(runFile, ec))
                 ? std::string()
                 : std::string(" The record of the earlier runs was removed with it.")));
    }
    return result;
}

}  // namespace orr::files
