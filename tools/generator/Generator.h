// Writes a data set in the input layouts: the coefficient, strata and DBH files, the Phase 2
// tree file, the Phase 1 LiDAR height files of DataSet 1 and DataSet 2, and the parameters it
// needs (params.txt, NAME=VALUE lines for 'orravant-cli params set').
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "model/session/Session.h"

namespace orr::generator {

struct DataSetShape {
    int phase1Plots = 400;  // plots 1..phase1Plots, every one in both LiDAR files
    int phase2Plots = 40;   // a systematic subset of them, measured on the ground
    int species = 3;        // 1..5
    int strata = 3;
    double meanTrees = 18;  // trees per plot on average
    int minTrees = 4;
    int maxTrees = 40;
    double groundFraction = 1.0;  // share of a Phase 2 plot's trees in the tree file
    double countSpread = 0.45;    // log-normal spread of the number of trees between plots
    double dbhGrowth = 0.32;      // inches of mean DBH a year of stand age
    double dbhSpread = 0.15;      // log-normal spread of a plot's mean DBH
    // Decimals of the LiDAR heights. With one (tenths of a foot) most LiDAR trees of a large
    // data set repeat a height met before; with two, as many LiDAR instruments write them,
    // nearly every tree has a height of its own. The other files do not depend on it.
    int heightDecimals = 1;
    ParamRecord params;  // MaxSpec and MaxProd follow species and the three products
};

// The seed of the bundled sample under examples/sample, and the default of 'generate'.
inline constexpr std::uint64_t kSampleSeed = 1;

// "sample", "large", "large-x2" or "state"; nullopt for any other name.
//   sample    400 plots, 40 in Phase 2, 3 species, 3 strata (the bundled sample)
//   large     30000 plots, 3000 in Phase 2, 5 species, 20 strata, about 75 LiDAR heights a plot
//   large-x2  the same with twice the plots: 60000, of which 6000 in Phase 2
//   state     1000000 plots, 30000 in Phase 2, as large otherwise: an inventory of a large
//             ownership or a state, several GB of LiDAR heights (only the benchmark makes it)
std::optional<DataSetShape> presetShape(std::string_view name);
// Largest number of plots a data set is generated with (MaxPlots itself goes further).
inline constexpr int kMaxGeneratedPlots = 10000000;
// Resizes a shape to `phase1Plots` plots (1..kMaxGeneratedPlots), a tenth of them in Phase 2,
// MaxPlots raised to cover them and no more strata than plots.
void resizeShape(DataSetShape& shape, int phase1Plots);

struct DataSetFiles {
    std::filesystem::path coefficients, strata, dbh, trees, lidarDs1, lidarDs2, params;
    std::vector<std::filesystem::path> all() const {
        return {coefficients, strata, dbh, trees, lidarDs1, lidarDs2, params};
    }
};
DataSetFiles dataSetFiles(const std::filesystem::path& dir);

// Writes the data set into `dir` (created when missing); the same shape and seed give the same
// bytes. The files are written as the plots are made, in pieces, so memory does not grow with
// them. Throws std::runtime_error naming a file that cannot be written.
DataSetFiles generateDataSet(const DataSetShape& shape, std::uint64_t seed,
                             const std::filesystem::path& dir);

}  // namespace orr::generator
