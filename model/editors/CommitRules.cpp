// How a typed entry becomes the text of its cell when it is committed.
#include "model/editors/CommitRules.h"

#include <cmath>
#include <limits>
#include <optional>

#include "core/NumberText.h"

namespace orr::editors {

std::string floatCellText(std::string_view entry) {
    const std::optional<double> value = parseNumber(entry);
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) return std::string(entry);
    return shortestFloat(static_cast<float>(*value));
}

std::string int16CellText(std::string_view entry) {
    const std::optional<double> value = parseNumber(entry);
    if (!value) return std::string(entry);
    const std::optional<std::int16_t> whole = toInt16(*value);
    if (!whole) return std::string(entry);
    return std::to_string(*whole);
}

}  // namespace orr::editors
