#include "model/session/ParameterRanges.h"

#include <algorithm>
#include <cmath>

#include "core/InputError.h"
#include "core/NumberText.h"

namespace orr {

std::optional<std::string> countProblem(const CountParameter& count, long long value) {
    if (value <= 0) return std::string(count.caption) + " should be greater than 0";
    if (value > count.max) {
        return std::string(count.caption) + " should be at most " + std::to_string(count.max);
    }
    return std::nullopt;
}

std::optional<std::string> typedCount(const CountParameter& count, std::string_view text,
                                      std::int32_t& value) {
    const double number = leadingNumber(text);
    // A text that begins with no number counts as 0 and is refused as not greater than 0. One
    // that begins with a number must be a whole number and nothing else: "2.5" is not taken as
    // 2, nor "20 trees" as 20.
    if (number != 0.0) {
        const std::optional<double> exact = parseNumber(text);
        if (!exact || *exact != std::floor(*exact)) {
            std::string_view shown = text;
            while (!shown.empty() && (shown.front() == ' ' || shown.front() == '\t'))
                shown.remove_prefix(1);
            while (!shown.empty() && (shown.back() == ' ' || shown.back() == '\t'))
                shown.remove_suffix(1);
            return std::string(count.caption) + " should be a whole number, not \"" +
                   shownText(shown) + "\"";
        }
    }
    // A number far beyond every range only has to stay beyond it once it is whole.
    const long long whole =
        number >= 1e15 ? 1000000000000000LL : nearestWholeHalfEven(std::max(number, -1.0));
    if (auto problem = countProblem(count, whole)) return problem;
    value = static_cast<std::int32_t>(whole);
    return std::nullopt;
}

std::optional<std::string> tipProblem(const char* name, float value) {
    if (std::isfinite(value) && value >= 0.0f && value <= kMaxTipDiameter) return std::nullopt;
    std::string message = std::string(name) + " should be a top diameter from 0 to " +
                          shortestFloat(kMaxTipDiameter) + " inches";
    if (std::isnan(value)) message += ", not NaN";
    if (std::isinf(value)) message += value > 0 ? ", not infinity" : ", not -infinity";
    return message;
}

std::optional<std::string> lidarClassesProblem(std::int16_t value) {
    if (value == 0 || value == 1) return std::nullopt;
    return "LidarClasses should be 0 (\"draws\": random draws) or 1 (\"expected\": expected "
           "shares), not " +
           std::to_string(value);
}

std::optional<std::string> planProblem(const PlanParameter& setting, double value) {
    const std::string caption(setting.caption);
    if (std::isnan(value)) return caption + " should be a number, not NaN";
    if (std::isinf(value))
        return caption + " should be a number, not " + (value > 0 ? "infinity" : "-infinity");
    if (value <= 0) return caption + " should be greater than 0";
    if (value < setting.least) return caption + " should be at least " + shortest(setting.least);
    if (value > setting.most) return caption + " should be at most " + shortest(setting.most);
    return std::nullopt;
}

std::optional<std::string> typedPlanValue(const PlanParameter& setting, std::string_view text,
                                          double& value) {
    const std::optional<double> number = parseNumber(text);
    if (!number)
        return std::string(setting.caption) + " should be a number, not \"" + shownText(text) +
               "\"";
    if (auto problem = planProblem(setting, *number)) return problem;
    value = *number;
    return std::nullopt;
}

std::optional<std::string> parameterProblem(const ParamRecord& p) {
    for (const CountParameter& count : kCountParameters) {
        if (auto problem = countProblem(count, count.get(p))) return problem;
    }
    if (p.LiHgtAdj != 0 && p.LiHgtAdj != 1) {
        return "LiHgtAdj should be 0 (\"Yes\") or 1 (\"No\"), not " + std::to_string(p.LiHgtAdj);
    }
    if (p.ModelSet != 0 && p.ModelSet != 1) {
        return "ModelSet should be 0 (\"ModelSet 1\") or 1 (\"ModelSet 2\"), not " +
               std::to_string(p.ModelSet);
    }
    if (p.ModelSet == 1) {
        if (auto problem = tipProblem("PTIP", p.PTIP)) return problem;
        if (auto problem = tipProblem("STIP", p.STIP)) return problem;
    }
    // After the 22-byte record.
    if (auto problem = lidarClassesProblem(p.LidarClasses)) return problem;
    for (const PlanParameter& setting : kPlanParameters) {
        if (auto problem = planProblem(setting, p.*setting.field)) return problem;
    }
    return std::nullopt;
}

}  // namespace orr
