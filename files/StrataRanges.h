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
    // The rows are kept with the ranges.
    explicit StrataRanges(StrataTable rows = {});
    // The first row, in file order, whose range begin plot..end plot holds the plot; nullptr
    // when none does.
    const StrataRow* firstRow(std::int64_t plot) const { return row(at(plot).first); }
    // The last row whose range holds the plot (the one that overrides the others where ranges
    // overlap); nullptr when none does.
    const StrataRow* lastRow(std::int64_t plot) const { return row(at(plot).last); }

  private:
    // The plot numbers cut into pieces at every begin plot and after every end plot: every plot
    // of a piece lies in the same rows.
    struct Piece {
        std::int64_t from = 0;  // the piece runs from here to the next piece's start
        int first = -1;
        int last = -1;
    };
    const Piece& at(std::int64_t plot) const;
    const StrataRow* row(int index) const {
        return index < 0 ? nullptr : &rows_[static_cast<std::size_t>(index)];
    }

    StrataTable rows_;
    std::vector<Piece> pieces_;  // ascending; the first starts below every plot number
};

}  // namespace orr
