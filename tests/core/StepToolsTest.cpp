// The tools of the computation steps. The random streams draw exactly the numbers of
// std::mt19937_64, which the files of steps 6 and 7 depend on. sortShares puts keys ascending with
// their payload, equal keys in the order its partitioning gives (which decides which of two equal
// shares is drawn first), with no limit on the pending ranges. The one parallel-for hands out
// every index once, throws the first failure again and stops on a cancel.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
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
        // Seeded side by side with other generators (one of them seeded further already) through
        // the numbers of a group of trees, then drawn that many at once, and on one at a time.
        for (const std::size_t count : {0, 1, 75, 155, 156, 157, 311, 312, 313}) {
            std::vector<MersenneTwister64> several{MersenneTwister64(seed), MersenneTwister64(7),
                                                   MersenneTwister64(seed)};
            several[1]();
            const std::size_t trees[] = {count, 20, 400};
            MersenneTwister64::seedFirstNumbers(several.data(), several.size(), trees);
            std::vector<std::uint64_t> numbers(count);
            several[0].nextNumbers(numbers.data(), numbers.size());
            std::mt19937_64 again(seed);
            std::mt19937_64 seven(7);
            seven();
            for (std::size_t i = 0; i < count; ++i)
                ASSERT_EQ(numbers[i], again()) << "seed " << seed << ", number " << i;
            for (int i = 0; i < 400; ++i) {
                ASSERT_EQ(several[0](), again()) << "seed " << seed << ", then number " << i;
                ASSERT_EQ(several[1](), seven()) << "seed 7, number " << i + 1;
            }
            std::mt19937_64 third(seed);
            for (int i = 0; i < 400; ++i) ASSERT_EQ(several[2](), third()) << "seed " << seed;
        }
        // More generators than go side by side at once, each needing a different number of
        // words.
        std::vector<MersenneTwister64> many;
        std::vector<std::size_t> counts;
        for (std::uint64_t g = 0; g < 19; ++g) {
            many.emplace_back(seed + g);
            counts.push_back(g * 17 % 200);
        }
        MersenneTwister64::seedFirstNumbers(many.data(), many.size(), counts.data());
        for (std::size_t g = 0; g < many.size(); ++g) {
            std::vector<std::uint64_t> numbers(counts[g]);
            many[g].nextNumbers(numbers.data(), numbers.size());
            std::mt19937_64 again(seed + g);
            for (std::size_t i = 0; i < numbers.size(); ++i)
                ASSERT_EQ(numbers[i], again()) << "generator " << g << ", number " << i;
            for (int i = 0; i < 400; ++i) ASSERT_EQ(many[g](), again()) << "generator " << g;
        }
        // A block at a time, for three blocks.
        std::mt19937_64 standard(seed);
        MersenneTwister64 ours(seed);
        std::uint64_t block[MersenneTwister64::kWords];
        for (int b = 0; b < 3; ++b) {
            ours.nextBlock(block);
            for (const std::uint64_t number : block)
                ASSERT_EQ(number, standard()) << "seed " << seed << ", block " << b;
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

// The innermost collector takes the warnings raised while it lives; the one around it gets
// those raised before and after.
TEST(Warnings, TheInnermostCollectorTakesThem) {
    WarningCollector outer;
    warn("a", "first");
    {
        WarningCollector keeping;
        warn("b", "kept inside");
        EXPECT_EQ(keeping.take(), (std::vector<Warning>{{"b", "kept inside"}}));
    }
    warn("c", "second");
    EXPECT_EQ(outer.take(), (std::vector<Warning>{{"a", "first"}, {"c", "second"}}));
}

// A warning raised by the body on a helper thread reaches the calling thread's collector, in the
// order of the indexes that raised it whatever the number of threads; so does one raised in a
// chunk that failed.
TEST(ParallelFor, WarningsOfEveryThreadReachTheCallerInIndexOrder) {
    for (unsigned threads : {1u, 4u}) {
        WarningCollector collector;
        std::atomic<int> onHelpers{0};
        parallelFor(
            64, threads,
            [&](std::size_t i, unsigned worker) {
                // Long enough for every helper to take indexes.
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                if (i % 8 != 3) return;
                warn("tall tree", "plot " + std::to_string(i));
                if (worker != 0) ++onHelpers;
            },
            nullptr, 1);
        std::vector<Warning> expected;
        for (int i = 3; i < 64; i += 8)
            expected.push_back({"tall tree", "plot " + std::to_string(i)});
        EXPECT_EQ(collector.take(), expected) << threads << " threads";
        if (threads > 1) {
            EXPECT_GT(onHelpers.load(), 0);
        }
    }
    WarningCollector collector;
    EXPECT_THROW(parallelFor(
                     8, 4,
                     [](std::size_t i, unsigned) {
                         if (i != 5) return;
                         warn("bad", "plot 5");
                         throw std::runtime_error("stop");
                     },
                     nullptr, 1),
                 std::runtime_error);
    EXPECT_EQ(collector.take(), (std::vector<Warning>{{"bad", "plot 5"}}));
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

// The work the calling thread does before its share comes first: its warnings before the body's,
// its failure instead of anything of the body (which stops), on the calling thread; the helpers
// start on the body meanwhile.
TEST(ParallelFor, TheCallersFirstWorkComesBeforeTheBody) {
    const std::thread::id caller = std::this_thread::get_id();
    for (unsigned threads : {1u, 2u}) {
        WarningCollector collector;
        std::atomic<int> bodyWhileFirst{0};
        std::atomic<bool> firstRunning{false};
        std::vector<std::atomic<int>> seen(200);
        parallelForAfter(
            [&] {
                EXPECT_EQ(std::this_thread::get_id(), caller);
                firstRunning = true;
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
                warn("batch", "before");
                firstRunning = false;
            },
            seen.size(), threads,
            [&](std::size_t i, unsigned) {
                if (firstRunning) ++bodyWhileFirst;
                ++seen[i];
                if (i == 150) warn("batch", "body");
            });
        for (const auto& s : seen) ASSERT_EQ(s.load(), 1);
        EXPECT_EQ(collector.take(), (std::vector<Warning>{{"batch", "before"}, {"batch", "body"}}));
        if (threads == 1) {
            EXPECT_EQ(bodyWhileFirst.load(), 0);
        }
    }
    WarningCollector collector;
    std::atomic<int> done{0};
    EXPECT_THROW(parallelForAfter([] { throw std::invalid_argument("plot 7"); }, 100000, 2,
                                  [&](std::size_t, unsigned) {
                                      ++done;
                                      warn("batch", "body");
                                  }),
                 std::invalid_argument);
    EXPECT_LT(done.load(), 100000);
    EXPECT_TRUE(collector.take().empty());
}

// Tasks run side by side end as though run one after the other: every task's warnings in the
// tasks' order, and the failure of the first task that failed, whichever failed first in time.
TEST(ParallelFor, TasksInOrderEndAsOneAfterTheOther) {
    for (unsigned threads : {1u, 2u, 0u}) {
        WarningCollector collector;
        std::vector<int> done(5, 0);
        std::vector<std::function<void()>> tasks;
        for (int t = 0; t < 5; ++t) {
            tasks.emplace_back([&, t] {
                // The later tasks end sooner.
                std::this_thread::sleep_for(std::chrono::milliseconds(5 * (5 - t)));
                warn("file", std::to_string(t));
                done[static_cast<std::size_t>(t)] = 1;
            });
        }
        runInOrder(threads, tasks);
        EXPECT_EQ(done, std::vector<int>(5, 1));
        std::vector<Warning> expected;
        for (int t = 0; t < 5; ++t) expected.push_back({"file", std::to_string(t)});
        EXPECT_EQ(collector.take(), expected) << threads << " threads";

        // Task 1 fails after task 3 has: task 1's failure, and the warnings before it only.
        tasks[1] = [] {
            std::this_thread::sleep_for(std::chrono::milliseconds(80));
            warn("file", "1");
            throw std::invalid_argument("record 7");
        };
        tasks[3] = [] { throw std::runtime_error("record 9"); };
        try {
            runInOrder(threads, tasks);
            ADD_FAILURE() << "no failure";
        } catch (const std::invalid_argument& e) {
            EXPECT_STREQ(e.what(), "record 7");
        }
        EXPECT_EQ(collector.take(), (std::vector<Warning>{{"file", "0"}, {"file", "1"}}));
    }
}

// Two files read at once end as though read one after the other: the first one's warnings before
// the second's, the first one's failure before anything of the second (which is stopped). The
// progress is reported while the second goes on, and by the second itself when it runs on the
// calling thread.
TEST(ParallelFor, SideBySideEndsAsOneAfterTheOther) {
    for (unsigned threads : {1u, 2u}) {
        WarningCollector collector;
        std::thread::id firstOn;
        std::thread::id secondOn;
        std::atomic<int> reports{0};
        const std::thread::id caller = std::this_thread::get_id();
        sideBySide(
            threads,
            [&] {
                firstOn = std::this_thread::get_id();
                // Long enough for the second to raise its warning first, when it runs beside.
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                warn("empty fields", "file 1");
            },
            [&](const std::function<void()>& every) {
                secondOn = std::this_thread::get_id();
                warn("empty fields", "file 2");
                // Long enough to be waited for; every() reports only on the calling thread.
                for (int i = 0; i < 10; ++i) {
                    every();
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
            },
            [&] {
                EXPECT_EQ(std::this_thread::get_id(), caller);
                ++reports;
            });
        EXPECT_EQ(collector.take(),
                  (std::vector<Warning>{{"empty fields", "file 1"}, {"empty fields", "file 2"}}));
        EXPECT_EQ(firstOn == secondOn, threads == 1) << threads << " threads";
        EXPECT_EQ(firstOn, caller);
        if (threads == 1)
            EXPECT_EQ(reports.load(), 10);
        else
            EXPECT_GT(reports.load(), 0);

        EXPECT_THROW(sideBySide(
                         threads, [] { warn("first", "kept"); },
                         [](const std::function<void()>&) {
                             warn("second", "kept");
                             throw std::invalid_argument("file 2");
                         }),
                     std::invalid_argument);
        EXPECT_EQ(collector.take(), (std::vector<Warning>{{"first", "kept"}, {"second", "kept"}}));

        // The first fails: its failure is the one thrown, the second stopped at its next every()
        // and its warnings and failure dropped.
        std::atomic<bool> secondStopped{false};
        EXPECT_THROW(sideBySide(
                         threads, [] { throw std::out_of_range("file 1"); },
                         [&](const std::function<void()>& every) {
                             warn("second", "dropped");
                             try {
                                 for (;;) {
                                     every();
                                     std::this_thread::yield();
                                 }
                             } catch (const StepCancelled&) {
                                 secondStopped = true;
                                 throw;
                             }
                         }),
                     std::out_of_range);
        EXPECT_EQ(secondStopped.load(), threads > 1);
        EXPECT_TRUE(collector.take().empty());
    }
}

// The helper threads are kept from one parallel-for to the next: a parallel-for inside another's
// body, and parallel-fors of several threads at once, still do every index once, each worker
// number on one thread at a time, and never wait for each other.
TEST(ParallelFor, NestedAndSideBySideParallelForsEachFinish) {
    std::vector<std::atomic<int>> seen(64 * 50);
    parallelFor(64, 4, [&](std::size_t outer, unsigned) {
        std::vector<std::atomic<int>> busy(4);
        parallelFor(50, 4, [&](std::size_t inner, unsigned worker) {
            EXPECT_EQ(++busy[worker], 1);
            ++seen[outer * 50 + inner];
            --busy[worker];
        });
    });
    for (const auto& s : seen) ASSERT_EQ(s.load(), 1);

    std::vector<std::thread> callers;
    std::atomic<long> sum{0};
    for (int c = 0; c < 4; ++c) {
        callers.emplace_back([&] {
            for (int round = 0; round < 50; ++round)
                parallelFor(100, 3, [&](std::size_t i, unsigned) { sum += static_cast<long>(i); });
        });
    }
    for (std::thread& t : callers) t.join();
    EXPECT_EQ(sum.load(), 4L * 50 * 4950);
}

}  // namespace
}  // namespace orr
