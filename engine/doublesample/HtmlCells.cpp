#include "engine/doublesample/HtmlCells.h"

#include "core/NumberText.h"

namespace orr {

std::string halfAwayText(double x, int decimals) {
    return fixedDecimalsHalfAway(
        x, decimals == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(decimals), '0'));
}

std::string cell(std::string_view text, std::string_view cls) {
    return cls.empty() ? "<td>" + std::string(text) + "</td>"
                       : "<td class=\"" + std::string(cls) + "\">" + std::string(text) + "</td>";
}

std::string optionalCell(const std::optional<double>& x, int decimals) {
    return cell(x ? halfAwayText(*x, decimals) : "");
}

std::string headerRow(std::initializer_list<std::string_view> names) {
    std::string row = "<tr>";
    for (std::string_view n : names) row += "<th>" + std::string(n) + "</th>";
    return row + "</tr>\n";
}

}  // namespace orr
