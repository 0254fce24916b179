// orravant-cli params: print the user parameters, or check and save new values the way the
// parameters dialog does.
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "cli/CliCommand.h"
#include "core/InputError.h"
#include "core/NumberText.h"
#include "model/session/ParameterRanges.h"
#include "model/session/Session.h"
#include "model/session/Startup.h"

namespace orr {

namespace {

// The five counts in the order the dialog checks them, with the words of their messages.
constexpr const auto& kCounts = kCountParameters;

bool sameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// A list choice given as one of its texts or as its position.
std::optional<std::int16_t> listPosition(std::string_view text, std::string_view first,
                                         std::string_view second) {
    text = trim(text);
    if (text == "0" || sameName(text, first)) return 0;
    if (text == "1" || sameName(text, second)) return 1;
    return std::nullopt;
}

// A top diameter as printed; a file may hold a value that is not a number.
std::string tipText(float x) {
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x > 0 ? "infinity" : "-infinity";
    return shortestFloat(x);
}

// LiDAR height adjustment as a word: list position 0 ("Yes") adjusts, 1 ("No") does not; a
// file may hold another number, printed as it is.
std::string heightAdjustmentWord(std::int16_t position) {
    if (position == 0) return "yes";
    if (position == 1) return "no";
    return std::to_string(position);
}

// A plan setting as printed; a file may hold one that is not a number.
std::string numberText(double x) {
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x > 0 ? "infinity" : "-infinity";
    return shortest(x);
}

void printParameters(std::ostream& out, const ParamRecord& p) {
    out << "PACF=" << p.PACF << "\n"
        << "MaxSpec=" << p.MaxSpec << "\n"
        << "MaxProd=" << p.MaxProd << "\n"
        << "MaxItern=" << p.MaxItern << "\n"
        << "MaxPlots=" << p.MaxPlots << "\n"
        << "LiHgtAdj=" << heightAdjustmentWord(p.LiHgtAdj) << "\n"
        << "ModelSet=" << p.ModelSet << "\n"
        << "PTIP=" << tipText(p.PTIP) << "\n"
        << "STIP=" << tipText(p.STIP) << "\n";
    // A value outside the list (from a damaged file) prints as its number.
    if (p.LidarClasses == 0 || p.LidarClasses == 1)
        out << "LidarClasses=" << kLidarClassesNames[static_cast<std::size_t>(p.LidarClasses)]
            << "\n";
    else
        out << "LidarClasses=" << p.LidarClasses << "\n";
    for (const PlanParameter& setting : kPlanParameters)
        out << setting.name << "=" << numberText(p.*setting.field) << "\n";
}

// The values typed for the parameters, as texts; a parameter not given keeps its stored value.
struct Entries {
    std::array<std::optional<std::string>, 5> counts;
    std::optional<std::string> LiHgtAdj, ModelSet, PTIP, STIP;
    std::optional<std::string> LidarClasses;
    std::array<std::optional<std::string>, kPlanParameters.size()> plan;
};

// Reads NAME=VALUE words; returns the unusable word's problem, or nothing.
std::optional<std::string> parseEntries(const std::vector<std::string>& words, Entries& e) {
    for (const std::string& word : words) {
        const std::size_t eq = word.find('=');
        if (eq == std::string::npos)
            return "expected NAME=VALUE, found \"" + shownText(word) + "\"";
        const std::string_view name = trim(std::string_view(word).substr(0, eq));
        std::string value = word.substr(eq + 1);
        bool known = false;
        for (std::size_t i = 0; i < kCounts.size(); ++i) {
            if (sameName(name, kCounts[i].name)) {
                e.counts[i] = value;
                known = true;
            }
        }
        for (std::size_t i = 0; i < kPlanParameters.size(); ++i) {
            if (sameName(name, kPlanParameters[i].name)) {
                e.plan[i] = value;
                known = true;
            }
        }
        if (known) continue;
        if (sameName(name, "LiHgtAdj")) {
            e.LiHgtAdj = value;
        } else if (sameName(name, "ModelSet")) {
            e.ModelSet = value;
        } else if (sameName(name, "PTIP")) {
            e.PTIP = value;
        } else if (sameName(name, "STIP")) {
            e.STIP = value;
        } else if (sameName(name, "LidarClasses")) {
            e.LidarClasses = value;
        } else {
            return "unknown parameter \"" + shownText(name) + "\"";
        }
    }
    return std::nullopt;
}

// A top diameter as the dialog takes it: the number its text begins with, as a 32-bit float.
std::optional<std::string> checkTip(const char* name, std::string_view text, float& value) {
    const float single = static_cast<float>(leadingNumber(text));
    if (auto problem = tipProblem(name, single)) return problem;
    value = single;
    return std::nullopt;
}

// Applies the entries to `p` as the dialog's Save does; returns the message of a refused value.
std::optional<std::string> applyEntries(const Entries& e, ParamRecord& p, std::ostream& err) {
    ParamRecord next = p;
    // Each count as the dialog takes it (ParameterRanges.h).
    for (std::size_t i = 0; i < kCounts.size(); ++i) {
        const std::string text = e.counts[i] ? *e.counts[i] : std::to_string(kCounts[i].get(p));
        std::int32_t value = 0;
        if (auto message = typedCount(kCounts[i], text, value)) return message;
        kCounts[i].set(next, value);
    }
    if (e.LiHgtAdj) {
        const auto position = listPosition(*e.LiHgtAdj, "Yes", "No");
        if (!position) return "LiHgtAdj should be yes or no (or 0 for yes, 1 for no)";
        next.LiHgtAdj = *position;
    }
    if (e.ModelSet) {
        const auto position = listPosition(*e.ModelSet, "ModelSet 1", "ModelSet 2");
        if (!position) return "ModelSet should be \"ModelSet 1\", \"ModelSet 2\", 0 or 1";
        next.ModelSet = *position;
    }
    if (e.LidarClasses) {
        const auto position =
            listPosition(*e.LidarClasses, kLidarClassesNames[0], kLidarClassesNames[1]);
        if (!position) return "LidarClasses should be \"draws\", \"expected\", 0 or 1";
        next.LidarClasses = *position;
    }
    // PTIP and STIP belong to ModelSet 2 (position 1); otherwise they keep their values.
    if (next.ModelSet == 1) {
        if (e.PTIP) {
            if (auto message = checkTip("PTIP", *e.PTIP, next.PTIP)) return message;
        }
        if (e.STIP) {
            if (auto message = checkTip("STIP", *e.STIP, next.STIP)) return message;
        }
    } else if (e.PTIP || e.STIP) {
        err << "PTIP and STIP are kept only with ModelSet 2 (ModelSet=1); not changed\n";
    }
    // The plan of the next inventory: plot costs and target error.
    for (std::size_t i = 0; i < kPlanParameters.size(); ++i) {
        if (!e.plan[i]) continue;
        const PlanParameter& setting = kPlanParameters[i];
        if (auto message = typedPlanValue(setting, *e.plan[i], next.*setting.field)) return message;
    }
    // What was not given keeps its stored value, which must be in range too.
    if (auto problem = parameterProblem(next)) return problem;
    p = next;
    return std::nullopt;
}

int usage(std::ostream& err, std::string_view problem) {
    err << "orravant-cli params: " << problem << "\n"
        << "Usage: orravant-cli [--app-dir DIR] params [set NAME=VALUE ...]\n";
    return kExitUsage;
}

}  // namespace

int paramsCommand(CliContext& ctx) {
    const bool setting = !ctx.args.empty() && ctx.args.front() == "set";
    if (!ctx.args.empty() && !setting) return usage(ctx.err, "unexpected \"" + ctx.args[0] + "\"");
    Entries entries;
    if (setting) {
        const std::vector<std::string> words(ctx.args.begin() + 1, ctx.args.end());
        if (words.empty()) return usage(ctx.err, "set needs at least one NAME=VALUE");
        if (auto problem = parseEntries(words, entries)) return usage(ctx.err, *problem);
    }

    Session session;
    try {
        session.appDir = resolveAppDir(ctx.appDir);
        if (!setting) {
            // Printing changes nothing: no file is made, written or deleted.
            const StartupResult looked = lookUp(session);
            printParameters(ctx.out, session.params);
            if (looked.parameterProblem) ctx.err << "note: " << *looked.parameterProblem << "\n";
            return kExitOk;
        }
        // The stored values are read and the new ones saved under one lock, so that a set made
        // by another process meanwhile is never undone by this one.
        const ParameterFileLock lock = ParameterFileLock::acquire(session.appDir);
        startUp(session, &lock);
        if (auto message = applyEntries(entries, session.params, ctx.err)) {
            ctx.err << *message << "\n";
            return kExitFailed;
        }
        saveParameters(session.appDir, session.params, &lock);
    } catch (const std::exception& error) {
        ctx.err << error.what() << "\n";
        return kExitFailed;
    }
    ctx.out << "User Parameters Set\n";
    return kExitOk;
}

}  // namespace orr
