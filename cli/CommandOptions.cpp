#include "cli/CommandOptions.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "model/workflow/StepTable.h"

namespace orr {

namespace {

constexpr std::size_t kDescriptionColumn = 24;

const std::array<CommandOption, 15> kRunOptions = {{
    {"dataset", "NAME", "data-set name, at most 6 characters",
     "the data\\-set name, 1 to 6 characters; every file the steps write begins with it.", true},
    {"coeff", "FILE", "regression coefficient file", "the regression coefficient file.", false,
     ChosenInput::Coefficients},
    {"strata", "FILE", "strata file", "the strata file.", false, ChosenInput::Strata},
    {"dbh", "FILE", "DBH limits file", "the DBH limits file.", false, ChosenInput::Dbh},
    {"trees", "FILE", "Phase 2 ground tree file", "the Phase 2 ground tree file.", false,
     ChosenInput::Trees},
    {"ds1", "FILE", "Phase 1 LiDAR heights, DataSet 1 (HIGH)",
     "the Phase 1 LiDAR heights of DataSet 1 (HIGH).", false, ChosenInput::LidarDS1},
    {"ds2", "FILE", "Phase 1 LiDAR heights, DataSet 2 (LOW), optional",
     "the Phase 1 LiDAR heights of DataSet 2 (LOW); optional.\n"
     "Without it the DataSet 2 files carry no LiDAR values or are not written, and the reports\n"
     "have no DataSet 2 sections.",
     false, ChosenInput::LidarDS2},
    {"areas", "FILE", "stratum areas, records of stratum,acres (step 9), optional",
     "the stratum areas, records of stratum and acres; optional, read by step 9.\n"
     "Every estimate is a mean per acre (ground volume in cu.ft per acre); with the areas step 9\n"
     "also writes each stratum's total and the strata combined by their areas, with the total\n"
     "over the forest, to\n"
     ".IR NAME _Estimates.csv\n"
     "and\n"
     ".IR NAME _Report.html.\n"
     "A stratum the strata file does not have, a stratum given twice or an area that is not a\n"
     "positive number is refused before any step runs, with a message naming the file, the\n"
     "record and the field.",
     false, ChosenInput::Areas},
    {"steps", "LIST", "steps to run, comma-separated (default: every step available)",
     "the steps to run, comma\\-separated, for example\n.BR 8,9 ;\ndefault: every step, 5 to 9.",
     false, std::nullopt, "5,6,7,8,9"},
    {"seed", "N", "seed of the random draws (default: from the clock, logged)",
     "the seed of the random draws of steps 6 and 7, a whole number from 0 to\n"
     "18446744073709551615.\n"
     "The same inputs and seed give the same files on every machine, whatever the number of\n"
     "threads.\n"
     "Without it the seed comes from the clock and is logged as\n"
     ".BI \"Random seed: \" N\n"
     "so that the run can be repeated."},
    {"threads", "N", "worker threads (default 0: all cores)",
     "worker threads of steps 6 and 7, 0 to 4096; default 0, all cores."},
    {"product-code", "MODE",
     "ask: ask on the terminal for a tree whose DBH fits no product;\n"
     "drop: drop such trees (default when stdin is not a terminal)",
     "what to do with a ground tree whose DBH fits no product class:\n"
     ".B ask\n"
     "asks for its product code on the terminal,\n"
     ".B drop\n"
     "leaves the tree out and counts the trees left out in the log.\n"
     "Default:\n"
     ".B ask\n"
     "when standard input is a terminal,\n"
     ".B drop\n"
     "otherwise.",
     false, std::nullopt, "drop|ask"},
    {"strict", "", "a run that raised warnings ends with exit status 1",
     "end with exit status 1 when the run raised warnings."},
    {"verbose", "",
     "show the status captions on stderr, and progress lines when\n"
     "stderr is no terminal (a terminal always shows a progress line)",
     "show the status captions on standard error, and the progress as a line per tenth of the "
     "work\n"
     "when standard error is not a terminal.\n"
     "On a terminal every step that runs longer than half a second shows its progress on one "
     "line\n"
     "of standard error, drawn again as it goes, with the time taken and an estimate of the "
     "time\n"
     "left, and left standing with the step's time when it ends; with or without this option."},
    {"help",
     "",
     "show this text",
     "show the options of\n.B run\nand exit.",
     false,
     std::nullopt,
     {},
     true},
}};

const std::array<CommandOption, 6> kGenerateOptions = {{
    {"out", "DIR", "directory to write to (created when missing)",
     "the directory to write to, created when missing.", true},
    {"preset", "NAME",
     "sample (default): 400 plots, 40 in Phase 2, 3 species, 3 strata;\n"
     "large: 30000 plots, 3000 in Phase 2, 5 species, 20 strata;\n"
     "large-x2: twice the plots of large (60000, 6000 in Phase 2);\n"
     "state: 1000000 plots, 30000 in Phase 2, as large otherwise\n"
     "(several GB)",
     ".B sample\n"
     "(default): 400 plots, 40 of them in Phase 2, 3 species, 3 strata;\n"
     ".BR large :\n"
     "30000 plots, 3000 in Phase 2, 5 species, 20 strata;\n"
     ".BR large\\-x2 :\n"
     "twice the plots of\n"
     ".BR large ,\n"
     "60000, of which 6000 in Phase 2;\n"
     ".BR state :\n"
     "1000000 plots, 30000 in Phase 2, as\n"
     ".B large\n"
     "otherwise (about 1.8 GB of LiDAR heights).",
     false, std::nullopt, "sample|large|large-x2|state"},
    {"plots", "N", "number of Phase 1 plots (1..10000000), a tenth of them in Phase 2",
     "the number of Phase 1 plots, 1 to 10000000, a tenth of them in Phase 2."},
    {"seed", "N", "seed of the random stands (default 1)",
     "the seed of the random stands; default 1."},
    {"height-decimals", "N", "decimals of the LiDAR heights: 1 (default, tenths of a foot) or 2",
     "the decimals of the LiDAR heights: 1 (the default, tenths of a foot) or 2\n"
     "(hundredths, nearly every LiDAR tree of its own height); the other files are\n"
     "the same either way."},
    {"help",
     "",
     "show this text",
     "show the options of\n.B generate\nand exit.",
     false,
     std::nullopt,
     {},
     true},
}};

// The options of spread: the data set and its input files as for run, then its own.
std::vector<CommandOption> makeSpreadOptions() {
    std::vector<CommandOption> options;
    for (const CommandOption& o : kRunOptions) {
        if (o.required || (o.input && *o.input != ChosenInput::Areas)) options.push_back(o);
    }
    options.push_back({"seeds", "K", "seeds 1 to K (default 20, at most 1000)",
                       "the number of seeds, 1 to 1000; default 20."});
    options.push_back({"threads", "N", "worker threads (default 0: all cores)",
                       "worker threads; default 0, every core."});
    options.push_back({"help",
                       "",
                       "show this text",
                       "show the options of\n.B spread\nand exit.",
                       false,
                       std::nullopt,
                       {},
                       true});
    return options;
}

// A name with roff's escaped minus signs.
std::string roff(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '-') out += '\\';
        out += c;
    }
    return out;
}

