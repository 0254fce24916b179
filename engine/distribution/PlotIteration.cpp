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

// The tables of a plot's work, kept by each thread from one plot to the next: once the thread
// has worked on a plot as large, a plot's tables take no allocation. The tables of a plot far
// larger than usual are let go with it.
struct PlotBuffers {
    // The distinct heights in the order they first come, how many trees have each, and the
    // distinct height of every tree; the hashed table that finds them.
    std::vector<double> kindHeights;
    std::vector<std::uint32_t> kindTrees;
    std::vector<std::uint32_t> kindOf;
    std::vector<std::uint32_t> heightTable;
    std::vector<Position> positions;
    std::vector<double> uppers;
    // For each upper bound, the least draw above it (drawAbove).
    std::vector<std::uint64_t> drawsAbove;
    std::vector<int> species;                   // the species of the positions, ascending
    std::vector<std::vector<LidarTree>> grown;  // [species index][distinct height]
    // [species index * distinct heights + distinct height]: where GrownTrees keeps the tree.
    std::vector<std::uint32_t> slots;
    std::vector<std::vector<double>> volumes;  // [species index][distinct height], NaN until needed
    std::vector<Outcome> outcomes;             // [position][distinct height]
    std::vector<int> products;                 // the product of each outcome
    // The same as the draws add them, by distinct height: [distinct height][position].
    std::vector<DrawnOutcome> drawn;
    std::vector<std::pair<int, int>> classes;  // (species, product) of every output class
    // The random numbers of two iterations (PlotWork::iterate).
    mutable std::vector<std::uint64_t> numbers;

    // Empties the tables that a plot fills by appending (the others it sizes anew).
    void reuse() {
        kindHeights.clear();
        kindTrees.clear();
        positions.clear();
        uppers.clear();
        drawsAbove.clear();
        species.clear();
        slots.clear();
        classes.clear();
    }
};
// A plot whose tables hold more entries than this lets them go.
constexpr std::size_t kMostKeptTreeRoom = std::size_t{1} << 16;

PlotBuffers& threadBuffers() {
    thread_local PlotBuffers buffers;
    return buffers;
}

// Everything a tree of the plot brings to the draws (its grown trees, its volumes, the outcome
// of each position) depends on its LiDAR height alone, and a plot's heights come in few distinct
// values (tenths of a foot): it is worked out once per distinct height, and each tree keeps only
// the number of its height. A plot of ten million trees then needs little more than the heights
// themselves; the result is the same as working out every tree on its own.
class PlotWork {
  public:
    PlotWork(const PassSetup& setup, const PlotJob& job, GrownTrees& grownTrees)
        : setup_(setup), job_(job), grownTrees_(grownTrees), trees_(job.heights.size()) {
        std::swap(b_, threadBuffers());
        b_.reuse();
        buildDistribution();
        indexHeights();
        growTrees();
    }
    ~PlotWork() {
        if (b_.kindOf.capacity() <= kMostKeptTreeRoom &&
            b_.outcomes.capacity() <= kMostKeptTreeRoom)
            std::swap(b_, threadBuffers());
    }
    PlotWork(const PlotWork&) = delete;
    PlotWork& operator=(const PlotWork&) = delete;

    // Fills the outcome of every (position, tree) pair; without answers the pairs that need the
    // user stay Prompt.
    void resolve(const ProductAnswers* answers);

    // Runs the MaxItern iterations: onTree(lane, k, i, drawn outcome) for every tree that a draw
    // puts into a position, onIterationEnd(lane) after each complete iteration, in the order of
    // the iterations. Two iterations are drawn side by side, in lanes 0 and 1 (the calls of one
    // lane come in the order of its trees, those of the two lanes mixed): what each adds to does
    // not wait for the other. A plot of very many trees draws one iteration at a time, in lane 0.
    // Returns the species of the missing coefficient when the plot stops.
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
    const Position& position(std::size_t k) const { return b_.positions[k]; }
    const Outcome& outcome(std::size_t k, std::size_t i) const {
        return b_.outcomes[k * kinds_ + b_.kindOf[i]];
    }
    const LidarTree& tree(int species, std::size_t i) const;
    // The volume of the tree of distinct height d as the species at index s of b_.species.
    double volume(std::size_t s, std::size_t d);
    std::size_t positionCount() const { return b_.positions.size(); }
    const std::vector<std::pair<int, int>>& classes() const { return b_.classes; }
    // The ground heights and volumes of the trees counted so far, each (species, tree) once.
    const PlausibilityTally& plausibility() const { return plausibility_; }

