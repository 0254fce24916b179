#include "engine/combine/VolSumReport.h"

#include <cmath>
#include <stdexcept>

#include "core/NumberText.h"

namespace orr {

namespace {

constexpr std::string_view kColumnHeader = "Species Product   N       BA      Vol     plots";

// Very large class sums can run past the range of a double; such a value has no text.
void requireFinite(double x, std::string_view title) {
    if (!std::isfinite(x)) {
        throw std::range_error("The totals of the section \"" + std::string(title) +
                               "\" of the volume summary report are too large to be written.");
    }
}

}  // namespace

void VolSumReport::addLine(const std::string& line) {
    out_.append(line);
    out_.append("\r\n");
}

void VolSumReport::beginSection(std::string_view title) {
    if (!firstSection_) addLine(" ");
    firstSection_ = false;
    title_ = title;
    totN_ = totBA_ = totVol_ = 0;
    addLine(std::string(title));
    addLine(std::string(50, '-'));
    addLine(std::string(kColumnHeader));
}

void VolSumReport::meansAndPlots(std::string& line, double n, double ba, double vol,
                                 std::int64_t plots) {
    requireFinite(n, title_);
    requireFinite(ba, title_);
    requireFinite(vol, title_);
    line += padField(fixedDecimalsHalfAway(n, "0.00"), 8);
    line += padField(fixedDecimalsHalfAway(ba, "0.00"), 8);
    line += padField(fixedDecimalsHalfAway(vol, "0.00"), 8);
    line += std::to_string(plots);
    totN_ += n;
    totBA_ += ba;
    totVol_ += vol;
}

void VolSumReport::phase2Line(int species, int product, double n, double ba, double vol,
                              std::int64_t plots) {
    std::string line = padField(std::to_string(species), 8);
    line += padField(std::to_string(product), 8);
    meansAndPlots(line, n, ba, vol, plots);
    addLine(line);
}

void VolSumReport::phase1Line(int species, double n, double ba, double vol, std::int64_t plots) {
    std::string line = padField(std::to_string(species), 8);
    line += "All";
    line += blanks(6);
    meansAndPlots(line, n, ba, vol, plots);
    addLine(line);
}

void VolSumReport::endSection() {
    requireFinite(totN_, title_);
    requireFinite(totBA_, title_);
    requireFinite(totVol_, title_);
    std::string line = blanks(17);
    line += padField(roundedText(totN_, 2), 7);
    line += padField(roundedText(totBA_, 2), 7);
    line += roundedText(totVol_, 2);
    addLine(line);
}

}  // namespace orr
