// The strata file of a data set (set-up, step 4): stratum number, first and last plot of its
// range, and the stratum's average age. The stratum and the age are 16-bit integers; the plot
// numbers, like every plot number, run up to 2000000000 (32-bit).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orr {

struct StrataRow {
    std::int16_t stratum = 0;
    std::int32_t beginPlot = 0;
    std::int32_t endPlot = 0;
    std::int16_t avgAge = 0;
};
// The strata file in memory, rows in file order (at most 999).
using StrataTable = std::vector<StrataRow>;
inline constexpr int kMaxStrataRows = 999;

// Readers throw InputError naming the file, record, field and text on input they cannot use.
// Writers take the cells' texts as the grid editors hold them, check every cell before anything is
// written (CellError), and write all or nothing.
// Strata file: records of stratum, begin plot, end plot and age to the end of the file, the plots
// 32-bit and the others 16-bit integers; a file without a record and one of more than 999
// records are errors.
StrataTable readStrataFile(const std::filesystem::path& file);

// Strata rows: four cells each, every value the nearest whole number (half to even), 16-bit for
// the stratum and the age and 32-bit for the plots; an empty cell repeats the value above it.
// Refused: no row or more than 999, a row wholly blank, an empty cell in the first row, a begin
// plot above its end plot, and two ranges of one stratum that share a plot.
void writeStrataFile(const std::filesystem::path& file,
                     const std::vector<std::array<std::string, 4>>& rows);

}  // namespace orr
