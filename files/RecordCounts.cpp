// Record counters of the select dialogs: how many species a coefficient file holds and how many
// products a DBH file holds per species, from its number of four-field records.
#include "core/CommaReader.h"
#include "core/NumberText.h"
#include "files/CoefficientFile.h"
#include "files/DbhFile.h"

namespace orr {

namespace {

constexpr int kFieldsPerRecord = 4;
constexpr int kCoefficientBlocks = 5;

}  // namespace

long countCoefficientSpecies(const std::filesystem::path& file) {
    const long records = CommaReader::countRecords(file, kFieldsPerRecord);
    return static_cast<long>(
        nearestWholeHalfEven(static_cast<double>(records) / kCoefficientBlocks));
}

std::optional<long> countDbhProducts(const std::filesystem::path& file, int maxSpec) {
    // With no species the count cannot be divided out: always a mismatch.
    if (maxSpec <= 0) return std::nullopt;
    const long records = CommaReader::countRecords(file, kFieldsPerRecord);
    return static_cast<long>(nearestWholeHalfEven(static_cast<double>(records) / maxSpec));
}

}  // namespace orr
