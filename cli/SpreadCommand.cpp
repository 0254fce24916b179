// orravant-cli spread: how much the random draws of steps 6 and 7 move the estimates of step 9.
// Steps 5 to 9 run on a scratch copy of the data set, steps 6 to 9 once per seed 1..K and once
// with expected shares, and <name>_Spread.csv sums up the estimates; the data set's own files
// stay as they were, but for that one file.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <map>
#include <ostream>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/FlagList.h"
#include "core/InputError.h"
#include "core/OutputSet.h"
#include "files/DataSetFiles.h"
#include "files/EstimatesFile.h"
#include "files/HeaderedFile.h"
#include "files/SpreadFile.h"
#include "model/session/DataSetLock.h"
#include "model/session/Startup.h"
#include "model/workflow/StepRunner.h"
#include "model/workflow/StepTable.h"

namespace orr {

namespace {

// The words of the usage text around the options, which come from spreadOptions().
constexpr const char* kSpreadAbout =
    "Shows how much the random draws of steps 6 and 7 move the estimates of step 9. On a\n"
    "scratch copy of the data set it runs step 5 once, steps 6 to 9 with seeds 1 to K and once\n"
    "with expected shares, and writes <NAME>_Spread.csv to the data set: per stratum index and\n"
    "regression variable the mean, standard deviation, minimum and maximum of YbarLR and\n"
    "S_ybarLR over the seeds, the share of seeds in which the regression was selected, and the\n"
    "expected-shares values beside them. No other file of the data set changes. The user\n"
    "parameters are those of PARAMETER.PRM (MaxItern draws per plot), whatever LidarClasses\n"
    "holds. A tree whose DBH fits no product is dropped.\n"
    "\n";
constexpr const char* kSpreadClosing =
    "\n"
    "Exit status: 0 done, 1 a step stopped on an error, 2 usage error.\n";

std::string spreadUsage() {
    const std::vector<ChosenInput> needed = {ChosenInput::Coefficients, ChosenInput::Strata,
                                             ChosenInput::Dbh, ChosenInput::Trees,
                                             ChosenInput::LidarDS1};
    return synopsis("usage: orravant-cli [--app-dir DIR] spread", spreadOptions(), needed) + "\n" +
           kSpreadAbout + usageOptions(spreadOptions()) + kSpreadClosing;
}

constexpr int kDefaultSeeds = 20;

// What the steps tell while they run: nothing is shown but the message of a step that stops.
class QuietView : public workflow::StepView {
  public:
    void log(std::string_view) override {}
    void logLines(std::string_view) override {}
    void progress(std::size_t, std::size_t) override {}
    bool cancelled() const override { return false; }
    std::optional<int> askProductCode(int, double) override { return std::nullopt; }
    void replaceLog(std::string_view) override {}
    void status(std::string_view) override {}
    void message(std::string_view text, workflow::Icon) override { message_ = std::string(text); }
    const std::string& lastMessage() const { return message_; }

