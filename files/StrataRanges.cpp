#include "files/StrataRanges.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace orr {

StrataRanges::StrataRanges(StrataTable table) : rows_(std::move(table)) {
    const StrataTable& rows = rows_;
    std::vector<std::int64_t> cuts{std::numeric_limits<std::int64_t>::min()};
    for (const StrataRow& row : rows) {
        if (row.beginPlot > row.endPlot) continue;  // holds no plot
        cuts.push_back(row.beginPlot);
        cuts.push_back(static_cast<std::int64_t>(row.endPlot) + 1);
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    std::vector<int> inPiece;
    std::vector<int> inPrevious;
    for (const std::int64_t from : cuts) {
        inPiece.clear();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].beginPlot <= from && from <= rows[i].endPlot) {
                inPiece.push_back(static_cast<int>(i));
            }
        }
        // Neighbours in the same rows are one piece.
        if (!pieces_.empty() && inPiece == inPrevious) continue;
        Piece piece{from, -1, -1, holding_.size(), holding_.size()};
        if (!inPiece.empty()) {
            piece.first = inPiece.front();
            piece.last = inPiece.back();
        }
        holding_.insert(holding_.end(), inPiece.begin(), inPiece.end());
        piece.holdingTo = holding_.size();
        pieces_.push_back(piece);
        inPrevious.swap(inPiece);
    }
}

const StrataRanges::Piece& StrataRanges::at(std::int64_t plot) const {
    const auto after =
        std::upper_bound(pieces_.begin(), pieces_.end(), plot,
                         [](std::int64_t p, const Piece& piece) { return p < piece.from; });
    return *(after - 1);  // the first piece starts below every plot
}

}  // namespace orr
