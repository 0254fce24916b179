// ProductSearch: where a drawn tree's DBH takes it among the product classes of its species.
#include <gtest/gtest.h>

#include "engine/distribution/ProductSearch.h"

namespace orr::test {
namespace {

using distribution::ProductChoice;
using distribution::ProductSearch;
using Kind = ProductChoice::Kind;

// Species 1 with limits per product 1..n.
DbhLimits limitsOf(std::vector<std::pair<double, double>> perProduct) {
    DbhLimits limits = DbhLimits::empty(1, static_cast<int>(perProduct.size()));
    for (std::size_t p = 0; p < perProduct.size(); ++p) {
        limits.minDbh[limits.index(1, static_cast<int>(p) + 1)] = perProduct[p].first;
        limits.maxDbh[limits.index(1, static_cast<int>(p) + 1)] = perProduct[p].second;
    }
    return limits;
}

void expectProduct(const ProductChoice& c, int product) {
    EXPECT_EQ(c.kind, Kind::Product);
    EXPECT_EQ(c.product, product);
}

TEST(ProductSearch, DbhWithinTheLimitsKeepsTheProduct) {
    const auto limits = limitsOf({{5, 12}, {12, 20}, {20, 40}});
    expectProduct(ProductSearch(limits, 1, 2, 12.0), 2);
    expectProduct(ProductSearch(limits, 1, 2, 20.0), 2);
    expectProduct(ProductSearch(limits, 1, 3, 40.0), 3);
}

TEST(ProductSearch, ProductOneTakesLargeTreesAndDropsSmallOnes) {
    const auto limits = limitsOf({{5, 12}, {12, 20}});
    expectProduct(ProductSearch(limits, 1, 1, 30.0), 1);
    EXPECT_EQ(ProductSearch(limits, 1, 1, 4.9).kind, Kind::Drop);
}

TEST(ProductSearch, SmallTreeMovesDownOrIsDropped) {
    const auto limits = limitsOf({{5, 12}, {12, 20}, {20, 40}});
    expectProduct(ProductSearch(limits, 1, 2, 8.0), 1);
    EXPECT_EQ(ProductSearch(limits, 1, 2, 4.0).kind, Kind::Drop);
    // From product 3 down through product 2 to product 1.
    expectProduct(ProductSearch(limits, 1, 3, 8.0), 1);
    expectProduct(ProductSearch(limits, 1, 3, 15.0), 2);
}

TEST(ProductSearch, LargeTreeMovesUp) {
    const auto limits = limitsOf({{5, 12}, {12, 20}, {20, 40}});
    expectProduct(ProductSearch(limits, 1, 2, 25.0), 3);
}

TEST(ProductSearch, LargeTreeOfTheLastProductAsksTheUser) {
    const auto limits = limitsOf({{5, 12}, {12, 20}});
    EXPECT_EQ(ProductSearch(limits, 1, 2, 25.0).kind, Kind::Prompt);
}

TEST(ProductSearch, ProductWithoutLimitsPassesToItsNeighbours) {
    // Product 3 has no limits: a tree moving up from 2 goes on to 4 when it reaches 4's minimum.
    const auto limits = limitsOf({{5, 12}, {12, 20}, {0, 0}, {30, 60}});
    expectProduct(ProductSearch(limits, 1, 2, 35.0), 4);
    // Between 20 and 30 no product takes it.
    EXPECT_EQ(ProductSearch(limits, 1, 2, 25.0).kind, Kind::Prompt);
    // Moving down from 4 into 3, it goes back to 2 when 2's maximum holds it.
    expectProduct(ProductSearch(limits, 1, 4, 18.0), 2);
}

TEST(ProductSearch, HalfSetLimitsAskTheUser) {
    const auto limits = limitsOf({{5, 12}, {12, 20}, {0, 40}});
    EXPECT_EQ(ProductSearch(limits, 1, 2, 25.0).kind, Kind::Prompt);
}

TEST(ProductSearch, LimitsThatSendTheTreeBackAndForthEndInThePrompt) {
    // A gap between products 2 and 3: 21 is above 2 and below 3.
    const auto gap = limitsOf({{5, 12}, {12, 20}, {22, 40}});
    EXPECT_EQ(ProductSearch(gap, 1, 3, 21.0).kind, Kind::Prompt);
    EXPECT_EQ(ProductSearch(gap, 1, 2, 21.0).kind, Kind::Prompt);
    // Down from 4 through 3 to 2, which sends it up to 3 again.
    const auto longer = limitsOf({{5, 12}, {12, 20}, {25, 30}, {35, 40}});
    EXPECT_EQ(ProductSearch(longer, 1, 4, 22.0).kind, Kind::Prompt);
}

}  // namespace
}  // namespace orr::test