  private:
    std::string message_;
};

// A directory of our own under the system's temporary directory, removed when done.
class ScratchDir {
  public:
    ScratchDir() {
        std::random_device random;
        const auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            const auto candidate = base / ("orravant-spread-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) {
                path_ = candidate;
                return;
            }
        }
        throw std::runtime_error("no scratch directory could be made in " + base.string());
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

struct SpreadPlan {
    Session names;
    int seeds = kDefaultSeeds;
    unsigned threads = 0;
};

SpreadPlan parseSpread(const CliContext& ctx) {
    FlagList flags(ctx.args, spreadOptions());
    SpreadPlan plan;
    plan.names.dataSetName = checkedDataSetName(flags.required("dataset"));
    for (const CommandOption& option : spreadOptions()) {
        if (!option.input) continue;
        std::filesystem::path& path = chosenPath(plan.names.inputs, *option.input);
        if (*option.input == ChosenInput::LidarDS2) {
            if (auto given = flags.value(option.name); given && !given->empty())
                path = inputPath(*given);
        } else {
            path = inputPath(flags.required(option.name));
        }
    }
    plan.seeds = static_cast<int>(flags.integer("seeds", 1, 1000).value_or(kDefaultSeeds));
    plan.threads = static_cast<unsigned>(flags.integer("threads", 0, 4096).value_or(0));
    return plan;
}

// Copies the data set's own files (regular files only, never a link) into the scratch data
// directory, so that the steps find whatever the data set holds and change none of it.
void copyDataSet(const std::filesystem::path& from, const std::filesystem::path& to,
                 const std::string& name) {
    std::filesystem::create_directories(to);
    if (!std::filesystem::is_directory(from)) return;
    for (const auto& entry : std::filesystem::directory_iterator(from)) {
        const std::string file = entry.path().filename().string();
        if (!files::dataSetFileNamed(name, file) || !entry.is_regular_file() || entry.is_symlink())
            continue;
        std::filesystem::copy_file(entry.path(), to / file);
    }
}

// One run's regression lines of step 9.
using Estimates = std::vector<files::EstimateRecord>;

struct Key {
    int stratum;  // the combined estimate sorts last
    std::size_t order;
    bool operator<(const Key& other) const {
        return std::tie(stratum, order) < std::tie(other.stratum, other.order);
    }
};

files::SeedStatistics statistics(const std::vector<double>& values) {
    files::SeedStatistics s;
    if (values.empty()) return s;
    double sum = 0;
    for (double x : values) sum += x;
    const double mean = sum / static_cast<double>(values.size());
    s.mean = mean;
    s.min = *std::min_element(values.begin(), values.end());
    s.max = *std::max_element(values.begin(), values.end());
    if (values.size() >= 2) {
        double squares = 0;
        for (double x : values) squares += (x - mean) * (x - mean);
        s.sd = std::sqrt(squares / static_cast<double>(values.size() - 1));
    }
    return s;
}

// The rows of _Spread.csv from the seeds' runs and the expected-shares run.
std::vector<files::SpreadRecord> spreadRows(const std::vector<Estimates>& seeds,
                                            const Estimates& expected) {
    constexpr int kCombined = 1 << 30;
    std::vector<std::string> variables;  // in the order first met: the report's order
    const auto keyOf = [&](const files::EstimateRecord& r) {
        auto at = std::find(variables.begin(), variables.end(), r.variable);
        if (at == variables.end()) at = variables.insert(at, r.variable);
        return Key{r.stratum.value_or(kCombined), static_cast<std::size_t>(at - variables.begin())};
    };
    struct Collected {
        std::optional<int> stratum;
        std::string variable;
        std::vector<double> ybar, se;
        int selected = 0;
        const files::EstimateRecord* expected = nullptr;
    };
    std::map<Key, Collected> rows;
    for (const Estimates& run : seeds) {
        for (const auto& r : run) {
            Collected& c = rows[keyOf(r)];
            c.stratum = r.stratum;
            c.variable = r.variable;
            c.ybar.push_back(r.ybarLR);
            c.se.push_back(r.seYbarLR);
            c.selected += r.selected ? 1 : 0;
        }
    }
    for (const auto& r : expected) {
        Collected& c = rows[keyOf(r)];
        c.stratum = r.stratum;
        c.variable = r.variable;
        c.expected = &r;
    }
    std::vector<files::SpreadRecord> out;
    for (const auto& [key, c] : rows) {
        files::SpreadRecord r;
        r.stratum = c.stratum;
        r.variable = c.variable;
        r.seeds = static_cast<int>(c.ybar.size());
        r.of = static_cast<int>(seeds.size());
        r.ybarLR = statistics(c.ybar);
        r.seYbarLR = statistics(c.se);
        r.selectedShare = seeds.empty() ? 0.0 : double(c.selected) / double(seeds.size());
        if (c.expected) {
            r.expectedYbarLR = c.expected->ybarLR;
            r.expectedSeYbarLR = c.expected->seYbarLR;
            r.expectedSelected = c.expected->selected;
        }
        out.push_back(r);
    }
    return out;
}

class SpreadRun {
  public:
    SpreadRun(const Session& session, std::ostream& out) : session_(session), out_(out) {}

