#include "model/session/ParameterRanges.h"

#include <algorithm>
#include <cmath>

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
    return std::nullopt;
}

}  // namespace orr
