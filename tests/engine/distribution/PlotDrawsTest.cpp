// The draws of one plot against a plain reading of the rule: every iteration draws one number per
// tree from the plot's stream, in the order of the trees; a tree drawn into a class adds its
// basal area and volume (times PACF) to the iteration's sums of the class in that order, and the
// iterations' sums are added to the plot's in the order of the iterations. Floating-point sums
// depend on their order, so the values are compared exactly, with an even and an odd number of
// iterations and in plots of few and of many trees.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/distribution/DrawStream.h"
#include "engine/distribution/PlotIteration.h"
#include "tests/engine/distribution/DistributionData.h"

namespace orr::distribution {
namespace {

using test::twoSpeciesCoefficients;

struct Sums {
    double n = 0;
    double ba = 0;
    double vol = 0;
};
using ClassKey = std::pair<int, int>;

// The classes' N, BA and volume of the plot, drawn tree by tree and iteration by iteration. Every
// class's products take any DBH, so a tree stays in the class it is drawn into.
std::map<ClassKey, Sums> drawnByHand(const PassSetup& setup, const PlotJob& job) {
    const ParamRecord& params = *setup.params;
    const TreeRuleSetup rule{setup.coeff, setup.params, setup.pass};
    // The draw list: the classes by share, largest first (the shares below differ).
    std::vector<GroundClass> list = job.plot->classes;
    std::sort(list.begin(), list.end(),
              [](const GroundClass& a, const GroundClass& b) { return a.share > b.share; });
    std::map<ClassKey, Sums> sums;
    DrawStream draws(setup.seed, setup.pass, job.position);
    std::vector<std::uint64_t> numbers;
    for (int t = 0; t < params.MaxItern; ++t) {
        numbers.clear();
        while (numbers.size() < job.heights.size()) {
            const auto taken = draws.take(job.heights.size() - numbers.size());
            numbers.insert(numbers.end(), taken.begin(), taken.end());
        }
        std::map<ClassKey, Sums> iteration;
        std::map<ClassKey, int> trees;
        for (std::size_t i = 0; i < job.heights.size(); ++i) {
            const double r = uniform01(numbers[i]);
            double upper = 0;
            for (const GroundClass& c : list) {
                const double lower = upper;
                upper = std::min(lower + c.share, 1.0);
                if (!(r > lower && r <= upper)) continue;
                const LidarTree tree = growLidarTree(rule, c.species, job.age, job.heights[i]);
                if (tree.kind != LidarTree::Kind::Grown) break;
                Sums& s = iteration[{c.species, c.product}];
                s.ba += tree.basalArea * params.PACF;
                s.vol += lidarTreeVolume(rule, c.species, tree) * params.PACF;
                ++trees[{c.species, c.product}];
                break;
            }
        }
        for (const auto& [key, s] : iteration) {
            Sums& plot = sums[key];
            double n = 0;
            for (int k = 0; k < trees[key]; ++k) n += params.PACF;
            plot.n += n;
            plot.ba += s.ba;
            plot.vol += s.vol;
        }
    }
    for (auto& [key, s] : sums) {
        s.n /= params.MaxItern;
        s.ba /= params.MaxItern;
        s.vol /= params.MaxItern;
    }
    return sums;
}

TEST(PlotDraws, EachIterationAddsItsTreesInOrderAndThePlotItsIterationsInOrder) {
    // Species 1's DBH grows with the height, species 2's is 6 inches; their volumes grow with it.
    const CoefficientTable coeff = twoSpeciesCoefficients();
    DbhLimits dbh = DbhLimits::empty(2, 1);
    for (int s = 1; s <= 2; ++s) {
        dbh.minDbh[dbh.index(s, 1)] = 0;
        dbh.maxDbh[dbh.index(s, 1)] = 1000;
    }
    ParamRecord params = ParamRecord::defaults();
    std::tie(params.PACF, params.MaxSpec, params.MaxProd, params.LiHgtAdj) = std::tuple(7, 2, 1, 1);
    // 45 % and 35 % of the ground trees: a fifth of the draws fall in no class.
    const Phase2Plot plot{5, {{1, 1, 5, 1, 1, 0.45}, {2, 1, 3, 1, 1, 0.35}}};
    std::mt19937_64 random(17);
    std::uniform_real_distribution<double> height(8, 95);
    for (const std::size_t treeCount : {std::size_t{1}, std::size_t{301}, std::size_t{70000}}) {
        // Heights in hundredths, some of them 10 feet or less (not counted).
        std::vector<double> heights;
        for (std::size_t i = 0; i < treeCount; ++i)
            heights.push_back(std::round(height(random) * 100) / 100);
        const PlotJob job{&plot, 3, 30, heights};
        for (const int iterations : {1, 4, 9}) {
            params.MaxItern = static_cast<std::int16_t>(iterations);
            const PassSetup setup{&coeff, &dbh, &params, 1, 4242};
            SharedTrees shared(treeCount);
            GrownTrees grown({&coeff, &params, 1}, &shared);
            const PlotFirstLook look = plotFirstLook(setup, job, grown);
            ASSERT_TRUE(look.result);
            const std::map<ClassKey, Sums> expected = drawnByHand(setup, job);
            std::map<ClassKey, Sums> got;
            for (const auto& c : look.result->classes)
                if (c.lidarN != 0) got[{c.species, c.product}] = {c.lidarN, c.lidarBA, c.lidarVol};
            ASSERT_EQ(got.size(), expected.size()) << treeCount << " trees, " << iterations;
            for (const auto& [key, s] : expected) {
                SCOPED_TRACE(testing::Message() << treeCount << " trees, " << iterations
                                                << " iterations, class " << key.first);
                EXPECT_EQ(got[key].n, s.n);
                EXPECT_EQ(got[key].ba, s.ba);
                EXPECT_EQ(got[key].vol, s.vol);
            }
        }
    }
}

}  // namespace
}  // namespace orr::distribution
