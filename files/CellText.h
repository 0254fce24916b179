// Checks of the grid cells that the input-file writers receive (internal to the writers).
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orr {

// A grid cell that cannot be saved: `row` and `column` are those of the grid the cells came from
// (1-based data row, 0-based column as the editor shows them); what() is the whole message.
class CellError : public std::runtime_error {
  public:
    CellError(int row, int column, const std::string& message)
        : std::runtime_error(message), row(row), column(column) {}
    int row;
    int column;
};

}  // namespace orr

namespace orr::cells {

// The cell's text without blanks around it.
std::string_view trimmed(std::string_view text);
bool isEmpty(std::string_view text);

// "Row <row>, column <column>: "<text>" <problem>" as a CellError.
[[noreturn]] void reject(int row, int column, std::string_view text, std::string_view problem);

// The cell's number; a text that is not a finite number is rejected.
double number(std::string_view text, int row, int column);

}  // namespace orr::cells
