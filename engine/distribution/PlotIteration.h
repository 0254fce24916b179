// The species-product iteration of one Phase 2 plot in one data-set pass: the plot's LiDAR trees
// are drawn MaxItern times into its classes in proportion to its ground trees, grown into ground
// trees and averaged; with expected shares each tree enters every class with the width of its
// draw interval, without draws or averages. A pure function of its inputs: it returns the plot's
// records and any stop, so plots can be computed in any order or at the same time and still give
// the same files.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "core/Parameters.h"
#include "engine/distribution/DistributionInputs.h"
#include "engine/distribution/GrownTrees.h"
#include "engine/equations/Plausibility.h"
#include "files/CoefficientFile.h"
#include "files/DbhFile.h"
#include "files/LidarPlotFile.h"
#include "files/SpeciesCountFile.h"

namespace orr::distribution {

// What every plot of a pass shares.
struct PassSetup {
    const CoefficientTable* coeff = nullptr;
    const DbhLimits* dbh = nullptr;
    const ParamRecord* params = nullptr;
    int pass = 1;            // 1: DataSet 1 (HIGH heights), 2: DataSet 2 (LOW heights)
    std::uint64_t seed = 0;  // the run seed
};

// One plot of a pass.
struct PlotJob {
    const Phase2Plot* plot = nullptr;
    std::size_t position = 0;         // 0-based position of the plot in _PH2Plot.csv
    int age = 0;                      // average age of the plot's stratum
    std::span<const double> heights;  // the plot's LiDAR heights of the pass, in file order
};

// A product-code question: the species, the product the search started from and the DBH rounded
// to 1 decimal. The answer holds for every tree with the same key in the step's run.
struct PromptKey {
    int species = 0;
    int startProduct = 0;
    double dbh1 = 0;
    auto operator<=>(const PromptKey&) const = default;
};
struct ProductQuestion {
    PromptKey key;
    double dbh = 0;  // the full DBH of the first tree that asks, for the question's caption
    std::vector<std::size_t> trees;  // the plot's LiDAR trees (0-based, file order) that ask it
};
// The answers: a product code, or nullopt (the tree is dropped).
using ProductAnswers = std::map<PromptKey, std::optional<int>>;

struct PlotResult {
    std::vector<files::SpeciesCount> speciesCounts;  // pass 1 only
    std::vector<files::LidarPlotClass> classes;      // the plot's records of the pass's plot file
    PlausibilityTally plausibility;                  // the ground heights and volumes of its trees
    // The draws reached a tree of this species whose ground-height equation lacks its
    // coefficient: the plot has no result, and the step stops.
    std::optional<int> missingCoefficientSpecies;
};

// A first look at the plot: most plots raise no product-code question and get their result at
// once. A plot whose draws reach a tree that needs the user gets its questions instead (in
// position and tree order, each once; none when the plot meets a missing coefficient).
struct PlotFirstLook {
    std::vector<ProductQuestion> questions;
    std::optional<PlotResult> result;
};
// `grownTrees` is the calling thread's own (grown for the setup's pass).
PlotFirstLook plotFirstLook(const PassSetup& setup, const PlotJob& job, GrownTrees& grownTrees);

// The plot's iterations and records once its questions are in `answers`. For a plot without
// questions it gives the same result as plotFirstLook, whatever `answers` holds.
PlotResult iteratePlot(const PassSetup& setup, const PlotJob& job, const ProductAnswers& answers,
                       GrownTrees& grownTrees);

}  // namespace orr::distribution
