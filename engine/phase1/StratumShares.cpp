// Stratum species shares and the draw lists built from them.
#include "engine/phase1/StratumShares.h"

#include <algorithm>
#include <string>

#include "core/InputError.h"
#include "core/ShareSort.h"
#include "files/SpeciesCountFile.h"

namespace orr::phase1 {

DrawList buildDrawList(const std::vector<double>& shares) {
    std::vector<double> keys;
    std::vector<std::size_t> species;
    for (std::size_t s = 1; s < shares.size(); ++s) {
        if (shares[s] > 0.0) {
            keys.push_back(shares[s]);
            species.push_back(s);
        }
    }
    // The same sort as the class distribution of step 6, so equal shares fall in the same order.
    if (keys.size() >= 2) sortShares(keys, species);
    DrawList list(keys.size());
    double upper = 0.0;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const std::size_t from = keys.size() - 1 - k;  // largest share first
        DrawPosition& position = list[k];
        position.species = static_cast<int>(species[from]);
        position.share = keys[from];
        position.lower = upper;
        position.upper = std::min(position.lower + position.share, 1.0);
        upper = position.upper;
    }
    return list;
}

std::size_t drawPosition(const DrawList& list, double r) {
    // The intervals follow each other from 0 (each lower bound is the upper bound before it) and
    // their upper bounds do not decrease: the first interval whose upper bound reaches r is the one
    // with lower < r <= upper, and its position is the number of upper bounds below r, counted
    // without a branch (r is random, a branch on it would be mispredicted on every draw). Only
    // r = 0 lies in no interval below the last upper bound.
    std::size_t below = 0;
    for (const DrawPosition& position : list) below += position.upper < r;
    return r > 0 ? below : list.size();
}

void checkStratumNumbers(const StrataTable& strata, const std::filesystem::path& strataFile) {
    for (std::size_t i = 0; i < strata.size(); ++i) {
        const int stratum = strata[i].stratum;
        if (stratum < 0 || stratum > kMaxStratum) {
            throw InputError::at(
                strataFile, static_cast<long>(i) + 1, 1, "Strata", std::to_string(stratum),
                "is outside the allowed range 0 to " + std::to_string(kMaxStratum));
        }
    }
}

StratumShares StratumShares::read(const std::filesystem::path& speciesFile,
                                  const StrataRanges& strata, const files::Limits& limits) {
    StratumShares result;
    result.maxSpec_ = std::max(limits.maxSpec, 0);
    const std::size_t width = static_cast<std::size_t>(result.maxSpec_) + 1;
    std::vector<double> totals((kMaxStratum + 1) * width, 0.0);

    files::forEachRecord<files::SpeciesCountFile>(
        speciesFile, limits, [&](const files::SpeciesCount& r) {
            // Every strata record that holds the plot gets its trees, not only the first: a
            // ground plot in overlapping ranges shows the species mix of each of those strata.
            strata.forEveryRowHolding(r.plot, [&](const StrataRow& row) {
                totals[static_cast<std::size_t>(row.stratum) * width +
                       static_cast<std::size_t>(r.species)] += static_cast<double>(r.count);
            });
        });

    int highest = 0;
    for (const StrataRow& row : strata.rows()) highest = std::max<int>(highest, row.stratum);
    result.shares_.assign(totals.size(), 0.0);
    for (int stratum = 1; stratum <= highest; ++stratum) {
        const std::size_t base = static_cast<std::size_t>(stratum) * width;
        double total = 0.0;
        for (std::size_t s = 1; s < width; ++s) total += totals[base + s];
        if (!(total > 0.0)) continue;
        for (std::size_t s = 1; s < width; ++s) result.shares_[base + s] = totals[base + s] / total;
    }
    result.lists_.resize(kMaxStratum + 1);
    return result;
}

double StratumShares::share(int stratum, int species) const {
    if (stratum < 0 || stratum > kMaxStratum || species < 1 || species > maxSpec_) return 0.0;
    return shares_[static_cast<std::size_t>(stratum) * (maxSpec_ + 1) + species];
}

const DrawList& StratumShares::drawList(int stratum) {
    std::optional<DrawList>& cached = lists_.at(static_cast<std::size_t>(stratum));
    if (!cached) {
        std::vector<double> shares(static_cast<std::size_t>(maxSpec_) + 1, 0.0);
        for (int s = 1; s <= maxSpec_; ++s) shares[s] = share(stratum, s);
        cached = buildDrawList(shares);
    }
    return *cached;
}

}  // namespace orr::phase1
