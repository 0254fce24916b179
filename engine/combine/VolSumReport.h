// The volume summary report _VolSum.txt: mean N, BA and volume per plot by species-product
// class, in sections ("Phase 2, Ground", "Phase 2, LiDAR-DS1", ...). Each section is a title, a
// rule, a column header, its data lines and a totals line; every section after the first is
// preceded by a line holding one blank. Lines end in CR LF.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/OutputSet.h"

namespace orr {

class VolSumReport {
  public:
    // The report is appended to `out`.
    explicit VolSumReport(OutputFile& out) : out_(out) {}

    // Title, rule and column header of a new section; the section's totals start at 0.
    void beginSection(std::string_view title);
    // Data line of a Phase 2 section: species, product, the three means and the plot count.
    void phase2Line(int species, int product, double n, double ba, double vol, std::int64_t plots);
    // Data line of a Phase 1 section: species, "All" in place of the product, means, plots.
    void phase1Line(int species, double n, double ba, double vol, std::int64_t plots);
    // The totals line of the section: the sums of the means of its data lines.
    void endSection();

  private:
    void meansAndPlots(std::string& line, double n, double ba, double vol, std::int64_t plots);
    void addLine(const std::string& line);

    OutputFile& out_;
    bool firstSection_ = true;
    std::string title_;
    double totN_ = 0, totBA_ = 0, totVol_ = 0;
};

}  // namespace orr
