// The product class of a LiDAR tree drawn into a species-product class, corrected to fit the
// tree's DBH by the DBH limits of its species.
#pragma once

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

}  // namespace orr::distribution
