// The strata file: records of stratum, first plot, last plot and average age in the order the
// user entered them; at most 999 of them. The plots are 32-bit integers, the others 16-bit.
#include "files/StrataFile.h"

#include <array>
#include <cstdint>
#include <limits>
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

constexpr long long kSmallestInt32 = std::numeric_limits<std::int32_t>::min();
constexpr long long kLargestInt32 = std::numeric_limits<std::int32_t>::max();

// A plot number of a range: any 32-bit whole number (a range may reach beyond the plots).
std::int32_t plotField(const CommaReader& reader, int i) {
    const long long whole = nearestWholeHalfEven(reader.number(i, kStrataFields[i]));
    if (whole < kSmallestInt32 || whole > kLargestInt32) {
        reader.fail(i, kStrataFields[i], "is outside the whole numbers -2147483648 to 2147483647");
    }
    return static_cast<std::int32_t>(whole);
}

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
        row.beginPlot = plotField(reader, 1);
        row.endPlot = plotField(reader, 2);
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
    std::array<long long, 4> values{0, 0, 0, 0};
    std::string content;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r) + 1;
        for (int column = 0; column < 4; ++column) {
            const std::string& text = rows[r][column];
            if (cells::isEmpty(text)) continue;
            const double number = cells::number(text, row, column);
            if (column == 1 || column == 2) {
                const long long whole = nearestWholeHalfEven(number);
                if (whole < kSmallestInt32 || whole > kLargestInt32)
                    cells::reject(row, column, text, "is outside -2147483648..2147483647");
                values[column] = whole;
            } else {
                const auto whole = toInt16(number);
                if (!whole) cells::reject(row, column, text, "is outside -32768..32767");
                values[column] = *whole;
            }
        }
        RecordLine line;
        for (const long long value : values) line.integer(value);
        line.appendTo(content);
    }
    writeFileAtomically(file, content);
}

}  // namespace orr
