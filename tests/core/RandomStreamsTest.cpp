// The random streams draw exactly the numbers of std::mt19937_64, which the files of steps 6 and
// 7 depend on: through the first block (seeded and twisted only as far as drawn) and beyond it.
#include <gtest/gtest.h>

#include <random>

#include "core/RandomStreams.h"

namespace orr {
namespace {

TEST(RandomStreams, TheTwisterDrawsTheNumbersOfTheStandardOne) {
    for (const std::uint64_t seed : {0ULL, 1ULL, 5489ULL, 0xdeadbeefcafebabeULL, ~0ULL}) {
        // Around the ends of the first block's halves and of the first blocks.
        for (const int count : {1, 155, 156, 157, 311, 312, 313, 1000}) {
            std::mt19937_64 standard(seed);
            MersenneTwister64 ours(seed);
            for (int i = 0; i < count; ++i) {
                ASSERT_EQ(ours(), standard()) << "seed " << seed << ", number " << i;
            }
        }
    }
}

}  // namespace
}  // namespace orr
