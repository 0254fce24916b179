// Checks of the grid cells that the input-file writers receive (internal to the writers).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orr::cells {

// The cell's text without blanks around it.
std::string_view trimmed(std::string_view text);
bool isEmpty(std::string_view text);

// "Row <row>, column <column>: "<text>" <problem>" as a CellError.
[[noreturn]] void reject(int row, int column, std::string_view text, std::string_view problem);

// The cell's number; a text that is not a finite number is rejected.
double number(std::string_view text, int row, int column);

}  // namespace orr::cells
