#include "engine/distribution/PlotIteration.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <tuple>
#include <utility>

#include "core/ShareSort.h"
#include "engine/distribution/DrawStream.h"
#include "engine/distribution/LidarTree.h"
#include "engine/distribution/PlotLines.h"
#include "engine/distribution/ProductSearch.h"

namespace orr::distribution {

namespace {

// One position of the class distribution: a class and its draw interval (lower, upper].
struct Position {
    int species = 0;
    int product = 0;
    double lower = 0;
    double upper = 0;
};

// What a LiDAR tree drawn into a position adds to the estimates.
struct Outcome {
    enum Kind : std::int8_t { Nothing, Stop, Counted, Prompt };
    Kind kind = Nothing;
    // Index of the counted class (species, final product); one past the last class for a tree
    // that counts nothing, so that every drawn tree can be added without a test.
    std::size_t cls = 0;
    double n = 0;
    double ba = 0;
    double vol = 0;
};

// An outcome as the draws add it: the class (kStopClass for a tree that stops the plot) and
// what the tree adds to it. A counted tree adds PACF to the class's number of trees, so the
// iterations count the trees of each class and add PACF that many times at its end.
struct DrawnOutcome {
    std::uint32_t cls = 0;
    double ba = 0;
    double vol = 0;
};
constexpr std::uint32_t kStopClass = std::numeric_limits<std::uint32_t>::max();

// Everything a tree of the plot brings to the draws (its grown trees, its volumes, the outcome
// of each position) depends on its LiDAR height alone, and a plot's heights come in few distinct
// values (tenths of a foot): it is worked out once per distinct height, and each tree keeps only
// the number of its height. A plot of ten million trees then needs little more than the heights
// themselves; the result is the same as working out every tree on its own.
class PlotWork {
  public:
    PlotWork(const PassSetup& setup, const PlotJob& job, GrownTrees& grownTrees)
        : setup_(setup), job_(job), grownTrees_(grownTrees), trees_(job.heights.size()) {
        buildDistribution();
        indexHeights();
        growTrees();
    }

    // Fills the outcome of every (position, tree) pair; without answers the pairs that need the
    // user stay Prompt.
    void resolve(const ProductAnswers* answers);

    // Runs the MaxItern iterations: onTree(k, i, drawn outcome) for every tree that a draw puts
    // into a position, onIterationEnd() after each complete iteration. Returns the species of the
    // missing coefficient when the plot stops.
    template <class OnTree, class OnIterationEnd>
    std::optional<int> iterate(OnTree onTree, OnIterationEnd onIterationEnd) const;
    // Expected shares: onTree(k, i, outcome, width) for every tree, in file order, and every
    // position with an interval that is not empty, in draw-list order; width is the chance that a
    // draw puts the tree there. Returns the species of the missing coefficient when the plot
    // stops, as the draws would sooner or later.
    template <class OnTree>
    std::optional<int> spread(OnTree onTree) const;
    // Whether the plot's trees are spread by their shares instead of drawn.
    bool expected() const { return expectedShares(*setup_.params); }

    bool anyPrompt() const { return anyPrompt_; }
    std::size_t trees() const { return trees_; }
    const Position& position(std::size_t k) const { return positions_[k]; }
    const Outcome& outcome(std::size_t k, std::size_t i) const {
        return outcomes_[k * kinds_ + kindOf_[i]];
    }
    const LidarTree& tree(int species, std::size_t i) const;
    // The volume of the tree of distinct height d as the species at index s of species_.
    double volume(std::size_t s, std::size_t d);
    std::size_t positionCount() const { return positions_.size(); }
    const std::vector<std::pair<int, int>>& classes() const { return classes_; }
    // The ground heights and volumes of the trees counted so far, each (species, tree) once.
    const PlausibilityTally& plausibility() const { return plausibility_; }

