// The cells and rows of the tables in the report for the browser and its plan section: numbers
// rounded half away from zero, as the text reports round them.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace orr {

// `x` with `decimals` decimals, rounded half away from zero.
std::string halfAwayText(double x, int decimals);
// <td>text</td>, or <td class="cls">text</td>; `text` is written as it is (already HTML).
std::string cell(std::string_view text, std::string_view cls = {});
// A cell of `x` with `decimals` decimals; empty when there is no value.
std::string optionalCell(const std::optional<double>& x, int decimals);
// <tr> of <th> cells, one a name, and a line end.
std::string headerRow(std::initializer_list<std::string_view> names);

}  // namespace orr
