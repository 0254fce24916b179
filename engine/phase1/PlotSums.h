// The per-species sums of the Phase 1 plot being counted, and sub2150, which writes them.
#pragma once

#include <string>
#include <vector>

#include "core/StepHost.h"

namespace orr::phase1 {

class PlotSums {
  public:
    explicit PlotSums(int maxSpec);

    void add(int species, double basalArea, double volume);
    // True when some species has a counted tree.
    bool any() const;

    // sub2150: for species 1..maxSpec, unless its count and basal-area sum are both 0, one line
    // (plot, species, count * pacf, BA sum * pacf and volume sum * pacf to 2 decimals) appended to
    // `out` and one status line to the log; then every sum returns to 0.
    void sub2150(int plot, int pacf, std::string& out, StepHost& host);

    // The status line of one written record.
    static std::string statusLine(int plot, int species, long long n, double ba, double volume);

  private:
    std::vector<long long> count_;
    std::vector<double> basalArea_;
    std::vector<double> volume_;
};

// Before a line is added: a log longer than 64000 characters is cleared first.
void keepLogShort(StepHost& host);

}  // namespace orr::phase1
