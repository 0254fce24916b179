// Which rows of the strata table hold a plot, found by a binary search over the plot ranges of
// the rows. The steps look up millions of plots whose numbers run up to 2000000000; a table over
// every plot number would grow with MaxPlots, this one only with the rows (at most 999).
#pragma once

#include <cstdint>
#include <vector>

#include "files/StrataFile.h"

namespace orr {

class StrataRanges {
  public:
    explicit StrataRanges(const StrataTable& rows);
    // Index of the first row, in file order, whose range begin plot..end plot holds the plot;
    // -1 when none does.
    int firstRow(std::int64_t plot) const { return at(plot).first; }
    // Index of the last row whose range holds the plot (the one that overrides the others where
    // ranges overlap); -1 when none does.
    int lastRow(std::int64_t plot) const { return at(plot).last; }

  private:
    // The plot numbers cut into pieces at every begin plot and after every end plot: every plot
    // of a piece lies in the same rows.
    struct Piece {
        std::int64_t from = 0;  // the piece runs from here to the next piece's start
        int first = -1;
        int last = -1;
    };
    const Piece& at(std::int64_t plot) const;

    std::vector<Piece> pieces_;  // ascending; the first starts below every plot number
};

}  // namespace orr
