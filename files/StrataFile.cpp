// The strata file: records of stratum, first plot, last plot and average age, four 16-bit
// integers each, in the order the user entered them; at most 999 of them.
#include "files/StrataFile.h"

#include <array>
#include <string>

#include "core/CommaReader.h"
#include "core/CommaWriter.h"
#include "core/InputError.h"
#include "core/NumberText.h"
#include "core/OutputSet.h"
#include "files/CellText.h"

namespace orr {

namespace {

constexpr const char* kStrataFields[4] = {"Strata", "Begin Plot", "End Plot", "Avg age"};

}  // namespace

StrataTable readStrataFile(const std::filesystem::path& file) {
    StrataTable table;
    CommaReader reader(file);
    while (reader.next(4)) {
        if (table.size() >= static_cast<std::size_t>(kMaxStrataRows)) {
            reader.fail(0, kStrataFields[0],
                        "is beyond the " + std::to_string(kMaxStrataRows) +
                            " records a strata file can hold");
        }
        StrataRow row;
        row.stratum = reader.int16(0, kStrataFields[0]);
        row.beginPlot = reader.int16(1, kStrataFields[1]);
        row.endPlot = reader.int16(2, kStrataFields[2]);
        row.avgAge = reader.int16(3, kStrataFields[3]);
        table.push_back(row);
    }
    // Without a stratum every plot lies outside the strata: steps 6, 7 and 9 would compute
    // nothing and remove the results of an earlier run.
    if (table.empty()) {
        throw InputError::file(file,
                               "holds no stratum (records of stratum, begin plot, end plot and "
                               "average age); at least one is needed");
    }
    return table;
}

void writeStrataFile(const std::filesystem::path& file,
                     const std::vector<std::array<std::string, 4>>& rows) {
    if (rows.size() > static_cast<std::size_t>(kMaxStrataRows)) {
        throw CellError(kMaxStrataRows + 1, 0,
                        "A strata file can have at most " + std::to_string(kMaxStrataRows) +
                            " rows; this grid has " + std::to_string(rows.size()));
    }
    // An empty cell keeps the value of the record before: it repeats the value above it
    // (0 in the first row). Every cell is checked before anything is written.
    std::array<std::int16_t, 4> values{0, 0, 0, 0};
    std::string content;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r) + 1;
        for (int column = 0; column < 4; ++column) {
            const std::string& text = rows[r][column];
            if (cells::isEmpty(text)) continue;
            const auto whole = toInt16(cells::number(text, row, column));
            if (!whole) cells::reject(row, column, text, "is outside -32768..32767");
            values[column] = *whole;
        }
        RecordLine line;
        for (const std::int16_t value : values) line.integer(value);
        line.appendTo(content);
    }
    writeFileAtomically(file, content);
}

}  // namespace orr
