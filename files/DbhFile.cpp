// The DBH file: the smallest and largest DBH of every species in every product class, one
// record per class, species by species and product by product.
#include "files/DbhFile.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "core/CommaReader.h"
#include "core/CommaWriter.h"
#include "core/InputError.h"
#include "core/OutputSet.h"
#include "files/CellText.h"

namespace orr {

DbhLimits DbhLimits::empty(int maxSpec, int maxProd) {
    DbhLimits limits;
    limits.maxSpec = std::max(maxSpec, 0);
    limits.maxProd = std::max(maxProd, 0);
    const std::size_t size = (static_cast<std::size_t>(limits.maxSpec) + 1) *
                             (static_cast<std::size_t>(limits.maxProd) + 1);
    limits.minDbh.assign(size, 0.0);
    limits.maxDbh.assign(size, 0.0);
    return limits;
}

namespace {

// Reads the file; `named[index(species, product)]` is set for every class a record names.
DbhLimits readLimits(const std::filesystem::path& file, int maxSpec, int maxProd,
                     std::vector<char>& named) {
    DbhLimits limits = DbhLimits::empty(maxSpec, maxProd);
    named.assign(limits.minDbh.size(), 0);
    CommaReader reader(file);
    while (reader.next(4)) {
        const int species = reader.intInRange(0, "Species", 1, limits.maxSpec);
        const int product = reader.intInRange(1, "Product", 1, limits.maxProd);
        const double minDbh = reader.number(2, "Min DBH");
        const double maxDbh = reader.number(3, "Max DBH");
        // A later record for the same class replaces an earlier one.
        limits.minDbh[limits.index(species, product)] = minDbh;
        limits.maxDbh[limits.index(species, product)] = maxDbh;
        named[limits.index(species, product)] = 1;
    }
    return limits;
}

}  // namespace

DbhLimits loadDbhLimits(const std::filesystem::path& file, int maxSpec, int maxProd,
                        const std::string& dataSetName) {
    const std::string noLimits = "Error: No min/max dbhes on file for dataset " + dataSetName;
    std::error_code ec;
    if (std::filesystem::is_regular_file(file, ec) && fileLength(file) < 1) {
        throw InputError(noLimits);
    }
    std::vector<char> named;
    DbhLimits limits = readLimits(file, maxSpec, maxProd, named);
    // A file of blank lines (or a device that reads as nothing) holds no limits either.
    if (std::find(named.begin(), named.end(), 1) == named.end()) {
        throw InputError(noLimits + " (" + shownPath(file) + " holds no record)");
    }
    // Every class the parameters make needs its limits: a class left out would take 0 to 0 and
    // silently drop or move the trees of its species.
    for (int species = 1; species <= limits.maxSpec; ++species) {
        for (int product = 1; product <= limits.maxProd; ++product) {
            if (named[limits.index(species, product)]) continue;
            throw InputError::file(file, "holds no record for species " + std::to_string(species) +
                                             ", product " + std::to_string(product) +
                                             "; with MaxSpec " + std::to_string(limits.maxSpec) +
                                             " and MaxProd " + std::to_string(limits.maxProd) +
                                             " it needs one for each of the " +
                                             std::to_string(limits.maxSpec * limits.maxProd) +
                                             " species-product classes");
        }
    }
    return limits;
}

void writeDbhFile(const std::filesystem::path& file, int maxSpec, int maxProd,
                  const std::vector<std::array<std::string, 2>>& rows) {
    const std::size_t classes = static_cast<std::size_t>(std::max(maxSpec, 0)) *
                                static_cast<std::size_t>(std::max(maxProd, 0));
    if (rows.size() != classes) {
        throw std::invalid_argument("writeDbhFile: " + std::to_string(rows.size()) + " rows for " +
                                    std::to_string(classes) + " classes");
    }
    // Every cell is checked before anything is written; columns 2 and 3 of the editor hold
    // Min DBH and Max DBH.
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (int cell = 0; cell < 2; ++cell) {
            if (!cells::isEmpty(rows[r][cell])) {
                cells::number(rows[r][cell], static_cast<int>(r) + 1, cell + 2);
            }
        }
    }
    std::string content;
    std::size_t r = 0;
    for (int species = 1; species <= maxSpec; ++species) {
        for (int product = 1; product <= maxProd; ++product, ++r) {
            RecordLine line;
            line.integer(species).integer(product);
            // An entered text is written as entered, in quotes; an empty cell as the number 0.
            for (const std::string& cell : rows[r]) {
                if (cells::isEmpty(cell)) {
                    line.integer(0);
                } else {
                    line.quoted(cells::trimmed(cell));
                }
            }
            line.appendTo(content);
        }
    }
    writeFileAtomically(file, content);
}

}  // namespace orr