  private:
    void buildDistribution();
    void indexHeights();
    void growTrees();
    // The index of a species of the positions in species_.
    std::size_t speciesIndex(int species) const;
    // The DBH limits of a position's species and product, and the smallest DBH its species
    // counts (that of product 1).
    struct PositionLimits {
        double min = 0;
        double max = 0;
        double smallestCounted = 0;
    };
    // The outcome of a tree of distinct height `d` drawn into `pos`, whose species is at index
    // `s` of species_.
    Outcome pairOutcome(const Position& pos, const PositionLimits& range, std::size_t s,
                        std::size_t d, const ProductAnswers* answers, int& product);

    // A draw r falls in cell floor(r * kCells) of [0, 1), given by the top bits of its 53. The
    // positions whose upper bound lies below the cell's start are below every draw in it, those
    // whose upper bound lies at or above its end above every one: a draw is compared only with
    // the upper bounds inside its cell.
    static constexpr int kCellBits = 8;
    static constexpr std::size_t kCells = std::size_t{1} << kCellBits;
    void buildCells();

    const PassSetup& setup_;
    const PlotJob& job_;
    GrownTrees& grownTrees_;
    std::size_t trees_;
    // The distinct heights in the order they first come, how many trees have each, and the
    // distinct height of every tree.
    std::vector<double> kindHeights_;
    std::vector<std::uint32_t> kindTrees_;
    std::vector<std::uint32_t> kindOf_;
    std::size_t kinds_ = 0;
    std::vector<Position> positions_;
    std::vector<double> uppers_;
    // For each upper bound, the least draw above it (drawAbove).
    std::vector<std::uint64_t> drawsAbove_;
    // Per cell: the upper bounds below its start, and those below its end.
    struct CellBounds {
        std::uint32_t below = 0;  // upper bounds below the cell's start
        std::uint32_t end = 0;    // upper bounds below its end
    };
    std::array<CellBounds, kCells> cells_{};
    std::vector<int> species_;                   // the species of the positions, ascending
    std::vector<std::vector<LidarTree>> grown_;  // [species index][distinct height]
    std::vector<std::uint32_t>
        slots_;  // [species index * kinds_ + distinct height]: in grownTrees_
    std::vector<std::vector<double>>
        volumes_;                    // [species index][distinct height], NaN until needed
    std::vector<Outcome> outcomes_;  // [position][distinct height]
    // The same as the draws add them, by distinct height: [distinct height][position].
    std::vector<DrawnOutcome> drawn_;
    std::vector<std::pair<int, int>> classes_;  // (species, product) of every output class
    bool anyPrompt_ = false;
    PlausibilityTally plausibility_;
};

// Classes with a share above 0, sorted by share with sortShares and taken largest first; each
// interval starts where the one before ends and ends at most at 1.
void PlotWork::buildDistribution() {
    const auto& classes = job_.plot->classes;
    std::vector<double> keys;
    std::vector<std::size_t> payload;
    for (std::size_t i = 0; i < classes.size(); ++i) {
        if (classes[i].share > 0) {
            keys.push_back(classes[i].share);
            payload.push_back(i);
        }
    }
    sortShares(keys, payload);
    double upper = 0;
    for (std::size_t k = keys.size(); k-- > 0;) {
        const GroundClass& c = classes[payload[k]];
        const double lower = upper;
        upper = std::min(lower + c.share, 1.0);
        positions_.push_back({c.species, c.product, lower, upper});
        uppers_.push_back(upper);
        drawsAbove_.push_back(drawAbove(upper));
        species_.push_back(c.species);
    }
    std::sort(species_.begin(), species_.end());
    species_.erase(std::unique(species_.begin(), species_.end()), species_.end());
    buildCells();
}

// The upper bounds do not decrease from one position to the next, so one walk counts them.
void PlotWork::buildCells() {
    std::size_t below = 0;
    for (std::size_t c = 0; c < kCells; ++c) {
        const double start = static_cast<double>(c) / kCells;  // exact: kCells is a power of 2
        while (below < uppers_.size() && uppers_[below] < start) ++below;
        cells_[c].below = static_cast<std::uint32_t>(below);
        if (c > 0) cells_[c - 1].end = cells_[c].below;
    }
    while (below < uppers_.size() && uppers_[below] < 1.0) ++below;
    cells_[kCells - 1].end = static_cast<std::uint32_t>(below);
}

// Heights are told apart by their bits: two trees share a distinct height only when every rule
// gives them the same result.
void PlotWork::indexHeights() {
    kindOf_.resize(trees_);
    // Open addressing over the distinct heights; the table is at most half full.
    constexpr std::uint32_t kFree = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> table(64, kFree);
    const auto slotOf = [&](std::uint64_t bits) {
        return static_cast<std::size_t>((bits * 0x9e3779b97f4a7c15ULL) >> 20) & (table.size() - 1);
    };
    for (std::size_t i = 0; i < trees_; ++i) {
        const double h = job_.heights[i];
        const auto bits = std::bit_cast<std::uint64_t>(h);
        std::size_t slot = slotOf(bits);
        while (table[slot] != kFree &&
               std::bit_cast<std::uint64_t>(kindHeights_[table[slot]]) != bits)
            slot = (slot + 1) & (table.size() - 1);
        if (table[slot] == kFree) {
            table[slot] = static_cast<std::uint32_t>(kindHeights_.size());
            kindHeights_.push_back(h);
            kindTrees_.push_back(0);
            if (2 * kindHeights_.size() > table.size()) {
                std::vector<std::uint32_t> larger(2 * table.size(), kFree);
                table.swap(larger);
                for (std::uint32_t d = 0; d < kindHeights_.size(); ++d) {
                    std::size_t at = slotOf(std::bit_cast<std::uint64_t>(kindHeights_[d]));
                    while (table[at] != kFree) at = (at + 1) & (table.size() - 1);
                    table[at] = d;
                }
            }
            kindOf_[i] = static_cast<std::uint32_t>(kindHeights_.size() - 1);
        } else {
            kindOf_[i] = table[slot];
        }
        ++kindTrees_[kindOf_[i]];
    }
    kinds_ = kindHeights_.size();
}

void PlotWork::growTrees() {
    grown_.resize(species_.size());
    volumes_.resize(species_.size());
    slots_.reserve(species_.size() * kinds_);
    for (std::size_t s = 0; s < species_.size(); ++s) {
        grown_[s].reserve(kinds_);
        grownTrees_.growAll(species_[s], job_.age, kindHeights_, grown_[s], slots_);
        volumes_[s].assign(kinds_, std::numeric_limits<double>::quiet_NaN());
    }
}

// Worked out once per species and distinct height; the tally counts every tree of that height,
// as though each had been worked out on its own.
double PlotWork::volume(std::size_t s, std::size_t d) {
    double& v = volumes_[s][d];
    if (std::isnan(v)) {
        const int species = species_[s];
        v = grownTrees_.volumeAt(slots_[s * kinds_ + d], species, job_.age, kindHeights_[d],
                                 grown_[s][d]);
        plausibility_.height(job_.plot->plot, species, grown_[s][d].groundHeight, kindTrees_[d]);
        plausibility_.volume(job_.plot->plot, species, v, kindTrees_[d]);
    }
    return v;
}

std::size_t PlotWork::speciesIndex(int species) const {
    return static_cast<std::size_t>(std::lower_bound(species_.begin(), species_.end(), species) -
                                    species_.begin());
}

const LidarTree& PlotWork::tree(int species, std::size_t i) const {
    return grown_[speciesIndex(species)][kindOf_[i]];
}

Outcome PlotWork::pairOutcome(const Position& pos, const PositionLimits& range, std::size_t s,
                              std::size_t d, const ProductAnswers* answers, int& product) {
    const LidarTree& t = grown_[s][d];
    Outcome o;
    if (t.kind == LidarTree::Kind::MissingCoefficient) o.kind = Outcome::Stop;
    if (t.kind != LidarTree::Kind::Grown) return o;

    const DbhLimits& limits = *setup_.dbh;
    // A DBH within the limits of the position's own product takes it (the search's first
    // look, made here for the many trees that need no more).
    ProductChoice choice{ProductChoice::Kind::Product, pos.product};
    if (!(range.min <= t.dbh1 && t.dbh1 <= range.max))
        choice = searchProduct(limits, pos.species, pos.product, t.dbh1);
    if (choice.kind == ProductChoice::Kind::Prompt) {
        if (!answers) {
            o.kind = Outcome::Prompt;
            anyPrompt_ = true;
            return o;
        }
        const auto found = answers->find({pos.species, pos.product, t.dbh1});
        const std::optional<int> answer = found == answers->end() ? std::nullopt : found->second;
        if (answer && *answer >= 1 && *answer <= limits.maxProd)
            choice = {ProductChoice::Kind::Product, *answer};
        else
            choice = {ProductChoice::Kind::Drop, 0};
    }
    if (choice.kind != ProductChoice::Kind::Product) return o;
    if (t.dbh1 < range.smallestCounted) return o;

    const double v = volume(s, d);
    if (!std::isfinite(v)) return o;
    const double pacf = setup_.params->PACF;
    o.kind = Outcome::Counted;
    o.n = pacf;
    o.ba = t.basalArea * pacf;
    o.vol = v * pacf;
    product = choice.product;
    return o;
}

void PlotWork::resolve(const ProductAnswers* answers) {
    outcomes_.assign(positions_.size() * kinds_, Outcome{});
    std::vector<int> products(outcomes_.size(), 0);
    for (const auto& c : job_.plot->classes) classes_.emplace_back(c.species, c.product);
    // The classes are made unique and sorted once all are in; a position's trees mostly share
    // their product, and a class already in is not added again.
    const auto addClass = [&](std::pair<int, int> cls) {
        if (std::find(classes_.begin(), classes_.end(), cls) == classes_.end())
            classes_.push_back(cls);
    };
    for (std::size_t k = 0; k < positions_.size(); ++k) {
        const Position& pos = positions_[k];
        const std::size_t s = speciesIndex(pos.species);
        const DbhLimits& limits = *setup_.dbh;
        const PositionLimits range{limits.min(pos.species, pos.product),
                                   limits.max(pos.species, pos.product),
                                   limits.min(pos.species, 1)};
        int lastProduct = 0;
        for (std::size_t d = 0; d < kinds_; ++d) {
            int& product = products[k * kinds_ + d];
            Outcome& o = outcomes_[k * kinds_ + d];
            o = pairOutcome(pos, range, s, d, answers, product);
            if (o.kind != Outcome::Counted || product == lastProduct) continue;
            lastProduct = product;
            addClass({pos.species, product});
        }
    }
    std::sort(classes_.begin(), classes_.end());
    classes_.erase(std::unique(classes_.begin(), classes_.end()), classes_.end());
    for (std::size_t k = 0; k < positions_.size(); ++k) {
        // The class of the position's last product, looked up again only when the product changes.
        int lastProduct = 0;
        std::size_t lastCls = classes_.size();
        for (std::size_t d = 0; d < kinds_; ++d) {
            Outcome& o = outcomes_[k * kinds_ + d];
            if (o.kind != Outcome::Counted) {
                o.cls = classes_.size();
                continue;
            }
            const int product = products[k * kinds_ + d];
            if (product != lastProduct) {
                lastProduct = product;
                const std::pair<int, int> key{positions_[k].species, product};
                lastCls = static_cast<std::size_t>(
                    std::lower_bound(classes_.begin(), classes_.end(), key) - classes_.begin());
            }
            o.cls = lastCls;
        }
    }
    drawn_.resize(outcomes_.size());
    for (std::size_t k = 0; k < positions_.size(); ++k) {
        for (std::size_t d = 0; d < kinds_; ++d) {
            const Outcome& o = outcomes_[k * kinds_ + d];
            drawn_[d * positions_.size() + k] = {
                o.kind == Outcome::Stop ? kStopClass : static_cast<std::uint32_t>(o.cls), o.ba,
                o.vol};
        }
    }
}

template <class OnTree, class OnIterationEnd>
std::optional<int> PlotWork::iterate(OnTree onTree, OnIterationEnd onIterationEnd) const {
    if (trees_ == 0 || positions_.empty()) return std::nullopt;
    DrawStream draws(setup_.seed, setup_.pass, job_.position);
    const int iterations = setup_.params->MaxItern;
    const std::size_t positionCount = uppers_.size();
    // Held here, where the sums the draws add to cannot change them.
    const CellBounds* const cells = cells_.data();
    const std::uint64_t* const above = drawsAbove_.data();
    const DrawnOutcome* const drawn = drawn_.data();
    const std::uint32_t* const kindOf = kindOf_.data();
    for (int t = 0; t < iterations; ++t) {
        std::size_t stopAt = SIZE_MAX;
        for (std::size_t first = 0; first < trees_;) {
            const std::span<const std::uint64_t> numbers = draws.take(trees_ - first);
            for (std::size_t n = 0; n < numbers.size(); ++n) {
                const std::size_t i = first + n;
                const std::uint64_t m = drawBits(numbers[n]);  // the draw r is m / 2^53
                // The first interval whose upper bound reaches r is the one with lower < r <=
                // upper: its position is the number of upper bounds below r, which r's cell
                // settles but for the bounds inside the cell (counted without branches, as r is
                // random).
                const CellBounds cell = cells[m >> (53 - kCellBits)];
                std::size_t k = cell.below;
                for (std::size_t j = k; j < cell.end; ++j) k += m >= above[j];
                if (k == positionCount || m == 0) continue;  // r = 0 lies in no interval
                const DrawnOutcome& o = drawn[kindOf[i] * positionCount + k];
                if (o.cls == kStopClass) [[unlikely]] {
                    stopAt = std::min(stopAt, k);
                    continue;
                }
                onTree(k, i, o);
            }
            first += numbers.size();
        }
        if (stopAt != SIZE_MAX) return positions_[stopAt].species;
        onIterationEnd();
    }
    return std::nullopt;
}

template <class OnTree>
std::optional<int> PlotWork::spread(OnTree onTree) const {
    if (trees_ == 0 || positions_.empty()) return std::nullopt;
    // A stop anywhere the trees enter stops the plot; the first position that meets it names it.
    for (std::size_t k = 0; k < positions_.size(); ++k) {
        if (!(positions_[k].upper > positions_[k].lower)) continue;
        for (std::size_t i = 0; i < trees_; ++i) {
            if (outcome(k, i).kind == Outcome::Stop) return positions_[k].species;
        }
    }
    for (std::size_t i = 0; i < trees_; ++i) {
        for (std::size_t k = 0; k < positions_.size(); ++k) {
            const double width = positions_[k].upper - positions_[k].lower;
            if (!(width > 0)) continue;
            onTree(k, i, outcome(k, i), width);
        }
    }
    return std::nullopt;
}

// The questions of the pairs that the draws reach (with expected shares: every pair with an
// interval that is not empty); none when the plot stops.
std::vector<ProductQuestion> drawnQuestions(const PlotWork& work) {
    const std::size_t trees = work.trees();
    std::vector<char> drawn(work.positionCount() * trees, 0);
    const auto reached = [&](std::size_t k, std::size_t i) { drawn[k * trees + i] = 1; };
    const auto stop =
        work.expected()
            ? work.spread(
                  [&](std::size_t k, std::size_t i, const Outcome&, double) { reached(k, i); })
            : work.iterate(
                  [&](std::size_t k, std::size_t i, const DrawnOutcome&) { reached(k, i); }, [] {});
    std::vector<ProductQuestion> questions;
    if (stop) return questions;
    for (std::size_t k = 0; k < work.positionCount(); ++k) {
        for (std::size_t i = 0; i < trees; ++i) {
            if (!drawn[k * trees + i] || work.outcome(k, i).kind != Outcome::Prompt) continue;
            const Position& pos = work.position(k);
            const LidarTree& t = work.tree(pos.species, i);
            const PromptKey key{pos.species, pos.product, t.dbh1};
            auto known = std::find_if(questions.begin(), questions.end(),
                                      [&](const auto& q) { return q.key == key; });
            if (known == questions.end()) known = questions.insert(known, {key, t.dbh, {}});
            known->trees.push_back(i);
        }
    }
    return questions;
}

struct Estimate {
    double n = 0;
    double ba = 0;
    double vol = 0;
};

// The iterations, the averages and the plot's records; with expected shares every tree's share
// of every class, not averaged. Pairs still waiting for an answer count nothing; callers make
// sure that no draw reaches them.
PlotResult finish(const PassSetup& setup, const PlotJob& job, const PlotWork& work) {
    PlotResult result;
    const ParamRecord& params = *setup.params;

    const std::size_t classCount = work.classes().size();
    // The estimates over the iterations, and those of the iteration: its trees of each class and
    // what they add. One slot more than there are classes: trees that count nothing add their
    // zeros there.
    std::vector<Estimate> sums(classCount + 1);
    struct Drawn {
        double ba = 0;
        double vol = 0;
        std::size_t trees = 0;
    };
    std::vector<Drawn> iteration(classCount + 1);
    const bool expected = work.expected();
    std::optional<int> stop;
    if (expected) {
        stop = work.spread([&](std::size_t, std::size_t, const Outcome& o, double width) {
            Estimate& e = sums[o.cls];
            e.n += width * o.n;
            e.ba += width * o.ba;
            e.vol += width * o.vol;
        });
    } else {
        // PACF added once for every tree of a class, one after the other as the trees come.
        std::vector<double> treesTimesPacf(work.trees() + 1, 0.0);
        for (std::size_t n = 1; n < treesTimesPacf.size(); ++n)
            treesTimesPacf[n] = treesTimesPacf[n - 1] + params.PACF;
        stop = work.iterate(
            [&](std::size_t, std::size_t, const DrawnOutcome& o) {
                Drawn& d = iteration[o.cls];
                d.ba += o.ba;
                d.vol += o.vol;
                ++d.trees;
            },
            [&] {
                for (std::size_t c = 0; c < classCount; ++c) {
                    sums[c].n += treesTimesPacf[iteration[c].trees];
                    sums[c].ba += iteration[c].ba;
                    sums[c].vol += iteration[c].vol;
                    iteration[c] = Drawn{};
                }
            });
    }
    if (stop) {
        result.missingCoefficientSpecies = stop;
        return result;
    }
    result.plausibility = work.plausibility();

    if (setup.pass == 1) result.speciesCounts = speciesCounts(*job.plot, params.MaxSpec);
    auto ground = job.plot->classes.begin();
    for (std::size_t c = 0; c < classCount; ++c) {
        files::LidarPlotClass line;
        line.plot = job.plot->plot;
        std::tie(line.species, line.product) = work.classes()[c];
        if (ground != job.plot->classes.end() && ground->species == line.species &&
            ground->product == line.product) {
            line.groundN = ground->n;
            line.groundBA = ground->ba;
            line.groundVol = ground->vol;
            ++ground;
        }
        if (sums[c].n != 0 && expected) {
            line.lidarN = sums[c].n;
            line.lidarBA = sums[c].ba;
            line.lidarVol = sums[c].vol;
        } else if (sums[c].n != 0) {
            line.lidarN = sums[c].n / params.MaxItern;
            line.lidarBA = sums[c].ba / params.MaxItern;
            line.lidarVol = sums[c].vol / params.MaxItern;
        }
        // A class is written when it has ground trees or LiDAR trees with volume.
        if (line.groundN == 0 && line.lidarN == 0 && line.lidarVol == 0) continue;
        result.classes.push_back(line);
    }
    return result;
}

}  // namespace

PlotResult iteratePlot(const PassSetup& setup, const PlotJob& job, const ProductAnswers& answers,
                       GrownTrees& grownTrees) {
    PlotWork work(setup, job, grownTrees);
    work.resolve(&answers);
    return finish(setup, job, work);
}

PlotFirstLook plotFirstLook(const PassSetup& setup, const PlotJob& job, GrownTrees& grownTrees) {
    PlotWork work(setup, job, grownTrees);
    work.resolve(nullptr);
    PlotFirstLook look;
    if (work.anyPrompt()) look.questions = drawnQuestions(work);
    if (look.questions.empty()) look.result = finish(setup, job, work);
    return look;
}

}  // namespace orr::distribution
