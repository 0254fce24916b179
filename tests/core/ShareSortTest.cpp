// sortShares: keys ascending with their payload, equal keys in the order its partitioning gives
// (which decides which of two equal shares is drawn first), worked by hand; and no limit on the
// pending ranges.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "core/ShareSort.h"

namespace orr {
namespace {

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

}  // namespace
}  // namespace orr
