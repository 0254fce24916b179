// The per-species sums of the Phase 1 plot being counted, and the lines that close the plot.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/OutputSet.h"
#include "core/Step.h"
#include "files/Phase1File.h"

namespace orr::phase1 {

class PlotSums {
  public:
    // With `expectedShares` the trees come with shares (addShares) and N is written to 2 decimals.
    explicit PlotSums(int maxSpec, bool expectedShares = false);

    void add(int species, double basalArea, double volume);
    // A species of a plot whose sums are all 0 given its trees' sums at once (each summed from 0
    // tree by tree): the same as adding the trees one by one.
    void start(int species, long long trees, double basalArea, double volume);
    // Expected shares: trees that enter `species`, each with its share (the width of the species'
    // interval): the sum of their shares, and of their basal areas and volumes times their shares.
    void addShares(int species, double shares, double basalArea, double volume);
    // True when some species has a counted tree.
    bool any() const;

    // Closes the plot: for species 1..maxSpec, unless its count and basal-area sum are both 0,
    // one line (plot, species, count * pacf, BA sum * pacf and volume sum * pacf to 2 decimals)
    // written to `out` and one status line to the log; then every sum returns to 0. With expected
    // shares the count is the sum of the shares and count * pacf is rounded to 2 decimals too.
    void writePlot(int plot, int pacf, OutputFile& out, StepHost& host);
    // The same lines, added to `lines` instead and not yet rounded, for writeLines.
    void closePlot(int plot, int pacf, std::vector<files::Phase1Total>& lines);
    // Rounds the lines closed by closePlot, adds them to `out` and their status lines to the log,
    // in order; the rounding and the text are done on `threads` threads.
    void writeLines(const std::vector<files::Phase1Total>& lines, unsigned threads, OutputFile& out,
                    StepHost& host) const;

    // The text of closed lines (writeLines's), made piece by piece on any thread and written in
    // order on the calling thread.
    class LineTexts {
      public:
        // Of `lines`, which stay in place and unchanged until write().
        LineTexts(const PlotSums& sums, const std::vector<files::Phase1Total>& lines);
        std::size_t pieces() const { return fileText_.size(); }
        // The text of piece `piece` (some hundreds of lines); each piece once, on any thread.
        void make(std::size_t piece);
        // Every piece's text added to `out` and its status lines to the log, in order.
        void write(OutputFile& out, StepHost& host) const;

      private:
        const PlotSums* sums_;
        const std::vector<files::Phase1Total>* lines_;
        std::vector<std::string> fileText_;
        std::vector<std::string> logText_;
    };

    // The status line of one written record, with its CR LF, added to `out`: from the record's
    // text in the file, each number as signedShortestNoLeadingZero gives it, padded to its column.
    static void appendStatusLine(std::string& out, std::string_view record);

  private:
    bool expectedShares_ = false;
    std::vector<double> shares_;  // expected shares: the sum of the trees' shares
    std::vector<long long> count_;
    std::vector<double> basalArea_;
    std::vector<double> volume_;
};

}  // namespace orr::phase1
