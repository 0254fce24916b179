// The one place the steps look up which rows of the strata file hold a plot. The rows' plot ranges
// may overlap, and the steps resolve an overlap in three ways, each named here for what it means:
// the first row in file order (a search from the top that stops at the first match), the last row
// (a later row overrides an earlier one) and every row. Each step says beside its lookup why it
// takes its rule. Found by a binary search over the plot ranges: the steps look up millions of
// plots whose numbers run up to 2000000000; a table over every plot number would grow with
// MaxPlots, this one only with the rows (at most 999).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "files/StrataFile.h"

namespace orr {

class StrataRanges {
  public:
    // The rows are kept with the ranges.
    explicit StrataRanges(StrataTable rows);
    StrataRanges() : StrataRanges(StrataTable{}) {}

    // The first row, in file order, whose range begin plot..end plot holds the plot; nullptr
    // when none does.
    const StrataRow* firstRowHolding(std::int64_t plot) const { return row(at(plot).first); }
    // The last row, in file order, whose range holds the plot: the one that overrides the others
    // where ranges overlap; nullptr when none does.
    const StrataRow* lastRowHolding(std::int64_t plot) const { return row(at(plot).last); }
    // Calls visit(row) for every row whose range holds the plot, in file order.
    template <class Visit>
    void forEveryRowHolding(std::int64_t plot, Visit&& visit) const {
        const Piece& piece = at(plot);
        for (std::size_t i = piece.holdingFrom; i < piece.holdingTo; ++i) {
            visit(rows_[static_cast<std::size_t>(holding_[i])]);
        }
    }

    // The rows in file order.
    const StrataTable& rows() const { return rows_; }

  private:
    // The plot numbers cut into pieces at every begin plot and after every end plot: every plot
    // of a piece lies in the same rows.
    struct Piece {
        std::int64_t from = 0;  // the piece runs from here to the next piece's start
        int first = -1;
        int last = -1;
        std::size_t holdingFrom = 0;  // its rows are holding_[holdingFrom, holdingTo)
        std::size_t holdingTo = 0;
    };
    const Piece& at(std::int64_t plot) const;
    const StrataRow* row(int index) const {
        return index < 0 ? nullptr : &rows_[static_cast<std::size_t>(index)];
    }

    StrataTable rows_;
    std::vector<Piece> pieces_;  // ascending; the first starts below every plot number
    std::vector<int> holding_;   // the rows of every piece, piece after piece
};

}  // namespace orr
