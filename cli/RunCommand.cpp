// orravant-cli run: start-up, the session from flags, then the chosen computation steps in order,
// each on the files the step before it wrote.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CliHost.h"
#include "cli/FlagList.h"
#include "core/InputError.h"
#include "core/RandomStreams.h"
#include "files/DataSetFiles.h"
#include "files/StratumAreasFile.h"
#include "model/session/DataSetLock.h"
#include "model/session/Startup.h"
#include "model/workflow/StepRunner.h"
#include "model/workflow/StepTable.h"

namespace orr {

namespace {

// The words of the usage text around the options, which come from runOptions().
constexpr const char* kRunAbout =
    "Runs computation steps on one data set. The results are written to\n"
    "<application directory>/DATA FILES/<NAME>_... as the desktop program writes them;\n"
    "after step 9 the last line names its report for the browser, <NAME>_Report.html.\n"
    "Every estimate is a mean per acre (ground volume in cu.ft per acre); with --areas\n"
    "step 9 also gives each stratum's total and the strata combined by their areas.\n";
constexpr const char* kRunClosing =
    "\n"
    "Warnings (an empty field read as 0, a dropped tree, an implausible height, a stratum\n"
    "that entered the combined estimate through its ground mean) are logged where they\n"
    "arise and counted by kind on stderr at the end of the run.\n"
    "\n"
    "Exit status: 0 every step completed (also with warnings, unless --strict), 1 a step\n"
    "stopped on an error or was cancelled (Ctrl-C), or warnings under --strict,\n"
    "2 usage error.\n";

// The chosen inputs that running every step needs.
std::vector<ChosenInput> inputsOfEveryStep() {
    std::vector<ChosenInput> needed;
    for (const ChosenInput input : kChosenInputs) {
        for (const auto& step : workflow::stepTable()) {
            if (step.files->needs(input)) {
                needed.push_back(input);
                break;
            }
        }
    }
    return needed;
}

std::string runUsage() {
    return synopsis("usage: orravant-cli [--app-dir DIR] run", runOptions(), inputsOfEveryStep()) +
           "\n" + kRunAbout + wrapped(inputsNeededText(false), 90) + "\n\n" +
           usageOptions(runOptions()) + kRunClosing;
}

using workflow::StepEntry;

struct RunPlan {
    Session names;  // data-set name and paths only
    std::vector<StepEntry> steps;
    std::optional<std::uint64_t> seed;
    unsigned threads = 0;
    ProductCodePolicy productCodes = ProductCodePolicy::Drop;
    bool verbose = false;
    bool strict = false;
};

std::vector<StepEntry> chosenSteps(const std::optional<std::string>& list) {
    const auto available = workflow::stepTable();
    if (!list) {
        return {available.begin(), available.end()};
    }
    std::set<int> wanted;
    std::size_t start = 0;
    while (start <= list->size()) {
        std::size_t comma = list->find(',', start);
        if (comma == std::string::npos) {
            comma = list->size();
        }
        const std::string word = list->substr(start, comma - start);
        auto number = parseWhole(word, 0, 99);
        auto found = std::find_if(available.begin(), available.end(), [&](const StepEntry& s) {
            return number && s.number() == *number;
        });
        if (found == available.end()) {
            std::string known;
            for (const auto& s : available) {
                known += (known.empty() ? "" : ",") + std::to_string(s.number());
            }
            throw UsageError("--steps: step '" + word + "' is not available (available: " +
                             (known.empty() ? "none" : known) + ")");
        }
        wanted.insert(*number);
        start = comma + 1;
    }
    std::vector<StepEntry> steps;
    for (const auto& s : available) {
        if (wanted.count(s.number())) {
            steps.push_back(s);
        }
    }
    return steps;
}

RunPlan parseRun(const CliContext& ctx) {
    FlagList flags(ctx.args, runOptions());
    RunPlan plan;
    plan.names.dataSetName = checkedDataSetName(flags.required("dataset"));
    plan.steps = chosenSteps(flags.value("steps"));
    // An input file is required when a chosen step needs it.
    for (const CommandOption& option : runOptions()) {
        if (!option.input) continue;
        const bool needed =
            std::any_of(plan.steps.begin(), plan.steps.end(),
                        [&](const StepEntry& s) { return s.files->needs(*option.input); });
        std::filesystem::path& path = chosenPath(plan.names.inputs, *option.input);
        if (needed) {
            path = inputPath(flags.required(option.name));
        } else if (auto given = flags.value(option.name); given && !given->empty()) {
            path = inputPath(*given);
        }
    }
    if (auto seed = flags.value("seed")) {
        std::uint64_t n = 0;
        const char* end = seed->data() + seed->size();
        auto [ptr, ec] = std::from_chars(seed->data(), end, n);
        if (seed->empty() || ec != std::errc() || ptr != end) {
            throw UsageError("--seed must be a whole number from 0 to 18446744073709551615, not '" +
                             *seed + "'");
        }
        plan.seed = n;
    }
    plan.threads = static_cast<unsigned>(flags.integer("threads", 0, 4096).value_or(0));
    plan.productCodes = ctx.stdinIsTerminal ? ProductCodePolicy::Ask : ProductCodePolicy::Drop;
    if (auto mode = flags.value("product-code")) {
        if (*mode == "ask") {
            plan.productCodes = ProductCodePolicy::Ask;
        } else if (*mode == "drop") {
            plan.productCodes = ProductCodePolicy::Drop;
        } else {
            throw UsageError("--product-code must be drop or ask, not '" + *mode + "'");
        }
    }
    plan.verbose = flags.has("verbose");
    plan.strict = flags.has("strict");
    return plan;
}

bool drawsRandomNumbers(const std::vector<StepEntry>& steps) {
    return std::any_of(steps.begin(), steps.end(),
                       [](const StepEntry& s) { return s.description->drawsRandomNumbers; });
}

}  // namespace

std::string checkedDataSetName(std::string name) {
    const auto first = name.find_first_not_of(' ');
    const auto last = name.find_last_not_of(' ');
    name = first == std::string::npos ? "" : name.substr(first, last - first + 1);
    if (name.empty() || characterCount(name) > 6) {
        throw UsageError("--dataset must be 1 to 6 characters, not '" + shownText(name) + "'");
    }
    for (unsigned char c : name) {
        if (c < 0x20 || c == '/' || c == '\\' || c == ':') {
            throw UsageError("--dataset '" + shownText(name) +
                             "' holds a character not allowed in a file name");
        }
    }
    // A name that reads one way and is another: every file, log line and report would show it.
    if (const std::string_view hidden = firstFormatCharacter(name); !hidden.empty()) {
        throw UsageError("--dataset '" + shownText(name) + "' holds " + shownText(hidden) +
                         ", a character that changes the direction or visibility of text");
    }
    return name;
}

std::filesystem::path inputPath(const std::string& text) {
    return std::filesystem::absolute(std::filesystem::path(text)).lexically_normal();
}

int runCommand(CliContext& ctx) {
    if (std::find(ctx.args.begin(), ctx.args.end(), "--help") != ctx.args.end()) {
        ctx.out << runUsage();
        return kExitOk;
    }
    RunPlan plan;
    try {
        plan = parseRun(ctx);
    } catch (const UsageError& e) {
        ctx.err << "error: " << e.what() << "\n"
                << "Try 'orravant-cli run --help'.\n";
        return kExitUsage;
    }

    Session session;
    std::string startLog;
    try {
        // The log names the data directory: an absolute path, wherever the run was started.
        session.appDir = std::filesystem::absolute(resolveAppDir(ctx.appDir)).lexically_normal();
        const StartupResult start = startUp(session);
        startLog = start.log;
        if (start.paramFileWasEmpty) {
            ctx.err << "note: PARAMETER.PRM was empty and has been removed; every parameter is 0"
                       " until it is set with 'orravant-cli params set'\n";
        }
    } catch (const std::exception& e) {
        ctx.err << "error: " << e.what() << "\n";
        return kExitFailed;
    }
    session.dataSetName = plan.names.dataSetName;
    session.inputs = plan.names.inputs;
    // Stratum areas that step 9 would refuse are refused before any step changes a file.
    if (!session.inputs.areas.empty() &&
        std::any_of(plan.steps.begin(), plan.steps.end(),
                    [](const StepEntry& s) { return s.files->readsInput(ChosenInput::Areas); })) {
        try {
            if (session.inputs.strata.empty())
                throw std::runtime_error("--areas needs the strata file (--strata)");
            readStratumAreasFile(session.inputs.areas, strataNamedIn(session.inputs.strata));
        } catch (const std::exception& e) {
            ctx.err << "error: " << e.what() << "\n";
            return kExitFailed;
        }
    }
    session.run.threads = plan.threads;
    // From here on a stop (Ctrl-C, SIGTERM, SIGHUP, a closed stdout) ends the run through its
    // own end, which lets the data set's lock go.
    CliHost::catchInterrupt();
    // The parameters must be in range, and the data set is this run's until it ends.
    std::optional<DataSetLock> dataSetLock;
    try {
        if (auto problem = parameterFileProblem(session.appDir, session.params))
            throw std::runtime_error(*problem);
        dataSetLock.emplace(
            DataSetLock::acquire(session.dataFilesDir(), session.dataSetName, "orravant-cli run"));
    } catch (const std::exception& e) {
        ctx.err << "error: " << e.what() << "\n";
        return kExitFailed;
    }
    for (const std::string& note : dataSetLock->notes()) ctx.err << "note: " << note << "\n";

    CliHost host(session.params.MaxProd, ctx.in, ctx.out, ctx.err, plan.verbose);
    // The start-up line asks for the set-up steps, which the flags have done: kept, not shown.
    host.primeLog(startLog);
    // One seed for the whole run, logged when it came from the clock so the run can be repeated.
    std::optional<std::uint64_t> seed = plan.seed;
    if (!seed && drawsRandomNumbers(plan.steps) && !expectedShares(session.params)) {
        seed = clockSeed();
        host.log("Random seed: " + std::to_string(*seed));
    }

    std::vector<std::pair<std::string, std::size_t>> warningKinds;  // in the order first raised
    workflow::StepSequence sequence(plan.steps);
    int lastStep = 0;
    bool stoppedBefore = false;
    const StepResult last = workflow::runSequence(
        sequence, [&] { return workflow::stepInputs(session, plan.productCodes); }, seed, host,
        [&](const StepEntry& step) {
            lastStep = step.number();
            if (host.cancelled()) {
                stoppedBefore = true;
                return false;
            }
            host.beginStep(step.number());
            return true;
        },
        [&](const StepEntry&, const StepResult& result) {
            host.endStep();
            for (const Warning& w : result.warnings) {
                auto kind = std::find_if(warningKinds.begin(), warningKinds.end(),
                                         [&](const auto& k) { return k.first == w.kind; });
                if (kind == warningKinds.end()) {
                    warningKinds.emplace_back(w.kind, 1);
                } else {
                    ++kind->second;
                }
            }
        });
    if (stoppedBefore) {
        ctx.err << "error: the run stopped before step " << lastStep << " (" << host.stopReason()
                << "); the files of the steps before it are in place\n";
        return kExitFailed;
    }
    if (last.end == StepResult::End::Cancelled) {
        ctx.err << "error: step " << lastStep << " was cancelled (" << host.stopReason()
                << "); its files were not changed\n";
        return kExitFailed;
    }
    if (!sequence.completed()) {
        ctx.err << "error: step " << lastStep << " did not complete\n";
        return kExitFailed;
    }
    // Step 9's report for the browser, as the last line of the run.
    if (std::any_of(plan.steps.begin(), plan.steps.end(), [](const StepEntry& s) {
            return std::find(s.files->writes.begin(), s.files->writes.end(),
                             files::DataSetFile::Report) != s.files->writes.end();
        })) {
        const auto report =
            files::path(session.dataFilesDir(), session.dataSetName, files::DataSetFile::Report);
        ctx.out << "Report: " << report.string() << "\n";
    }
    // One line per kind of warning, so that a batch script can tell a clean run from a warned
    // one without reading the log.
    std::size_t warnings = 0;
    for (const auto& [kind, count] : warningKinds) {
        ctx.err << "warning: " << kind << ": " << count << "\n";
        warnings += count;
    }
    if (plan.strict && warnings > 0) {
        ctx.err << "error: " << warnings << (warnings == 1 ? " warning" : " warnings")
                << " under --strict\n";
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace orr
