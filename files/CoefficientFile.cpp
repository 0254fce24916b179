// The regression coefficient file: five blocks (DBH, height, two ground-height and the volume
// equation) of one record b0, b1, b2, b3 per species; the position of a record says which
// equation and species it belongs to.
#include "files/CoefficientFile.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "core/CommaReader.h"
#include "core/CommaWriter.h"
#include "core/InputError.h"
#include "core/NumberText.h"
#include "core/OutputSet.h"
#include "core/Warnings.h"
#include "files/CellText.h"

namespace orr {

namespace {

constexpr int kEquations = 5;
constexpr const char* kCoefficientNames[4] = {"b0", "b1", "b2", "b3"};

// Equations 1, 3 and 4 have no b3: the editor shows "-" in that column.
bool equationHasB3(int equation) {
    return equation == 2 || equation == 5;
}

// A coefficient cell as the 32-bit float the file holds. An empty cell is refused: a coefficient
// nobody entered is not written as 0. Only the b3 of an equation without one may stay empty or
// show "-" (written as 0); `equation` is 0 when the rows are not five whole blocks.
float coefficientCell(const std::string& text, int row, int cell, int equation) {
    const int column = cell + 1;  // column 0 of the editor holds the species labels
    const std::string_view value = cells::trimmed(text);
    if (cell == 3 && value == "-") return 0.0f;
    if (value.empty()) {
        if (cell == 3 && equation != 0 && !equationHasB3(equation)) return 0.0f;
        throw CellError(row, column,
                        "Row " + std::to_string(row) + ", column " + std::to_string(column) +
                            " is blank: enter the coefficient (0 where it is zero)");
    }
    const double number = cells::number(value, row, column);
    // Checked before the conversion: a double beyond the float range has no float value.
    if (std::fabs(number) > static_cast<double>(std::numeric_limits<float>::max())) {
        cells::reject(row, column, value, "is too large for a coefficient");
    }
    return static_cast<float>(number);
}

}  // namespace

CoefficientTable CoefficientTable::empty(int maxSpec) {
    CoefficientTable table;
    table.maxSpec = std::max(maxSpec, 0);
    for (auto& equation : table.rows) {
        equation.assign(static_cast<std::size_t>(table.maxSpec) + 1, {0.0, 0.0, 0.0, 0.0});
    }
    return table;
}

CoefficientTable readCoefficientFile(const std::filesystem::path& file, int maxSpec) {
    CoefficientTable table = CoefficientTable::empty(maxSpec);
    CommaReader reader(file);
    const long needed = static_cast<long>(kEquations) * table.maxSpec;
    long records = 0;
    for (int equation = 1; equation <= kEquations; ++equation) {
        for (int species = 1; species <= table.maxSpec; ++species) {
            if (!reader.next(4)) {
                throw InputError::file(
                    file, "it holds " + std::to_string(records) + " coefficient records, but " +
                              std::to_string(needed) + " (5 equations of " +
                              std::to_string(table.maxSpec) + " species) are needed");
            }
            ++records;
            auto& row = table.at(equation, species);
            for (int i = 0; i < 4; ++i) row[i] = reader.number(i, kCoefficientNames[i]);
        }
    }
    // Records beyond them are not read. A record too many inside a block would have moved every
    // later block by one, so the forester hears of them.
    bool more = false;
    try {
        more = reader.next(4);
    } catch (const InputError&) {
        more = true;
    }
    if (more) {
        warn("coefficient records beyond the equations",
             "File " + shownPath(file) + " holds more than the " + std::to_string(needed) +
                 " coefficient records (5 equations of " + std::to_string(table.maxSpec) +
                 " species) that are read; the rest is not used. Check that no record was "
                 "added inside a block of an equation.");
    }
    return table;
}

void writeCoefficientFile(const std::filesystem::path& file,
                          const std::vector<std::array<std::string, 4>>& rows) {
    // Every cell is checked before anything is written.
    const std::size_t species = rows.size() % kEquations == 0 ? rows.size() / kEquations : 0;
    std::string content;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r) + 1;
        const int equation = species == 0 ? 0 : static_cast<int>(r / species) + 1;
        RecordLine line;
        for (int cell = 0; cell < 4; ++cell) {
            line.raw(shortestFloat(coefficientCell(rows[r][cell], row, cell, equation)));
        }
        line.appendTo(content);
    }
    writeFileAtomically(file, content);
}

}  // namespace orr