    // Runs the steps `numbers` in order; false (with the message shown) when one stops.
    bool steps(std::initializer_list<int> numbers, std::optional<std::uint64_t> seed) {
        std::vector<workflow::StepEntry> chosen;
        for (const workflow::StepEntry& entry : workflow::stepTable()) {
            if (std::find(numbers.begin(), numbers.end(), entry.number()) != numbers.end())
                chosen.push_back(entry);
        }
        QuietView view;
        workflow::StepSequence sequence(chosen);
        int stopped = 0;
        workflow::runSequence(
            sequence, [&] { return workflow::stepInputs(session_, ProductCodePolicy::Drop); }, seed,
            view, {},
            [&](const workflow::StepEntry& entry, const StepResult& result) {
                if (!result.completed()) stopped = entry.number();
            });
        if (stopped == 0) return true;
        out_ << "step " << stopped << " did not complete"
             << (view.lastMessage().empty() ? "" : ": " + view.lastMessage()) << "\n";
        return false;
    }
    Estimates estimates() const {
        return files::readWithHeader<files::EstimatesFile>(
            files::path(session_.dataFilesDir(), session_.dataSetName,
                        files::DataSetFile::Estimates),
            {});
    }
    Session& session() { return session_; }

  private:
    Session session_;
    std::ostream& out_;
};

}  // namespace

int spreadCommand(CliContext& ctx) {
    if (std::find(ctx.args.begin(), ctx.args.end(), "--help") != ctx.args.end()) {
        ctx.out << spreadUsage();
        return kExitOk;
    }
    SpreadPlan plan;
    try {
        plan = parseSpread(ctx);
    } catch (const UsageError& e) {
        ctx.err << "error: " << e.what() << "\n"
                << "Try 'orravant-cli spread --help'.\n";
        return kExitUsage;
    }
    try {
        Session session;
        session.appDir = std::filesystem::absolute(resolveAppDir(ctx.appDir)).lexically_normal();
        startUp(session);
        if (auto problem = parameterFileProblem(session.appDir, session.params))
            throw std::runtime_error(*problem);
        // The data set is this command's while it reads it and writes the spread.
        const DataSetLock lock = DataSetLock::acquire(
            session.dataFilesDir(), plan.names.dataSetName, "orravant-cli spread");
        ScratchDir scratch;
        Session work = plan.names;
        work.appDir = scratch.path();
        work.params = session.params;
        work.run.threads = plan.threads;
        copyDataSet(session.dataFilesDir(), work.dataFilesDir(), plan.names.dataSetName);

        SpreadRun run(work, ctx.err);
        if (!run.steps({5}, std::nullopt)) return kExitFailed;
        std::vector<Estimates> seeds;
        const auto started = std::chrono::steady_clock::now();
        run.session().params.LidarClasses = 0;
        for (int seed = 1; seed <= plan.seeds; ++seed) {
            if (!run.steps({6, 7, 8, 9}, static_cast<std::uint64_t>(seed))) return kExitFailed;
            seeds.push_back(run.estimates());
            ctx.out << "seed " << seed << " of " << plan.seeds << " done" << std::endl;
        }
        run.session().params.LidarClasses = 1;
        if (!run.steps({6, 7, 8, 9}, std::nullopt)) return kExitFailed;
        const Estimates expected = run.estimates();
        const auto seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        ctx.out << "expected shares done (" << static_cast<long long>(std::lround(seconds))
                << " s in all)" << std::endl;

        OutputSet outputs;
        const auto spreadFile =
            files::path(session.dataFilesDir(), plan.names.dataSetName, files::DataSetFile::Spread);
        OutputFile& out = outputs.file(spreadFile);
        files::SpreadFile::writeHeader(out);
        for (const auto& row : spreadRows(seeds, expected)) files::SpreadFile::write(out, row);
        outputs.commit();
        ctx.out << "Spread: " << spreadFile.string() << "\n";
    } catch (const std::exception& e) {
        ctx.err << "error: " << e.what() << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace orr
