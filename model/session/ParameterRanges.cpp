#include "model/session/ParameterRanges.h"

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
        if (auto problem = countProblem(count, p.*count.field)) return problem;
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
