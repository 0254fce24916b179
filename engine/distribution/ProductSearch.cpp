#include "engine/distribution/ProductSearch.h"

#include <cstdint>
#include <vector>

namespace orr::distribution {

namespace {

ProductChoice product(int p) {
    return {ProductChoice::Kind::Product, p};
}
ProductChoice drop() {
    return {ProductChoice::Kind::Drop, 0};
}
ProductChoice prompt() {
    return {ProductChoice::Kind::Prompt, 0};
}

// Product 1 takes every tree that reaches its smallest DBH, however large.
ProductChoice firstProduct(const DbhLimits& limits, int s, double d) {
    return d < limits.min(s, 1) ? drop() : product(1);
}

}  // namespace

ProductChoice searchProduct(const DbhLimits& limits, int s, int startProduct, double d) {
    const int maxProd = limits.maxProd;
    // The products tried so far: bits of one word for the usual few products (the search runs
    // for every LiDAR tree and class of a plot), a table beyond them.
    constexpr int kInWord = 64;
    std::uint64_t triedInWord = 0;
    std::vector<char> tried;
    if (maxProd + 2 > kInWord) tried.assign(static_cast<std::size_t>(maxProd) + 2, 0);
    int p = startProduct;
    for (;;) {
        if (p < kInWord) {
            const std::uint64_t bit = std::uint64_t{1} << p;
            if (triedInWord & bit) return prompt();
            triedInWord |= bit;
        } else {
            if (tried[static_cast<std::size_t>(p)]) return prompt();
            tried[static_cast<std::size_t>(p)] = 1;
        }

        if (limits.min(s, p) <= d && d <= limits.max(s, p)) return product(p);
        if (p == 1) return firstProduct(limits, s, d);

        int c = 0;
        if (p - 1 >= 1 && d < limits.min(s, p)) {
            c = p - 1;
        } else if (p + 1 <= maxProd && d > limits.max(s, p)) {
            c = p + 1;
        } else {
            return prompt();
        }
        if (c == 1) return firstProduct(limits, s, d);

        const double minC = limits.min(s, c);
        const double maxC = limits.max(s, c);
        if (minC > 0 && maxC > 0) {
            p = c;
        } else if (minC == 0 && maxC == 0) {
            // A product without limits for this species: the neighbour that takes the DBH.
            if (d <= limits.max(s, c - 1)) {
                p = c - 1;
            } else if (c + 1 <= maxProd && d >= limits.min(s, c + 1)) {
                p = c + 1;
            } else {
                return prompt();
            }
        } else {
            return prompt();
        }
    }
}

DbhGap dbhGap(const DbhLimits& limits, int s, double d) {
    DbhGap gap;
    for (int p = 1; p <= limits.maxProd; ++p) {
        for (const double limit : {limits.min(s, p), limits.max(s, p)}) {
            if (limit == 0) continue;
            if (limit <= d) {
                if (!gap.from || limit > *gap.from) gap.from = limit;
            } else if (!gap.to || limit < *gap.to) {
                gap.to = limit;
            }
        }
    }
    return gap;
}

}  // namespace orr::distribution
