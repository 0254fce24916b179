// The tools of the computation steps. The random streams draw exactly the numbers of
// std::mt19937_64, which the files of steps 6 and 7 depend on. sortShares puts keys ascending with
// their payload, equal keys in the order its partitioning gives (which decides which of two equal
// shares is drawn first), with no limit on the pending ranges. The one parallel-for hands out
// every index once, throws the first failure again and stops on a cancel.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <numeric>
#include <random>
#include <stdexcept>
#include <vector>

#include "core/ParallelFor.h"
#include "core/RandomStreams.h"
#include "core/ShareSort.h"
#include "core/Warnings.h"
#include "tests/support/FakeHost.h"

namespace orr {
namespace {

TEST(RandomStreams, TheTwisterDrawsTheNumbersOfTheStandardOne) {
    for (const std::uint64_t seed : {0ULL, 1ULL, 5489ULL, 0xdeadbeefcafebabeULL, ~0ULL}) {
        // Through the first block (seeded and twisted only as far as drawn), around the ends of
        // its halves, and beyond it.
        for (const int count : {1, 155, 156, 157, 311, 312, 313, 1000}) {
            std::mt19937_64 standard(seed);
            MersenneTwister64 ours(seed);
            for (int i = 0; i < count; ++i)
                ASSERT_EQ(ours(), standard()) << "seed " << seed << ", number " << i;
        }
    }
}

using Order = std::vector<std::size_t>;

Order sorted(std::vector<double>& keys) {
    Order pay(keys.size());
    std::iota(pay.begin(), pay.end(), 0);
    sortShares(keys, pay);
    return pay;
}

TEST(ShareSort, EqualKeysEndInThePartitioningsOrder) {
    const std::vector<std::pair<std::vector<double>, Order>> cases = {
        {{}, {}},
        {{3}, {0}},
        {{0.5, 0.5, 0.5}, {2, 1, 0}},  // the partition swaps the outer two
        {{1, 0, 1, 0}, {3, 1, 0, 2}},
        {{0.25, 0.5, 0.25, 0.5, 0.25}, {2, 4, 0, 3, 1}},
    };
    for (auto [keys, order] : cases) EXPECT_EQ(sorted(keys), order);
}

// 20000 distinct keys: far more pending ranges than a fixed table of ten would hold.
TEST(ShareSort, ManyKeysEndSortedWithTheirPayload) {
    std::mt19937 gen(3);
    std::vector<double> keys(20000);
    for (auto& k : keys) k = static_cast<double>(gen());
    const std::vector<double> original = keys;
    const Order pay = sorted(keys);
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    for (std::size_t i = 0; i < keys.size(); ++i) ASSERT_EQ(keys[i], original[pay[i]]);
}

// A collector that passes warnings on keeps a copy and leaves them to the one around it; the
// innermost collector that keeps them ends their way.
TEST(Warnings, APassingCollectorCopiesWhatReachesTheOneAroundIt) {
    WarningCollector outer;
    {
        const WarningCollector watching(WarningCollector::Mode::PassOn);
        warn("a", "first");
        {
            WarningCollector keeping;
            warn("b", "kept inside");
            EXPECT_EQ(keeping.take(), (std::vector<Warning>{{"b", "kept inside"}}));
        }
        warn("c", "second");
        EXPECT_EQ(watching.collected(), (std::vector<Warning>{{"a", "first"}, {"c", "second"}}));
    }
    EXPECT_EQ(outer.take(), (std::vector<Warning>{{"a", "first"}, {"c", "second"}}));
}

TEST(ParallelFor, EveryIndexOnceAndAFailureOrACancelStopsHandingOutWork) {
    for (unsigned threads : {1u, 2u, 8u}) {
        for (std::size_t chunk : {1u, 7u}) {
            std::vector<std::atomic<int>> seen(1000);
            parallelFor(
                seen.size(), threads, [&](std::size_t i, unsigned) { ++seen[i]; }, nullptr, chunk);
            for (const auto& s : seen) ASSERT_EQ(s.load(), 1);
        }
    }
    parallelFor(0, 4, [](std::size_t, unsigned) { FAIL(); });

    std::atomic<int> done{0};
    const auto work = [&](std::size_t i, unsigned) {
        if (i == 10) throw std::invalid_argument("plot 10");
        ++done;
    };
    EXPECT_THROW(parallelFor(100000, 4, work), std::invalid_argument);
    EXPECT_LT(done.load(), 100000);
    test::FakeHost host;
    std::atomic<int> left{5};
    host.onCancelled = [&] { return --left < 0; };
    done = 0;
    EXPECT_THROW(parallelFor(
                     100000, 2, [&](std::size_t, unsigned) { ++done; }, &host),
                 StepCancelled);
    EXPECT_LT(done.load(), 100000);
}

}  // namespace
}  // namespace orr