// "5", "5 and 9", "6, 7 and 9", "5 to 7".
std::string stepList(const std::vector<int>& steps) {
    if (steps.size() == 1) return "step " + std::to_string(steps[0]);
    const bool run =
        steps.size() > 2 && steps.back() - steps.front() + 1 == static_cast<int>(steps.size());
    if (run)
        return "steps " + std::to_string(steps.front()) + " to " + std::to_string(steps.back());
    std::string text = "steps ";
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (i > 0) text += i + 1 == steps.size() ? " and " : ", ";
        text += std::to_string(steps[i]);
    }
    return text;
}

}  // namespace

std::span<const CommandOption> runOptions() {
    return kRunOptions;
}

std::span<const CommandOption> spreadOptions() {
    static const std::vector<CommandOption> options = makeSpreadOptions();
    return options;
}

std::span<const CommandOption> generateOptions() {
    return kGenerateOptions;
}

std::string wrapped(std::string_view text, std::size_t width, std::string_view indent) {
    std::string out;
    std::size_t lineLength = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view word = text.substr(start, end - start);
        if (lineLength > 0 && lineLength + 1 + word.size() > width) {
            out += "\n";
            out += indent;
            lineLength = indent.size();
        } else if (lineLength > 0) {
            out += ' ';
            ++lineLength;
        }
        out += word;
        lineLength += word.size();
        start = end + 1;
    }
    return out;
}

