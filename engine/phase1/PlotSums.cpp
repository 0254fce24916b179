// The per-species sums of one plot and the lines that close it.
#include "engine/phase1/PlotSums.h"

#include <algorithm>

#include "core/NumberText.h"
#include "core/ParallelFor.h"
#include "files/Phase1File.h"

namespace orr::phase1 {

PlotSums::PlotSums(int maxSpec, bool expectedShares)
    : expectedShares_(expectedShares),
      shares_(static_cast<std::size_t>(std::max(maxSpec, 0)) + 1, 0.0),
      count_(shares_.size(), 0),
      basalArea_(count_.size(), 0.0),
      volume_(count_.size(), 0.0) {}

void PlotSums::add(int species, double basalArea, double volume) {
    const auto s = static_cast<std::size_t>(species);
    count_[s] += 1;
    basalArea_[s] += basalArea;
    volume_[s] += volume;
}

void PlotSums::start(int species, long long trees, double basalArea, double volume) {
    const auto s = static_cast<std::size_t>(species);
    count_[s] = trees;
    basalArea_[s] = basalArea;
    volume_[s] = volume;
}

void PlotSums::addShares(int species, double shares, double basalArea, double volume) {
    const auto s = static_cast<std::size_t>(species);
    shares_[s] += shares;
    basalArea_[s] += basalArea;
    volume_[s] += volume;
}

bool PlotSums::any() const {
    if (expectedShares_)
        return std::any_of(shares_.begin(), shares_.end(), [](double w) { return w > 0; });
    return std::any_of(count_.begin(), count_.end(), [](long long c) { return c > 0; });
}

void PlotSums::appendStatusLine(std::string& out, std::string_view record) {
    // The record's five numbers are finite (the sums are rounded), each in its shortest text:
    // shown as writeSignedNoLeadingZero shows them, a blank or the minus sign, the digits
    // without a zero before the point, padded to the field's width.
    static constexpr int kWidths[] = {6, 6, 6, 8, 0};
    static constexpr std::size_t kMostPadding = 6 + 6 + 6 + 8;
    // Made in place at the end of `out`, which is then cut to the line's length.
    const std::size_t start = out.size();
    out.resize(start + record.size() + std::size(kWidths) + kMostPadding + 2);
    char* const first = out.data() + start;
    char* at = first;
    const char* p = record.data();
    const char* const end = p + record.size();
    for (const int width : kWidths) {
        const bool negative = p < end && *p == '-';
        if (negative) ++p;
        if (end - p > 1 && p[0] == '0' && p[1] == '.') ++p;
        *at++ = negative ? '-' : ' ';
        // The field is copied up to its comma or the line end, a byte at a time: it is a few
        // digits long.
        const char* const digits = at;
        while (p < end && *p != ',' && *p != '\r' && *p != '\n') *at++ = *p++;
        ++p;
        // The padding counts the minus sign but not the blank that stands for a plus.
        for (auto length = (at - digits) + (negative ? 1 : 0); length < width; ++length)
            *at++ = ' ';
    }
    *at++ = '\r';
    *at++ = '\n';
    out.resize(start + static_cast<std::size_t>(at - first));
}

void PlotSums::writePlot(int plot, int pacf, OutputFile& out, StepHost& host) {
    std::vector<files::Phase1Total> lines;
    closePlot(plot, pacf, lines);
    writeLines(lines, 1, out, host);
}

void PlotSums::closePlot(int plot, int pacf, std::vector<files::Phase1Total>& lines) {
    for (std::size_t s = 1; s < count_.size(); ++s) {
        if (expectedShares_ && (shares_[s] != 0 || basalArea_[s] != 0.0)) {
            lines.push_back({plot, static_cast<int>(s), shares_[s] * pacf, basalArea_[s] * pacf,
                             volume_[s] * pacf});
        } else if (!expectedShares_ && (count_[s] != 0 || basalArea_[s] != 0.0)) {
            const long long n = count_[s] * pacf;
            lines.push_back({plot, static_cast<int>(s), static_cast<double>(n),
                             basalArea_[s] * pacf, volume_[s] * pacf});
        }
        count_[s] = 0;
        shares_[s] = 0.0;
        basalArea_[s] = 0.0;
        volume_[s] = 0.0;
    }
}

namespace {

constexpr std::size_t kLinesPerPiece = 512;

}  // namespace

PlotSums::LineTexts::LineTexts(const PlotSums& sums, const std::vector<files::Phase1Total>& lines)
    : sums_(&sums),
      lines_(&lines),
      fileText_((lines.size() + kLinesPerPiece - 1) / kLinesPerPiece),
      logText_(fileText_.size()) {}

void PlotSums::LineTexts::make(std::size_t piece) {
    const std::size_t first = piece * kLinesPerPiece;
    const std::size_t end = std::min(lines_->size(), first + kLinesPerPiece);
    // Made in strings of this thread's own and moved to their places at the end: the places lie
    // side by side, and another thread adding to the next one would share their cache lines.
    std::string fileText;
    std::string logText;
    fileText.reserve((end - first) * 32);
    logText.reserve((end - first) * 48);
    for (std::size_t i = first; i < end; ++i) {
        const std::size_t start = fileText.size();
        files::Phase1File::writeRounded(fileText, (*lines_)[i], sums_->expectedShares_);
        appendStatusLine(logText, std::string_view(fileText).substr(start));
    }
    fileText_[piece] = std::move(fileText);
    logText_[piece] = std::move(logText);
}

void PlotSums::LineTexts::write(OutputFile& out, StepHost& host) const {
    for (std::size_t piece = 0; piece < fileText_.size(); ++piece) {
        out.append(fileText_[piece]);
        host.logLines(logText_[piece]);
    }
}

void PlotSums::writeLines(const std::vector<files::Phase1Total>& lines, unsigned threads,
                          OutputFile& out, StepHost& host) const {
    LineTexts text(*this, lines);
    parallelFor(text.pieces(), threads, [&](std::size_t piece, unsigned) { text.make(piece); });
    text.write(out, host);
}

}  // namespace orr::phase1
