// sub1400: the species-product iteration of one Phase 2 plot in one data-set pass. A pure
// function of its inputs: it returns the plot's lines and any stop, so plots can be computed in
// any order or at the same time and still give the same files.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/Session.h"
#include "engine/distribution/DistributionInputs.h"
#include "files/InputFiles.h"

namespace orr::distribution {

// What every plot of a pass shares.
struct PassSetup {
    const CoefficientTable* coeff = nullptr;
    const DbhLimits* dbh = nullptr;
    const ParamRecord* params = nullptr;
    int pass = 1;
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
    double dbh = 0;  // the full DBH of the first tree that asks, for the prompt's caption
};
// The answers: a product code, or nullopt (the tree is dropped).
using ProductAnswers = std::map<PromptKey, std::optional<int>>;

struct PlotResult {
    std::string speciesLines;              // _PH2specDS1.csv (pass 1 only)
    std::string plotLines;                 // _PH2plotDS1.csv or _PH2plotDS2.csv
    std::vector<std::string> statusLines;  // one per class line
    std::optional<int> stoppedOnSpecies;   // the plot stopped: no coefficient for this species
};

// A first look at the plot: most plots raise no product-code question and get their result at
// once. A plot whose draws reach a tree that needs the user gets its questions instead (in
// position and tree order, each once; none when the plot stops on a missing coefficient).
struct PlotFirstLook {
    std::vector<ProductQuestion> questions;
    std::optional<PlotResult> result;
};
PlotFirstLook plotFirstLook(const PassSetup& setup, const PlotJob& job);

// The plot's iterations and lines once its questions are in `answers`. For a plot without
// questions it gives the same result as plotFirstLook, whatever `answers` holds.
PlotResult sub1400(const PassSetup& setup, const PlotJob& job, const ProductAnswers& answers);

}  // namespace orr::distribution
