// The DBH file of a data set (set-up, step 4): the smallest and largest DBH of every species in
// every product class.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orr {

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

// Readers throw InputError naming the file, record, field and text on input they cannot use.
// Writers take the cells' texts as the grid editors hold them, check every cell before anything is
// written (CellError), and write all or nothing.
// DBH file: records of species (1..maxSpec), product (1..maxProd), min, max to the end of the
// file; a later record for a class replaces an earlier one. An existing empty file stops the step
// with "Error: No min/max dbhes on file for dataset <name>" (an InputError), and so does a file
// that holds no record at all (blank lines only); a file without a record for one of the maxSpec *
// maxProd species-product classes stops it with a message naming the first class missing; a missing
// file gives the reader's message.
DbhLimits loadDbhLimits(const std::filesystem::path& file, int maxSpec, int maxProd,
                        const std::string& dataSetName);

// DBH rows: maxSpec * maxProd rows of (Min DBH, Max DBH) cells; species and product come from the
// loop; an entered text is written quoted as entered, an empty cell as unquoted 0.
void writeDbhFile(const std::filesystem::path& file, int maxSpec, int maxProd,
                  const std::vector<std::array<std::string, 2>>& rows);

// Record counter of the select dialog: records of four fields divided by maxSpec, rounded half
// to even; nullopt while maxSpec is 0 (always a mismatch).
std::optional<long> countDbhProducts(const std::filesystem::path& file, int maxSpec);

}  // namespace orr
