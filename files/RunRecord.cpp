#include "files/RunRecord.h"

#include <algorithm>
#include <charconv>

#include "core/InputError.h"
#include "core/NumberText.h"
#include "core/OutputSet.h"
#include "files/RunFile.h"

namespace orr::files {

namespace {

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

std::vector<std::pair<std::string, std::string>> settingTexts(const ParamRecord& p) {
    std::vector<std::pair<std::string, std::string>> texts = parameterTexts(p);
    if (p.LidarClasses == 0) texts.emplace_back(kLidarClassesName, "0");
    texts.emplace_back("GroundPlotCost", shortest(p.GroundPlotCost));
    texts.emplace_back("LidarPlotCost", shortest(p.LidarPlotCost));
    texts.emplace_back("TargetError", shortest(p.TargetError));
    return texts;
}

bool usedExpectedShares(const StepRun& run) {
    return std::any_of(run.parameters.begin(), run.parameters.end(), [](const auto& p) {
        return p.first == kLidarClassesName && p.second == "1";
    });
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

void recordRun(const std::filesystem::path& runFile, std::vector<StepRun> runs,
               const StepRun& run) {
    std::erase_if(runs, [&](const StepRun& r) { return r.step == run.step; });
    runs.push_back(run);
    // In step order, so that a step run again on the same files leaves the record as it was.
    std::stable_sort(runs.begin(), runs.end(),
                     [](const StepRun& a, const StepRun& b) { return a.step < b.step; });
    OutputSet set;
    OutputFile& out = set.file(runFile);
    for (const StepRun& r : runs) {
        for (const RunEntry& e : entriesOf(r)) RunFile::write(out, e);
    }
    set.commit();
}

}  // namespace orr::files