std::string synopsis(std::string_view start, std::span<const CommandOption> options,
                     std::span<const ChosenInput> neededInputs) {
    // Words that belong together are joined by a no-break marker until wrapped.
    std::string text(start);
    for (const CommandOption& option : options) {
        if (option.hidden) continue;
        const bool needed =
            option.required || (option.input && std::find(neededInputs.begin(), neededInputs.end(),
                                                          *option.input) != neededInputs.end());
        std::string word = "--" + std::string(option.name);
        const std::string_view value =
            option.synopsisValue.empty() ? option.value : option.synopsisValue;
        if (!value.empty()) word += "\x1f" + std::string(value);
        text += ' ' + (needed ? word : "[" + word + "]");
    }
    std::string lines = wrapped(text, 86, "           ");
    std::replace(lines.begin(), lines.end(), '\x1f', ' ');
    return lines + "\n";
}

std::string usageOptions(std::span<const CommandOption> options) {
    std::string out;
    for (const CommandOption& option : options) {
        std::string head = "  --" + std::string(option.name);
        if (!option.value.empty()) head += " " + std::string(option.value);
        head.resize(std::max(head.size() + 1, kDescriptionColumn), ' ');
        out += head;
        for (const char c : option.usage) {
            out += c;
            if (c == '\n') out += std::string(kDescriptionColumn, ' ');
        }
        out += "\n";
    }
    return out;
}

std::string manualOptions(std::span<const CommandOption> options) {
    std::string out;
    for (const CommandOption& option : options) {
        out += ".TP\n";
        if (option.value.empty()) {
            out += ".B " + roff("--" + std::string(option.name)) + "\n";
        } else {
            out += ".BI " + roff("--" + std::string(option.name)) + " \" " +
                   std::string(option.value) + "\"\n";
        }
        out += std::string(option.manual) + "\n";
    }
    return out;
}

std::string inputsNeededText(bool roffText) {
    // The options of the chosen inputs grouped by the steps that need them, in option order.
    std::vector<std::pair<std::vector<int>, std::vector<std::string>>> groups;
    std::vector<int> readingNone;
    for (const workflow::StepEntry& step : workflow::stepTable()) {
        bool any = false;
        for (const ChosenInput input : kChosenInputs) any = any || step.files->needs(input);
        if (!any) readingNone.push_back(step.number());
    }
    for (const CommandOption& option : kRunOptions) {
        if (!option.input) continue;
        std::vector<int> steps;
        for (const workflow::StepEntry& step : workflow::stepTable()) {
            if (step.files->needs(*option.input)) steps.push_back(step.number());
        }
        if (steps.empty()) continue;
        const std::string name = roffText ? "\n.B " + roff("--" + std::string(option.name)) + "\n"
                                          : "--" + std::string(option.name);
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const auto& g) { return g.first == steps; });
        if (group == groups.end()) {
            groups.push_back({steps, {name}});
        } else {
            group->second.push_back(name);
        }
    }
    std::string text = "A file is needed only when a chosen step reads it:";
    if (roffText) text = "An input file is needed only when a chosen step reads it:";
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const auto& [steps, names] = groups[g];
        text += g == 0 ? " " : ", ";
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (i > 0) text += roffText ? "and" : " and ";
            text += names[i];
        }
        text += (roffText ? "" : " ") + std::string("by ") + stepList(steps);
    }
    if (!readingNone.empty()) {
        text += "; " + stepList(readingNone) + (readingNone.size() == 1 ? " reads" : " read") +
                " only the files of the data set";
    }
    text += ".";
    // roff wants no blank at either end of a line.
    for (std::size_t at; (at = text.find(" \n")) != std::string::npos;) text.erase(at, 1);
    for (std::size_t at; (at = text.find("\n ")) != std::string::npos;) text.erase(at + 1, 1);
    return text;
}

}  // namespace orr
