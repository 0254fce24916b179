// The status line step 7 logs for each line of a Phase 1 file, made from the line's text, against
// the same numbers shown one by one by the general number texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/NumberText.h"
#include "engine/phase1/PlotSums.h"
#include "files/Phase1File.h"

namespace orr::phase1 {
namespace {

TEST(PlotSums, StatusLineShowsEachNumberOfTheRecordInItsColumn) {
    const std::vector<files::Phase1Total> records = {
        {1, 1, 160, 101.55, 2960.63},
        {999999, 12, 0.5, 0.05, 0.25},     // no zero before the point
        {7, 2, -3, -0.5, -1234.5},         // minus signs count in the padding
        {1234567, 3, 20, 12345678.91, 0},  // wider than the column
        {0, 1, 2.25, 1e-3, 7.005},         // rounded to 2 decimals first
        {42, 5, 0, 0.4, 100000000.99},
    };
    static constexpr int kWidths[] = {6, 6, 6, 8, 0};
    for (const bool roundN : {false, true}) {
        std::string file;
        std::string log = "before\r\n";
        std::string expected = log;
        for (const files::Phase1Total& r : records) {
            const std::size_t start = file.size();
            files::Phase1File::writeRounded(file, r, roundN);
            PlotSums::appendStatusLine(log, std::string_view(file).substr(start));
            const double shown[] = {static_cast<double>(r.plot), static_cast<double>(r.species),
                                    roundN ? roundHalfEven(r.n, 2) : r.n, roundHalfEven(r.ba, 2),
                                    roundHalfEven(r.vol, 2)};
            for (std::size_t i = 0; i < std::size(shown); ++i)
                appendSignedShortestNoLeadingZero(expected, shown[i], kWidths[i]);
            expected += "\r\n";
        }
        EXPECT_EQ(log, expected) << "N rounded: " << roundN;
    }
}

}  // namespace
}  // namespace orr::phase1
