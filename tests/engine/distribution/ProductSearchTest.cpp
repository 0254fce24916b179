// The product search: where a drawn tree's DBH takes it among the product classes of its species.
#include <gtest/gtest.h>

#include "engine/distribution/ProductSearch.h"

namespace orr::test {
namespace {

using distribution::ProductChoice;
using Kind = ProductChoice::Kind;
using Limits = std::vector<std::pair<double, double>>;  // min, max DBH of species 1, product 1..n

TEST(ProductSearch, TheTreeEndsInTheProductThatHoldsItsDbhOrIsDroppedOrAsked) {
    const Limits three = {{5, 12}, {12, 20}, {20, 40}};
    const Limits two = {{5, 12}, {12, 20}};
    const Limits hole = {{5, 12}, {12, 20}, {0, 0}, {30, 60}};  // product 3 without limits
    struct Row {
        Limits limits;
        int start;
        double dbh;
        Kind kind;
        int product;
    };
    const std::vector<Row> rows = {
        {three, 2, 12.0, Kind::Product, 2},  // limits are inclusive
        {three, 2, 20.0, Kind::Product, 2},
        {two, 1, 30.0, Kind::Product, 1},   // product 1 takes every large tree
        {two, 1, 4.9, Kind::Drop, 0},       // and drops the small ones
        {three, 3, 8.0, Kind::Product, 1},  // down through product 2
        {three, 2, 25.0, Kind::Product, 3},
        {two, 2, 25.0, Kind::Prompt, 0},  // above the last product
        {hole, 2, 35.0, Kind::Product, 4},
        {hole, 2, 25.0, Kind::Prompt, 0},  // between 20 and 30 nothing takes it
        // Limits that send the tree back and forth end in the prompt.
        {{{5, 12}, {12, 20}, {22, 40}}, 3, 21.0, Kind::Prompt, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "from " << row.start << " at " << row.dbh << " of "
                                        << row.limits.size() << " products");
        DbhLimits limits = DbhLimits::empty(1, static_cast<int>(row.limits.size()));
        for (std::size_t p = 0; p < row.limits.size(); ++p) {
            limits.minDbh[limits.index(1, static_cast<int>(p) + 1)] = row.limits[p].first;
            limits.maxDbh[limits.index(1, static_cast<int>(p) + 1)] = row.limits[p].second;
        }
        const ProductChoice got = distribution::searchProduct(limits, 1, row.start, row.dbh);
        EXPECT_EQ(got.kind, row.kind);
        if (row.kind == Kind::Product) {
            EXPECT_EQ(got.product, row.product);
        }
    }
}

}  // namespace
}  // namespace orr::test
