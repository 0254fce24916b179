// The regression coefficient file of a data set (set-up, step 3): five blocks of equations, one
// record of four coefficients b0..b3 per species in each.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
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

// Readers throw InputError naming the file, record, field and text on input they cannot use.
// Writers take the cells' texts as the grid editors hold them, check every cell before anything is
// written (CellError), and write all or nothing.
// Coefficient file: 5 * maxSpec records of four numbers; fewer records is an error; records
// beyond them are not read.
CoefficientTable readCoefficientFile(const std::filesystem::path& file, int maxSpec);

// Coefficient rows: 5 * maxSpec rows of four cells (block by block, species by species). A number
// is written as its 32-bit float's shortest text; "-" in the fourth is 0. An empty cell is
// refused, but for the fourth of an equation without b3 (equations 1, 3 and 4), which is 0.
void writeCoefficientFile(const std::filesystem::path& file,
                          const std::vector<std::array<std::string, 4>>& rows);

// Record counter of the select dialog: records of four fields divided by 5, rounded half to
// even.
long countCoefficientSpecies(const std::filesystem::path& file);

}  // namespace orr
