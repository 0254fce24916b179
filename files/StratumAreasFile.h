// The stratum areas file of a data set (set-up, step 4, optional): the area in acres of each
// stratum of the strata file, one record of stratum and acres per stratum, comma style like the
// other input files. With it step 9 turns each stratum's mean per acre into a total and combines
// the strata by their areas.
#pragma once

#include <array>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace orr {

struct StratumArea {
    int stratum = 0;
    double acres = 0;
};
// The file in memory, records in file order.
using StratumAreas = std::vector<StratumArea>;

// The strata the strata file names (its stratum numbers above 0), in ascending order.
std::set<int> strataNamedIn(const std::filesystem::path& strataFile);

// Reads the areas file, checking every record against the strata of the strata file: throws
// InputError naming the file, the record, the field and the text for a stratum that is not a
// whole number, a stratum the strata file does not name, a stratum given twice, and an area
// that is not a positive number. A file without a record is refused too.
StratumAreas readStratumAreasFile(const std::filesystem::path& file,
                                  const std::set<int>& strataOfStrataFile);

// The strata of `strataOfStrataFile` that `areas` gives no area, in ascending order.
std::vector<int> strataWithoutArea(const StratumAreas& areas,
                                   const std::set<int>& strataOfStrataFile);

// The name of a new areas file in the data directory: <DataSetName>_AREAS.csv.
std::string stratumAreasFileName(const std::string& dataSetName);

// A new areas file to be completed in the grid editor: each row's stratum and acres as they
// stand (the acres may still be empty), all or nothing.
void writeStratumAreasTemplate(const std::filesystem::path& file,
                               const std::vector<std::array<std::string, 2>>& rows);

}  // namespace orr