  private:
    void buildDistribution();
    void indexHeights();
    void growTrees();
    // The index of a species of the positions in b_.species.
    std::size_t speciesIndex(int species) const;
    // The DBH limits of a position's species and product, and the smallest DBH its species
    // counts (that of product 1).
    struct PositionLimits {
        double min = 0;
        double max = 0;
        double smallestCounted = 0;
    };
    // The outcome of a tree of distinct height `d` drawn into `pos`, whose species is at index
    // `s` of b_.species.
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
    // The plot's tables, the thread's again once the plot is done.
    PlotBuffers b_;
    std::size_t kinds_ = 0;
    // Per cell: the upper bounds below its start, and those below its end.
    struct CellBounds {
        std::uint32_t below = 0;  // upper bounds below the cell's start
        std::uint32_t end = 0;    // upper bounds below its end
    };
    std::array<CellBounds, kCells> cells_{};
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
        b_.positions.push_back({c.species, c.product, lower, upper});
        b_.uppers.push_back(upper);
        b_.drawsAbove.push_back(drawAbove(upper));
        b_.species.push_back(c.species);
    }
    std::sort(b_.species.begin(), b_.species.end());
    b_.species.erase(std::unique(b_.species.begin(), b_.species.end()), b_.species.end());
    buildCells();
}

// The upper bounds do not decrease from one position to the next, so one walk counts them.
void PlotWork::buildCells() {
    std::size_t below = 0;
    for (std::size_t c = 0; c < kCells; ++c) {
        const double start = static_cast<double>(c) / kCells;  // exact: kCells is a power of 2
        while (below < b_.uppers.size() && b_.uppers[below] < start) ++below;
        cells_[c].below = static_cast<std::uint32_t>(below);
        if (c > 0) cells_[c - 1].end = cells_[c].below;
    }
    while (below < b_.uppers.size() && b_.uppers[below] < 1.0) ++below;
    cells_[kCells - 1].end = static_cast<std::uint32_t>(below);
}

// Heights are told apart by their bits: two trees share a distinct height only when every rule
// gives them the same result.
void PlotWork::indexHeights() {
    b_.kindOf.resize(trees_);
    // Open addressing over the distinct heights; the table is at most half full.
    constexpr std::uint32_t kFree = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t>& table = b_.heightTable;
    // Room for the distinct heights of most plots, grown when a plot has more.
    table.assign(std::min<std::size_t>(std::bit_ceil(std::max<std::size_t>(2 * trees_, 64)), 4096),
                 kFree);
    const auto slotOf = [&](std::uint64_t bits) {
        return static_cast<std::size_t>((bits * 0x9e3779b97f4a7c15ULL) >> 20) & (table.size() - 1);
    };
    for (std::size_t i = 0; i < trees_; ++i) {
        const double h = job_.heights[i];
        const auto bits = std::bit_cast<std::uint64_t>(h);
        std::size_t slot = slotOf(bits);
        while (table[slot] != kFree &&
               std::bit_cast<std::uint64_t>(b_.kindHeights[table[slot]]) != bits)
            slot = (slot + 1) & (table.size() - 1);
        if (table[slot] == kFree) {
            table[slot] = static_cast<std::uint32_t>(b_.kindHeights.size());
            b_.kindHeights.push_back(h);
            b_.kindTrees.push_back(0);
            if (2 * b_.kindHeights.size() > table.size()) {
                std::vector<std::uint32_t> larger(2 * table.size(), kFree);
                table.swap(larger);
                for (std::uint32_t d = 0; d < b_.kindHeights.size(); ++d) {
                    std::size_t at = slotOf(std::bit_cast<std::uint64_t>(b_.kindHeights[d]));
                    while (table[at] != kFree) at = (at + 1) & (table.size() - 1);
                    table[at] = d;
                }
            }
            b_.kindOf[i] = static_cast<std::uint32_t>(b_.kindHeights.size() - 1);
        } else {
            b_.kindOf[i] = table[slot];
        }
        ++b_.kindTrees[b_.kindOf[i]];
    }
    kinds_ = b_.kindHeights.size();
}

void PlotWork::growTrees() {
    b_.grown.resize(b_.species.size());
    b_.volumes.resize(b_.species.size());
    b_.slots.reserve(b_.species.size() * kinds_);
    for (std::size_t s = 0; s < b_.species.size(); ++s) {
        b_.grown[s].clear();
        b_.grown[s].reserve(kinds_);
        grownTrees_.growAll(b_.species[s], job_.age, b_.kindHeights, b_.grown[s], b_.slots);
        b_.volumes[s].assign(kinds_, std::numeric_limits<double>::quiet_NaN());
    }
}

