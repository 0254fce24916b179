// Checks of the grid cells that the input-file writers receive.
#include "files/CellText.h"

#include "core/InputError.h"
#include "core/NumberText.h"

namespace orr::cells {

std::string_view trimmed(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool isEmpty(std::string_view text) {
    return trimmed(text).empty();
}

void reject(int row, int column, std::string_view text, std::string_view problem) {
    std::string message = "Row " + std::to_string(row) + ", column " + std::to_string(column) +
                          ": \"" + shownText(trimmed(text)) + "\" " + std::string(problem);
    throw CellError(row, column, message);
}

double number(std::string_view text, int row, int column) {
    const std::optional<double> value = parseNumber(trimmed(text));
    if (!value) reject(row, column, text, "is not a number");
    return *value;
}

}  // namespace orr::cells
