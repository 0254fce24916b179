// The three data-set input files in memory, their readers, writers and record counters:
// the regression coefficient file, the strata file and the DBH file.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace orr {

// The coefficient file in memory: five equations (the file's blocks), each with a row
// b0, b1, b2, b3 per species 1..maxSpec. Row 0 of every equation exists and stays 0.
//   1 DBH from height, 2 height from DBH and age, 3 ground height from a DataSet 1 LiDAR height,
//   4 ground height from a DataSet 2 LiDAR height, 5 volume.
struct CoefficientTable {
    int maxSpec = 0;
    std::array<std::vector<std::array<double, 4>>, 6> rows;  // [equation 1..5][species 0..maxSpec]

    static CoefficientTable empty(int maxSpec);
    const std::array<double, 4>& at(int equation, int species) const {
        return rows[equation][species];
    }
    std::array<double, 4>& at(int equation, int species) { return rows[equation][species]; }
};

// Minimum and maximum DBH per [species 0..maxSpec][product 0..maxProd]; a class the file does not
// name has 0 and 0.
struct DbhLimits {
    int maxSpec = 0;
    int maxProd = 0;
    std::vector<double> minDbh, maxDbh;  // (maxSpec + 1) * (maxProd + 1), species-major

    static DbhLimits empty(int maxSpec, int maxProd);
    double min(int species, int product) const { return minDbh[index(species, product)]; }
    double max(int species, int product) const { return maxDbh[index(species, product)]; }
    std::size_t index(int species, int product) const {
        return static_cast<std::size_t>(species) * (maxProd + 1) + product;
    }
};

struct StrataRow {
    std::int16_t stratum = 0;
    std::int16_t beginPlot = 0;
    std::int16_t endPlot = 0;
    std::int16_t avgAge = 0;
};
// The strata file in memory, rows in file order (at most 999).
using StrataTable = std::vector<StrataRow>;
inline constexpr int kMaxStrataRows = 999;

// Readers. Each throws InputError naming the file, record, field and text on input it cannot use.
// Coefficient file: 5 * maxSpec records of four numbers; fewer records is an error; records
// beyond them are not read.
CoefficientTable readCoefficientFile(const std::filesystem::path& file, int maxSpec);
// DBH file: records of species (1..maxSpec), product (1..maxProd), min, max to the end of the
// file; a later record for a class replaces an earlier one. An empty file is the caller's
// business (check fileLength first).
DbhLimits readDbhFile(const std::filesystem::path& file, int maxSpec, int maxProd);
// Strata file: records of four 16-bit integers to the end of the file; more than 999 records is
// an error.
StrataTable readStrataFile(const std::filesystem::path& file);

// Record counters of the select dialogs: groups of four fields, divided (5 for the coefficient
// file, maxSpec for the DBH file) and rounded half to even. A DBH count while maxSpec is 0 gives
// nullopt (always a mismatch).
long countCoefficientSpecies(const std::filesystem::path& file);
std::optional<long> countDbhProducts(const std::filesystem::path& file, int maxSpec);

// A grid cell that cannot be saved: `row` and `column` are those of the grid the cells came from
// (1-based data row, 0-based column as the editor shows them); what() is the whole message.
class CellError : public std::runtime_error {
public:
    CellError(int row, int column, const std::string& message)
        : std::runtime_error(message), row(row), column(column) {}
    int row;
    int column;
};

// Writers. They take the cells' texts as the grid editors hold them, check every cell before
// anything is written (CellError), and write through a temporary file and a rename.
// Coefficient rows: 5 * maxSpec rows of four cells (block by block, species by species). An empty
// cell, and "-" in the fourth, is 0; a number is written as its 32-bit float's shortest text.
void writeCoefficientFile(const std::filesystem::path& file,
                          const std::vector<std::array<std::string, 4>>& rows);
// Strata rows: four cells each, every value the nearest 16-bit integer (half to even); an empty
// cell repeats the value above it (0 in the first row). More than 999 rows is refused.
void writeStrataFile(const std::filesystem::path& file,
                     const std::vector<std::array<std::string, 4>>& rows);
// DBH rows: maxSpec * maxProd rows of (Min DBH, Max DBH) cells; species and product come from the
// loop; an entered text is written quoted as entered, an empty cell as unquoted 0.
void writeDbhFile(const std::filesystem::path& file, int maxSpec, int maxProd,
                  const std::vector<std::array<std::string, 2>>& rows);

}  // namespace orr