// Worked out once per species and distinct height; the tally counts every tree of that height,
// as though each had been worked out on its own.
double PlotWork::volume(std::size_t s, std::size_t d) {
    double& v = b_.volumes[s][d];
    if (std::isnan(v)) {
        const int species = b_.species[s];
        v = grownTrees_.volumeAt(b_.slots[s * kinds_ + d], species, job_.age, b_.kindHeights[d],
                                 b_.grown[s][d]);
        plausibility_.height(job_.plot->plot, species, b_.grown[s][d].groundHeight,
                             b_.kindTrees[d]);
        plausibility_.volume(job_.plot->plot, species, v, b_.kindTrees[d]);
    }
    return v;
}

std::size_t PlotWork::speciesIndex(int species) const {
    return static_cast<std::size_t>(
        std::lower_bound(b_.species.begin(), b_.species.end(), species) - b_.species.begin());
}

const LidarTree& PlotWork::tree(int species, std::size_t i) const {
    return b_.grown[speciesIndex(species)][b_.kindOf[i]];
}

Outcome PlotWork::pairOutcome(const Position& pos, const PositionLimits& range, std::size_t s,
                              std::size_t d, const ProductAnswers* answers, int& product) {
    const LidarTree& t = b_.grown[s][d];
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
    b_.outcomes.assign(b_.positions.size() * kinds_, Outcome{});
    std::vector<int>& products = b_.products;
    products.assign(b_.outcomes.size(), 0);
    for (const auto& c : job_.plot->classes) b_.classes.emplace_back(c.species, c.product);
    // The classes are made unique and sorted once all are in; a position's trees mostly share
    // their product, and a class already in is not added again.
    const auto addClass = [&](std::pair<int, int> cls) {
        if (std::find(b_.classes.begin(), b_.classes.end(), cls) == b_.classes.end())
            b_.classes.push_back(cls);
    };
    for (std::size_t k = 0; k < b_.positions.size(); ++k) {
        const Position& pos = b_.positions[k];
        const std::size_t s = speciesIndex(pos.species);
        const DbhLimits& limits = *setup_.dbh;
        const PositionLimits range{limits.min(pos.species, pos.product),
                                   limits.max(pos.species, pos.product),
                                   limits.min(pos.species, 1)};
        int lastProduct = 0;
        for (std::size_t d = 0; d < kinds_; ++d) {
            int& product = products[k * kinds_ + d];
            Outcome& o = b_.outcomes[k * kinds_ + d];
            o = pairOutcome(pos, range, s, d, answers, product);
            if (o.kind != Outcome::Counted || product == lastProduct) continue;
            lastProduct = product;
            addClass({pos.species, product});
        }
    }
    std::sort(b_.classes.begin(), b_.classes.end());
    b_.classes.erase(std::unique(b_.classes.begin(), b_.classes.end()), b_.classes.end());
    for (std::size_t k = 0; k < b_.positions.size(); ++k) {
        // The class of the position's last product, looked up again only when the product changes.
        int lastProduct = 0;
        std::size_t lastCls = b_.classes.size();
        for (std::size_t d = 0; d < kinds_; ++d) {
            Outcome& o = b_.outcomes[k * kinds_ + d];
            if (o.kind != Outcome::Counted) {
                o.cls = b_.classes.size();
                continue;
            }
            const int product = products[k * kinds_ + d];
            if (product != lastProduct) {
                lastProduct = product;
                const std::pair<int, int> key{b_.positions[k].species, product};
                lastCls = static_cast<std::size_t>(
                    std::lower_bound(b_.classes.begin(), b_.classes.end(), key) -
                    b_.classes.begin());
            }
            o.cls = lastCls;
        }
    }
    b_.drawn.resize(b_.outcomes.size());
    for (std::size_t k = 0; k < b_.positions.size(); ++k) {
        for (std::size_t d = 0; d < kinds_; ++d) {
            const Outcome& o = b_.outcomes[k * kinds_ + d];
            b_.drawn[d * b_.positions.size() + k] = {
                o.kind == Outcome::Stop ? kStopClass : static_cast<std::uint32_t>(o.cls), o.ba,
                o.vol};
        }
    }
}

