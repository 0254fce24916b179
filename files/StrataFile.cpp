// The strata file: records of stratum, first plot, last plot and average age in the order the
// user entered them; at most 999 of them. The plots are 32-bit integers, the others 16-bit.
#include "files/StrataFile.h"

#include <algorithm>
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
    if (rows.empty()) {
        throw CellError(1, 0, "Row 1 is blank: a strata file needs at least one stratum");
    }
    // An empty cell keeps the value of the record before: it repeats the value above it. A row
    // wholly blank, and an empty cell of the first row, would be saved as values nobody entered:
    // refused. Every cell is checked before anything is written.
    std::array<long long, 4> values{0, 0, 0, 0};
    std::vector<std::array<long long, 4>> records;
    std::string content;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r) + 1;
        if (std::ranges::all_of(rows[r], [](const std::string& t) { return cells::isEmpty(t); })) {
            throw CellError(row, 0,
                            "Row " + std::to_string(row) +
                                " is blank: enter its stratum, begin plot, end plot and average "
                                "age (a blank row is not saved as a copy of the row above)");
        }
        for (int column = 0; column < 4; ++column) {
            const std::string& text = rows[r][column];
            if (cells::isEmpty(text)) {
                if (r > 0) continue;
                throw CellError(row, column,
                                "Row 1, column " + std::to_string(column) +
                                    " is blank, and there is no row above whose value it could "
                                    "repeat");
            }
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
        const long long stratum = values[0], begin = values[1], end = values[2];
        if (begin > end) {
            throw CellError(row, 2,
                            "Row " + std::to_string(row) + ", column 2: the end plot " +
                                std::to_string(end) + " is below the begin plot " +
                                std::to_string(begin));
        }
        // Two ranges of one stratum may not share a plot: it would be counted twice.
        for (std::size_t k = 0; k < records.size(); ++k) {
            const auto& other = records[k];
            if (other[0] == stratum && begin <= other[2] && other[1] <= end) {
                throw CellError(row, 1,
                                "Row " + std::to_string(row) + ", column 1: plots " +
                                    std::to_string(begin) + " to " + std::to_string(end) +
                                    " overlap plots " + std::to_string(other[1]) + " to " +
                                    std::to_string(other[2]) + " of row " + std::to_string(k + 1) +
                                    ", in the same stratum " + std::to_string(stratum));
            }
        }
        records.push_back(values);
        RecordLine line;
        for (const long long value : values) line.integer(value);
        line.appendTo(content);
    }
    writeFileAtomically(file, content);
}

}  // namespace orr
