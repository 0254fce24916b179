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
#include "core/RandomStreams.h"
#include "model/session/Startup.h"
#include "model/workflow/StepRunner.h"
#include "model/workflow/StepTable.h"

namespace orr {

namespace {

constexpr const char* kRunUsage =
    "usage: orravant-cli [--app-dir DIR] run --dataset NAME --coeff FILE --strata FILE\n"
    "           --dbh FILE --trees FILE --ds1 FILE [--ds2 FILE] [--steps 5,6,7,8,9]\n"
    "           [--seed N] [--threads N] [--product-code drop|ask] [--verbose]\n"
    "\n"
    "Runs computation steps on one data set. The results are written to\n"
    "<application directory>/DATA FILES/<NAME>_... as the desktop program writes them.\n"
    "\n"
    "  --dataset NAME        data-set name, at most 6 characters\n"
    "  --coeff FILE          regression coefficient file\n"
    "  --strata FILE         strata file\n"
    "  --dbh FILE            DBH limits file\n"
    "  --trees FILE          Phase 2 ground tree file\n"
    "  --ds1 FILE            Phase 1 LiDAR heights, DataSet 1 (HIGH)\n"
    "  --ds2 FILE            Phase 1 LiDAR heights, DataSet 2 (LOW), optional\n"
    "  --steps LIST          steps to run, comma-separated (default: every step available)\n"
    "  --seed N              seed of the random draws (default: from the clock, logged)\n"
    "  --threads N           worker threads (default 0: all cores)\n"
    "  --product-code MODE   ask: ask on the terminal for a tree whose DBH fits no product;\n"
    "                        drop: drop such trees (default when stdin is not a terminal)\n"
    "  --verbose             show the status captions and progress on stderr\n"
    "  --help                show this text\n"
    "\n"
    "Exit status: 0 every step completed, 1 a step stopped on an error, 2 usage error.\n";

using workflow::StepEntry;

struct RunPlan {
    Session names;  // data-set name and paths only
    std::vector<StepEntry> steps;
    std::optional<std::uint64_t> seed;
    unsigned threads = 0;
    ProductCodePolicy productCodes = ProductCodePolicy::Drop;
    bool verbose = false;
};

std::string checkedDataSetName(std::string name) {
    const auto first = name.find_first_not_of(' ');
    const auto last = name.find_last_not_of(' ');
    name = first == std::string::npos ? "" : name.substr(first, last - first + 1);
    if (name.empty() || name.size() > 6) {
        throw UsageError("--dataset must be 1 to 6 characters, not '" + name + "'");
    }
    for (unsigned char c : name) {
        if (c < 0x20 || c == '/' || c == '\\' || c == ':') {
            throw UsageError("--dataset '" + name +
                             "' holds a character not allowed in a file name");
        }
    }
    return name;
}

std::filesystem::path inputPath(const std::string& text) {
    return std::filesystem::absolute(std::filesystem::path(text)).lexically_normal();
}

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
    FlagList flags(ctx.args,
                   {"dataset", "coeff", "strata", "dbh", "trees", "ds1", "ds2", "steps", "seed",
                    "threads", "product-code"},
                   {"verbose", "help"});
    RunPlan plan;
    plan.names.dataSetName = checkedDataSetName(flags.required("dataset"));
    plan.names.coefficientFile = inputPath(flags.required("coeff"));
    plan.names.strataFile = inputPath(flags.required("strata"));
    plan.names.dbhFile = inputPath(flags.required("dbh"));
    plan.names.treeFile = inputPath(flags.required("trees"));
    plan.names.lidarHighFile = inputPath(flags.required("ds1"));
    if (auto ds2 = flags.value("ds2"); ds2 && !ds2->empty()) {
        plan.names.lidarLowFile = inputPath(*ds2);
    }
    plan.steps = chosenSteps(flags.value("steps"));
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
    return plan;
}

bool drawsRandomNumbers(const std::vector<StepEntry>& steps) {
    return std::any_of(steps.begin(), steps.end(),
                       [](const StepEntry& s) { return s.description->drawsRandomNumbers; });
}

}  // namespace

int runCommand(CliContext& ctx) {
    if (std::find(ctx.args.begin(), ctx.args.end(), "--help") != ctx.args.end()) {
        ctx.out << kRunUsage;
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
        session.appDir = resolveAppDir(ctx.appDir);
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
    session.coefficientFile = plan.names.coefficientFile;
    session.strataFile = plan.names.strataFile;
    session.dbhFile = plan.names.dbhFile;
    session.treeFile = plan.names.treeFile;
    session.lidarHighFile = plan.names.lidarHighFile;
    session.lidarLowFile = plan.names.lidarLowFile;
    session.run.threads = plan.threads;

    CliHost host(session.params.MaxProd, ctx.in, ctx.out, ctx.err, plan.verbose);
    // The start-up line asks for the set-up steps, which the flags have done: kept, not shown.
    host.primeLog(startLog);
    // One seed for the whole run, logged when it came from the clock so the run can be repeated.
    std::optional<std::uint64_t> seed = plan.seed;
    if (!seed && drawsRandomNumbers(plan.steps)) {
        seed = clockSeed();
        host.log("Random seed: " + std::to_string(*seed));
    }

    CliHost::catchInterrupt();
    for (const StepEntry& step : plan.steps) {
        const StepResult result =
            workflow::runStep(*step.description, step.run,
                              workflow::stepInputs(session, plan.productCodes), seed, host);
        if (result.droppedQuestions > 0) {
            host.log("Product-code questions answered by dropping the tree: " +
                     std::to_string(result.droppedQuestions));
        }
        if (result.end == StepResult::End::Cancelled) {
            ctx.err << "error: step " << step.number()
                    << " was cancelled; its files were not changed\n";
            return kExitFailed;
        }
        if (!result.completed()) {
            ctx.err << "error: step " << step.number() << " did not complete\n";
            return kExitFailed;
        }
    }
    return kExitOk;
}

}  // namespace orr