template <class OnTree, class OnIterationEnd>
std::optional<int> PlotWork::iterate(OnTree onTree, OnIterationEnd onIterationEnd) const {
    if (trees_ == 0 || b_.positions.empty()) return std::nullopt;
    DrawStream draws(setup_.seed, setup_.pass, job_.position);
    const int iterations = setup_.params->MaxItern;
    const std::size_t positionCount = b_.uppers.size();
    // Held here, where the sums the draws add to cannot change them.
    const CellBounds* const cells = cells_.data();
    const std::uint64_t* const above = b_.drawsAbove.data();
    const DrawnOutcome* const drawn = b_.drawn.data();
    const std::uint32_t* const kindOf = b_.kindOf.data();
    // The position a number draws, positionCount for none. The first interval whose upper bound
    // reaches the draw r is the one with lower < r <= upper: its position is the number of upper
    // bounds below r, which r's cell settles but for the bounds inside the cell (counted without
    // branches, as r is random). r = 0 lies in no interval.
    const auto positionOf = [&](std::uint64_t number) {
        const std::uint64_t m = drawBits(number);  // the draw r is m / 2^53
        const CellBounds cell = cells[m >> (53 - kCellBits)];
        std::size_t k = cell.below;
        for (std::size_t j = k; j < cell.end; ++j) k += m >= above[j];
        return m == 0 ? positionCount : k;
    };
    std::array<std::size_t, 2> stopAt{SIZE_MAX, SIZE_MAX};
    const auto add = [&](std::size_t lane, std::size_t k, std::size_t row, std::size_t i) {
        if (k == positionCount) return;
        const DrawnOutcome& o = drawn[row + k];
        if (o.cls == kStopClass) [[unlikely]] {
            stopAt[lane] = std::min(stopAt[lane], k);
            return;
        }
        onTree(lane, k, i, o);
    };
    // Two iterations need the numbers of both at hand: a plot of more trees than this draws its
    // iterations one at a time, straight from the stream, so that it needs no more memory.
    constexpr std::size_t kMostLaneTrees = std::size_t{1} << 16;
    std::vector<std::uint64_t>& numbers = b_.numbers;
    for (int t = 0; t < iterations;) {
        std::size_t lanes = 1;
        if (iterations - t >= 2 && trees_ <= kMostLaneTrees) {
            lanes = 2;
            // The numbers of both iterations, one after the other as the stream gives them.
            numbers.resize(2 * trees_);
            for (std::size_t first = 0; first < 2 * trees_;) {
                const std::span<const std::uint64_t> taken = draws.take(2 * trees_ - first);
                std::copy(taken.begin(), taken.end(), numbers.begin() + static_cast<long>(first));
                first += taken.size();
            }
            for (std::size_t i = 0; i < trees_; ++i) {
                const std::size_t k0 = positionOf(numbers[i]);
                const std::size_t k1 = positionOf(numbers[trees_ + i]);
                const std::size_t row = kindOf[i] * positionCount;
                add(0, k0, row, i);
                add(1, k1, row, i);
            }
        } else {
            for (std::size_t first = 0; first < trees_;) {
                const std::span<const std::uint64_t> taken = draws.take(trees_ - first);
                for (std::size_t n = 0; n < taken.size(); ++n) {
                    const std::size_t i = first + n;
                    add(0, positionOf(taken[n]), kindOf[i] * positionCount, i);
                }
                first += taken.size();
            }
        }
        for (std::size_t lane = 0; lane < lanes; ++lane) {
            if (stopAt[lane] != SIZE_MAX) return b_.positions[stopAt[lane]].species;
            onIterationEnd(lane);
        }
        t += static_cast<int>(lanes);
    }
    return std::nullopt;
}

template <class OnTree>
std::optional<int> PlotWork::spread(OnTree onTree) const {
    if (trees_ == 0 || b_.positions.empty()) return std::nullopt;
    // A stop anywhere the trees enter stops the plot; the first position that meets it names it.
    for (std::size_t k = 0; k < b_.positions.size(); ++k) {
        if (!(b_.positions[k].upper > b_.positions[k].lower)) continue;
        for (std::size_t i = 0; i < trees_; ++i) {
            if (outcome(k, i).kind == Outcome::Stop) return b_.positions[k].species;
        }
    }
    for (std::size_t i = 0; i < trees_; ++i) {
        for (std::size_t k = 0; k < b_.positions.size(); ++k) {
            const double width = b_.positions[k].upper - b_.positions[k].lower;
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
    const auto stop = work.expected() ? work.spread([&](std::size_t k, std::size_t i,
                                                        const Outcome&, double) { reached(k, i); })
                                      : work.iterate([&](std::size_t, std::size_t k, std::size_t i,
                                                         const DrawnOutcome&) { reached(k, i); },
                                                     [](std::size_t) {});
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
    // Per lane of the iterations (PlotWork::iterate).
    std::array<std::vector<Drawn>, 2> iteration{std::vector<Drawn>(classCount + 1),
                                                std::vector<Drawn>(classCount + 1)};
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
            [&](std::size_t lane, std::size_t, std::size_t, const DrawnOutcome& o) {
                Drawn& d = iteration[lane][o.cls];
                d.ba += o.ba;
                d.vol += o.vol;
                ++d.trees;
            },
            [&](std::size_t lane) {
                std::vector<Drawn>& drawnTrees = iteration[lane];
                for (std::size_t c = 0; c < classCount; ++c) {
                    sums[c].n += treesTimesPacf[drawnTrees[c].trees];
                    sums[c].ba += drawnTrees[c].ba;
                    sums[c].vol += drawnTrees[c].vol;
                    drawnTrees[c] = Drawn{};
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
