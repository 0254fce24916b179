#include "tools/generator/StandSimulator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/CommaWriter.h"
#include "core/NumberText.h"
#include "tools/generator/SpeciesModels.h"

namespace orr::generator {

namespace {

constexpr double kMinDbh = 5.0;   // every tree reaches product 1 of its species
constexpr double kMaxDbh = 32.0;  // well inside the largest product's limits

struct SimTree {
    int species;
    double dbh;
    double height;
};

int drawSpecies(Draws& draws, const std::vector<double>& share) {
    double r = draws.uniform();
    for (std::size_t s = 0; s < share.size(); ++s) {
        if (r < share[s]) {
            return static_cast<int>(s) + 1;
        }
        r -= share[s];
    }
    return static_cast<int>(share.size());
}

double drawDbh(Draws& draws, double mean) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const double d = roundHalfEven(mean * std::exp(0.25 * draws.normal()), 1);
        if (d >= kMinDbh && d <= kMaxDbh) {
            return d;
        }
    }
    return std::clamp(roundHalfEven(mean, 1), kMinDbh, kMaxDbh);
}

// A LiDAR height to the tenth of a foot, or to the hundredth with two decimals.
template <class Sink>
void writeLidar(int plot, double height, int decimals, Sink& out) {
    RecordLine().integer(plot).rounded(height, decimals).appendTo(out);
}

}  // namespace

double Draws::normal() {
    if (haveSpare_) {
        haveSpare_ = false;
        return spare_;
    }
    double u = 0;
    while (u == 0) {
        u = uniform();
    }
    const double v = uniform();
    const double r = std::sqrt(-2.0 * std::log(u));
    spare_ = r * std::sin(2 * std::numbers::pi * v);
    haveSpare_ = true;
    return r * std::cos(2 * std::numbers::pi * v);
}

void simulatePlot(Draws& draws, const StandShape& shape, const StratumStand& stratum, int plot,
                  bool phase2, OutputFile& trees, OutputFile& ds1, OutputFile& ds2) {
    // Older stands have larger trees and fewer of them; plots vary around their stratum.
    const double meanDbh =
        (3.0 + shape.dbhGrowth * stratum.age) * std::exp(shape.dbhSpread * draws.normal());
    const double sigma = shape.countSpread;
    const double density = std::sqrt(11.0 / meanDbh);
    const long count = std::lround(shape.meanTrees * density *
                                   std::exp(sigma * draws.normal() - sigma * sigma / 2));
    const int n = static_cast<int>(std::clamp<long>(count, shape.minTrees, shape.maxTrees));

    std::vector<SimTree> stand;
    for (int i = 0; i < n; ++i) {
        SimTree t{};
        t.species = drawSpecies(draws, stratum.speciesShare);
        t.dbh = drawDbh(draws, meanDbh);
        t.height = speciesEquations(t.species).height(t.dbh) * std::exp(0.07 * draws.normal());
        stand.push_back(t);
    }

    if (phase2) {
        int written = 0;
        for (std::size_t i = 0; i < stand.size(); ++i) {
            const bool last = i + 1 == stand.size();
            if (draws.uniform() >= shape.groundFraction && !(last && written == 0)) {
                continue;
            }
            const SimTree& t = stand[i];
            const SpeciesEquations eq = speciesEquations(t.species);
            // About a third of the heights were not measured and are left to the height equation.
            const double measured = draws.uniform() < 0.7 ? roundHalfEven(t.height, 0) : 0.0;
            const int age =
                std::max(1, stratum.age + static_cast<int>(std::lround(2 * draws.normal())));
            const double crownRatio = 0.25 + 0.4 * draws.uniform();
            RecordLine()
                .integer(plot)
                .integer(t.species)
                .integer(eq.productOf(t.dbh))
                .number(t.dbh)
                .number(measured)
                .integer(age)
                .integer(++written)
                .rounded(crownRatio, 2)
                .appendTo(trees);
        }
    }

    // LiDAR finds most trees, the tall ones more surely than those under them; the HIGH heights
    // run close to the ground heights, the LOW ones lower. Every plot has at least one LiDAR
    // tree in each data set.
    const auto tallest =
        std::max_element(stand.begin(), stand.end(),
                         [](const auto& a, const auto& b) { return a.height < b.height; });
    bool any1 = false, any2 = false;
    std::string low;
    for (const SimTree& t : stand) {
        const SpeciesEquations eq = speciesEquations(t.species);
        const double exposure = t.height / tallest->height;
        if (draws.uniform() < 0.55 + 0.42 * exposure) {
            const double h = eq.highLidarHeight(t.height) + 2.0 * draws.normal();
            if (h > 1) {
                writeLidar(plot, h, shape.heightDecimals, ds1);
                any1 = true;
            }
        }
        if (draws.uniform() < 0.5 + 0.42 * exposure) {
            const double h = eq.lowLidarHeight(t.height) + 2.5 * draws.normal();
            if (h > 1) {
                writeLidar(plot, h, shape.heightDecimals, low);
                any2 = true;
            }
        }
    }
    const SpeciesEquations top = speciesEquations(tallest->species);
    if (!any1) {
        writeLidar(plot, std::max(1.5, top.highLidarHeight(tallest->height)), shape.heightDecimals,
                   ds1);
    }
    if (!any2) {
        writeLidar(plot, std::max(1.5, top.lowLidarHeight(tallest->height)), shape.heightDecimals,
                   low);
    }
    ds2.append(low);
}

}  // namespace orr::generator
