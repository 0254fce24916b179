#include "tools/generator/Generator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

#include "core/OutputSet.h"
#include "files/CoefficientFile.h"
#include "files/DbhFile.h"
#include "files/StrataFile.h"
#include "tools/generator/SpeciesModels.h"
#include "tools/generator/StandSimulator.h"

namespace orr::generator {

namespace {

// Distinct seeds for the separate parts of one data set.
std::uint64_t mix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

std::vector<StratumStand> makeStrata(const DataSetShape& shape, std::uint64_t seed) {
    Draws draws(mix(seed ^ 0x5157));
    std::vector<StratumStand> strata;
    for (int k = 0; k < shape.strata; ++k) {
        StratumStand st;
        // The bundled sample's three strata are young, middle-aged and mature stands.
        st.age = shape.strata == 3 ? std::array{20, 30, 45}[k]
                                   : 10 + static_cast<int>(draws.uniform() * 36);
        double total = 0;
        for (int s = 0; s < shape.species; ++s) {
            st.speciesShare.push_back(std::exp(0.8 * draws.normal()));
            total += st.speciesShare.back();
        }
        for (double& share : st.speciesShare) {
            share /= total;
        }
        strata.push_back(st);
    }
    return strata;
}

// Stratum k (0-based) covers a contiguous run of plot numbers.
int firstPlotOf(const DataSetShape& shape, int k) {
    return static_cast<int>(static_cast<long long>(k) * shape.phase1Plots / shape.strata) + 1;
}

void writeInputTables(const DataSetShape& shape, const std::vector<StratumStand>& strata,
                      const DataSetFiles& files) {
    std::vector<std::array<std::string, 4>> coeff;
    for (int equation = 0; equation < 5; ++equation) {
        for (int s = 0; s < shape.species; ++s) {
            const auto& row = speciesModels()[static_cast<std::size_t>(s)].equations[equation];
            coeff.push_back({row[0], row[1], row[2], row[3]});
        }
    }
    writeCoefficientFile(files.coefficients, coeff);

    std::vector<std::array<std::string, 4>> strataRows;
    strataRows.reserve(static_cast<std::size_t>(shape.strata));
    for (int k = 0; k < shape.strata; ++k) {
        strataRows.push_back({std::to_string(k + 1), std::to_string(firstPlotOf(shape, k)),
                              std::to_string(firstPlotOf(shape, k + 1) - 1),
                              std::to_string(strata[static_cast<std::size_t>(k)].age)});
    }
    writeStrataFile(files.strata, strataRows);

    std::vector<std::array<std::string, 2>> dbhRows;
    for (int s = 0; s < shape.species; ++s) {
        for (const auto& limits : speciesModels()[static_cast<std::size_t>(s)].dbhLimits) {
            dbhRows.push_back({limits[0], limits[1]});
        }
    }
    writeDbhFile(files.dbh, shape.species, kModelProducts, dbhRows);
}

std::string paramsText(const ParamRecord& p) {
    return "PACF=" + std::to_string(p.PACF) + "\nMaxSpec=" + std::to_string(p.MaxSpec) +
           "\nMaxProd=" + std::to_string(p.MaxProd) + "\nMaxItern=" + std::to_string(p.MaxItern) +
           "\nMaxPlots=" + std::to_string(p.MaxPlots) +
           "\nLiHgtAdj=" + (p.LiHgtAdj == 0 ? "yes" : "no") +
           "\nModelSet=" + std::to_string(p.ModelSet) + "\n";
}

}  // namespace

std::optional<DataSetShape> presetShape(std::string_view name) {
    DataSetShape shape;
    shape.params = ParamRecord::defaults();
    shape.params.LiHgtAdj = 0;  // "Yes": ground heights from the LiDAR height equations
    if (name == "sample") {
        shape.params.MaxPlots = 500;
        // A forest a forester would recognise at PACF 20 (1/20-acre plots): fewer trees a plot,
        // varying less between plots, so that the Phase 2 plots hold about 80 to 250 sq.ft of
        // basal area and 1,500 to 8,000 cu.ft per acre.
        shape.meanTrees = 12;
        shape.countSpread = 0.12;
        shape.dbhGrowth = 0.2;
        shape.dbhSpread = 0.05;
    } else if (name == "large" || name == "large-x2" || name == "state") {
        shape.phase1Plots = name == "large" ? 30000 : name == "large-x2" ? 60000 : 1000000;
        shape.phase2Plots = name == "large" ? 3000 : name == "large-x2" ? 6000 : 30000;
        shape.species = 5;
        shape.strata = 20;
        // About 75 LiDAR heights per plot (1..150) of which a Phase 2 plot's ground crew
        // measures about 20.
        shape.meanTrees = 100;
        shape.minTrees = 1;
        shape.maxTrees = 150;
        shape.groundFraction = 0.21;
        shape.params.MaxItern = 100;
        // At least 32767, the MaxPlots the "large" data set has always been generated with.
        shape.params.MaxPlots = std::max(shape.phase1Plots, 32767);
    } else {
        return std::nullopt;
    }
    shape.params.MaxSpec = static_cast<std::int16_t>(shape.species);
    shape.params.MaxProd = kModelProducts;
    return shape;
}

void resizeShape(DataSetShape& shape, int phase1Plots) {
    shape.phase1Plots = std::clamp(phase1Plots, 1, kMaxGeneratedPlots);
    shape.phase2Plots = std::max(1, shape.phase1Plots / 10);
    shape.strata = std::min(shape.strata, shape.phase1Plots);
    shape.params.MaxPlots = std::max<std::int32_t>(shape.params.MaxPlots, shape.phase1Plots);
}

DataSetFiles dataSetFiles(const std::filesystem::path& dir) {
    return {dir / "coefficients.csv", dir / "strata.csv",    dir / "dbh.csv",   dir / "trees.csv",
            dir / "lidar-ds1.csv",    dir / "lidar-ds2.csv", dir / "params.txt"};
}

DataSetFiles generateDataSet(const DataSetShape& shape, std::uint64_t seed,
                             const std::filesystem::path& dir) {
    if (shape.species < 1 || shape.species > kModelSpecies || shape.strata < 1 ||
        shape.phase1Plots < 1 || shape.phase1Plots > kMaxGeneratedPlots || shape.phase2Plots < 1 ||
        shape.phase2Plots > shape.phase1Plots || shape.heightDecimals < 1 ||
        shape.heightDecimals > 2) {
        throw std::invalid_argument("a data set needs 1 to 5 species, a stratum, and 1 to " +
                                    std::to_string(kMaxGeneratedPlots) +
                                    " plots of which at least one in Phase 2, and LiDAR heights "
                                    "with 1 or 2 decimals");
    }
    std::filesystem::create_directories(dir);
    DataSetFiles files = dataSetFiles(dir);
    const std::vector<StratumStand> strata = makeStrata(shape, seed);
    writeInputTables(shape, strata, files);
    OutputSet plotFiles;
    OutputFile& trees = plotFiles.file(files.trees);
    OutputFile& ds1 = plotFiles.file(files.lidarDs1);
    OutputFile& ds2 = plotFiles.file(files.lidarDs2);
    for (OutputFile* f : {&trees, &ds1, &ds2}) f->keepWhenEmpty();

    StandShape stand;
    stand.species = shape.species;
    stand.meanTrees = shape.meanTrees;
    stand.minTrees = shape.minTrees;
    stand.maxTrees = shape.maxTrees;
    stand.groundFraction = shape.groundFraction;
    stand.countSpread = shape.countSpread;
    stand.dbhGrowth = shape.dbhGrowth;
    stand.dbhSpread = shape.dbhSpread;
    stand.heightDecimals = shape.heightDecimals;
    Draws draws(mix(seed));
    // Phase 2 plots lie on a systematic grid over the plot numbers, starting at a random plot.
    const double spacing = static_cast<double>(shape.phase1Plots) / shape.phase2Plots;
    const double start = draws.uniform() * spacing;
    int nextPhase2 = 0;
    int stratum = 0;
    for (int plot = 1; plot <= shape.phase1Plots; ++plot) {
        while (stratum + 1 < shape.strata && plot >= firstPlotOf(shape, stratum + 1)) {
            ++stratum;
        }
        const int phase2Plot = static_cast<int>(start + nextPhase2 * spacing) + 1;
        const bool phase2 = nextPhase2 < shape.phase2Plots && plot == phase2Plot;
        if (phase2) {
            ++nextPhase2;
        }
        simulatePlot(draws, stand, strata[static_cast<std::size_t>(stratum)], plot, phase2, trees,
                     ds1, ds2);
    }
    plotFiles.commit();
    writeFileAtomically(files.params, paramsText(shape.params));
    return files;
}

}  // namespace orr::generator
