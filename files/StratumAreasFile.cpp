// The stratum areas file: records of stratum and acres in the order the user entered them.
#include "files/StratumAreasFile.h"

#include <cmath>
#include <string>

#include "core/CommaReader.h"
#include "core/InputError.h"
#include "core/OutputSet.h"
#include "files/StrataFile.h"

namespace orr {

namespace {

constexpr const char* kStratumField = "stratum";
constexpr const char* kAcresField = "acres";
constexpr int kLargestStratum = 32767;

}  // namespace

std::set<int> strataNamedIn(const std::filesystem::path& strataFile) {
    std::set<int> strata;
    for (const StrataRow& row : readStrataFile(strataFile)) {
        if (row.stratum >= 1) strata.insert(row.stratum);
    }
    return strata;
}

StratumAreas readStratumAreasFile(const std::filesystem::path& file,
                                  const std::set<int>& strataOfStrataFile) {
    StratumAreas areas;
    std::set<int> seen;
    CommaReader reader(file);
    while (reader.next(2)) {
        StratumArea area;
        const double stratum = reader.number(0, kStratumField);
        if (!(stratum >= 1 && stratum <= kLargestStratum) || stratum != std::floor(stratum))
            reader.fail(0, kStratumField, "is not a stratum number 1 to 32767");
        area.stratum = static_cast<int>(stratum);
        if (!strataOfStrataFile.count(area.stratum))
            reader.fail(0, kStratumField, "is not a stratum of the strata file");
        if (!seen.insert(area.stratum).second)
            reader.fail(0, kStratumField, "is given an area a second time");
        // An empty field would read as 0: refused like any other area that is not above 0.
        const bool empty = reader.text(1).empty();
        area.acres = empty ? 0 : reader.number(1, kAcresField);
        if (!(area.acres > 0) || !std::isfinite(area.acres))
            reader.fail(1, kAcresField, "is not a positive number of acres");
        areas.push_back(area);
    }
    if (areas.empty()) {
        throw InputError::file(file,
                               "holds no stratum area (records of stratum and acres); leave the "
                               "areas file out rather than give an empty one");
    }
    return areas;
}

std::vector<int> strataWithoutArea(const StratumAreas& areas,
                                   const std::set<int>& strataOfStrataFile) {
    std::vector<int> missing;
    for (const int h : strataOfStrataFile) {
        bool given = false;
        for (const StratumArea& a : areas) given = given || a.stratum == h;
        if (!given) missing.push_back(h);
    }
    return missing;
}

std::string stratumAreasFileName(const std::string& dataSetName) {
    return dataSetName + "_AREAS.csv";
}

void writeStratumAreasTemplate(const std::filesystem::path& file,
                               const std::vector<std::array<std::string, 2>>& rows) {
    std::string content;
    for (const auto& [stratum, acres] : rows) {
        content += stratum;
        content += ',';
        content += acres;
        content += "\r\n";
    }
    writeFileAtomically(file, content);
}

}  // namespace orr
