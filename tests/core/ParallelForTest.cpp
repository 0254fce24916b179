// The one parallel-for: every index once, the first failure thrown again, a cancel stops it.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "core/ParallelFor.h"
#include "core/Step.h"

namespace orr {
namespace {

struct CancelAfter : StepHost {
    void log(std::string_view) override {}
    void progress(std::size_t, std::size_t) override {}
    bool cancelled() const override { return --left < 0; }
    std::optional<int> askProductCode(int, double) override { return std::nullopt; }
    mutable std::atomic<int> left{5};
};

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
    CancelAfter host;
    done = 0;
    EXPECT_THROW(parallelFor(
                     100000, 2, [&](std::size_t, unsigned) { ++done; }, &host),
                 StepCancelled);
    EXPECT_LT(done.load(), 100000);
}

}  // namespace
}  // namespace orr
