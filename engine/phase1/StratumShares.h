// The species shares of every stratum, from the Phase 2 ground trees counted per plot and species
// by step 6, and the draw list that a Phase 1 tree's species is drawn from.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <vector>

#include "files/RecordFile.h"
#include "files/StrataFile.h"
#include "files/StrataRanges.h"

namespace orr::phase1 {

inline constexpr int kMaxStratum = 999;

// One position of a draw list: the species, its share and its draw interval (lower, upper].
struct DrawPosition {
    int species = 0;
    double share = 0.0;
    double lower = 0.0;
    double upper = 0.0;
};
using DrawList = std::vector<DrawPosition>;

// Every species 1..maxSpec whose share is above 0 (shares[species], index 0 unused), largest
// share first in the order sortShares gives equal shares, each with its interval from the upper
// bound before it, capped at 1.
DrawList buildDrawList(const std::vector<double>& shares);
// The first position with lower < r <= upper; list.size() when r falls in no interval. The list is
// one buildDrawList made (intervals that follow each other from 0).
std::size_t drawPosition(const DrawList& list, double r);

// Refuses a strata table whose stratum numbers lie outside 0..999 (InputError naming the strata
// file, the record, the field and the number).
void checkStratumNumbers(const StrataTable& strata, const std::filesystem::path& strataFile);

class StratumShares {
  public:
    // Reads the species counts (plot, species, N) to the end and adds each N to the species total
    // of every strata record whose range holds the plot; then shares = total / the stratum's
    // total over all species, for strata 1 to the highest stratum number of the table.
    // Throws InputError on a record it cannot use (species above limits.maxSpec, plot outside
    // 1..limits.maxPlots).
    static StratumShares read(const std::filesystem::path& speciesFile, const StrataRanges& strata,
                              const files::Limits& limits);

    double share(int stratum, int species) const;
    // The draw list of a stratum, built once and kept.
    const DrawList& drawList(int stratum);

  private:
    int maxSpec_ = 0;
    std::vector<double> shares_;  // [stratum 0..999][species 0..maxSpec]
    std::vector<std::optional<DrawList>> lists_;
};

}  // namespace orr::phase1
