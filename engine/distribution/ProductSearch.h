// The product class of a LiDAR tree drawn into a species-product class, corrected to fit the
// tree's DBH by the DBH limits of its species.
#pragma once

#include <compare>
#include <optional>

#include "files/DbhFile.h"

namespace orr::distribution {

struct ProductChoice {
    enum class Kind {
        Product,  // the tree belongs to `product`
        Drop,     // the tree is below the smallest DBH of product 1: not counted
        Prompt,   // the limits give no answer: the user is asked for the product
    };
    Kind kind = Kind::Drop;
    int product = 0;
};

// The search from `startProduct` (1..limits.maxProd) for species `species` and the DBH `dbh1`
// rounded to 1 decimal. A search that would come back to a product it has already tried (limits
// that send the tree back and forth) ends in the prompt, so the search always ends.
ProductChoice searchProduct(const DbhLimits& limits, int species, int startProduct, double dbh1);

// The gap of the DBH file that the DBH `dbh1` of a tree of `species` falls in: the largest DBH
// limit (minimum or maximum of any of its products) at or below it and the smallest above it;
// nullopt where the species has none. Limits of 0 (a class without limits) do not count. Every
// DBH lies in exactly one gap, so trees in the same gap can share one product-code answer.
struct DbhGap {
    std::optional<double> from;
    std::optional<double> to;
    auto operator<=>(const DbhGap&) const = default;
};
DbhGap dbhGap(const DbhLimits& limits, int species, double dbh1);

}  // namespace orr::distribution
