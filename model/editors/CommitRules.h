// How a typed entry becomes the text of its cell when it is committed.
#pragma once

#include <string>
#include <string_view>

namespace orr::editors {

// A number becomes the shortest text of its 32-bit float value (0.123456789 -> "0.1234568");
// any other entry, and a number beyond the float range, stays as typed (Save refuses it).
std::string floatCellText(std::string_view entry);

// A number becomes the text of the nearest 16-bit integer, halves to the even neighbour
// (2.5 -> "2", 3.5 -> "4"); any other entry, and a number outside -32768..32767, stays as typed
// (Save refuses it).
std::string int16CellText(std::string_view entry);

}  // namespace orr::editors
