#include "engine/doublesample/SvgScatter.h"

#include <algorithm>
#include <cmath>

#include "core/NumberText.h"

namespace orr {

namespace {

constexpr double kWidth = 420;
constexpr double kHeight = 300;
constexpr double kLeft = 64;  // room for the tick labels of the ground volume
constexpr double kRight = 14;
constexpr double kTop = 14;
constexpr double kBottom = 46;  // tick labels and the variable's name

std::string coordinate(double v) {
    return fixedDecimalsHalfAway(v, "0.0");
}

std::string tickText(double v, int decimals) {
    return fixedDecimalsHalfAway(
        v, decimals == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(decimals), '0'));
}

struct Axis {
    AxisTicks ticks;
    double low = 0;
    double high = 1;
    double from = 0;  // pixels of low and high
    double to = 1;
    double at(double v) const { return from + (v - low) / (high - low) * (to - from); }
};

// An axis over the values, from 0 when they are all positive, ending on round ticks.
Axis axisOver(double low, double high, double from, double to) {
    if (low > 0) low = 0;
    if (!(high > low)) high = low + 1;
    Axis a;
    a.ticks = niceTicks(low, high, 5);
    a.low = a.ticks.values.front();
    a.high = a.ticks.values.back();
    a.from = from;
    a.to = to;
    return a;
}

}  // namespace

AxisTicks niceTicks(double low, double high, int count) {
    const double raw = (high - low) / std::max(count, 1);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        step = m * power;
        if (step >= raw) break;
    }
    AxisTicks t;
    t.decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
    const double first = std::floor(low / step + 1e-9);
    const double last = std::ceil(high / step - 1e-9);
    for (double i = first; i <= last; ++i) t.values.push_back(i * step);
    if (t.values.size() < 2) t.values.push_back(t.values.back() + step);
    return t;
}

std::string htmlEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string svgScatter(const StratumScatter& s, std::string_view variable) {
    const auto [xLow, xHigh, yLow, yHigh] = scatterExtent(s);
    const Axis x = axisOver(xLow, xHigh, kLeft, kWidth - kRight);
    const Axis y = axisOver(yLow, yHigh, kHeight - kBottom, kTop);
    const std::string name = htmlEscaped(variable);
    const std::string label =
        s.stratum == 0 ? "all plots (non-stratified)" : "stratum " + std::to_string(s.stratum);

    std::string svg = "<svg class=\"scatter\" data-stratum=\"" + std::to_string(s.stratum) +
                      "\" xmlns=\"http://www.w3.org/2000/svg\" width=\"420\" height=\"300\" "
                      "viewBox=\"0 0 420 300\" role=\"img\" aria-label=\"Ground volume against " +
                      name + ", " + label + "\">\n";
    svg += "<title>Ground volume against " + name + ", " + label + "</title>\n";
    // Grid and tick labels.
    svg += "<g stroke=\"#e3e3e3\" stroke-width=\"1\">\n";
    for (const double v : x.ticks.values)
        svg += "<line x1=\"" + coordinate(x.at(v)) + "\" y1=\"" + coordinate(y.from) + "\" x2=\"" +
               coordinate(x.at(v)) + "\" y2=\"" + coordinate(y.to) + "\"/>\n";
    for (const double v : y.ticks.values)
        svg += "<line x1=\"" + coordinate(x.from) + "\" y1=\"" + coordinate(y.at(v)) + "\" x2=\"" +
               coordinate(x.to) + "\" y2=\"" + coordinate(y.at(v)) + "\"/>\n";
    svg += "</g>\n<g font-family=\"sans-serif\" font-size=\"11\" fill=\"#333\">\n";
    for (const double v : x.ticks.values)
        svg += "<text x=\"" + coordinate(x.at(v)) + "\" y=\"" + coordinate(y.from + 15) +
               "\" text-anchor=\"middle\">" + tickText(v, x.ticks.decimals) + "</text>\n";
    for (const double v : y.ticks.values)
        svg += "<text x=\"" + coordinate(x.from - 6) + "\" y=\"" + coordinate(y.at(v) + 4) +
               "\" text-anchor=\"end\">" + tickText(v, y.ticks.decimals) + "</text>\n";
    svg += "<text x=\"" + coordinate((x.from + x.to) / 2) + "\" y=\"" + coordinate(kHeight - 8) +
           "\" text-anchor=\"middle\">" + name + "</text>\n";
    svg += "<text transform=\"translate(14 " + coordinate((y.from + y.to) / 2) +
           ") rotate(-90)\" text-anchor=\"middle\">Ground volume (cu.ft per acre)</text>\n</g>\n";
    svg += "<rect x=\"" + coordinate(x.from) + "\" y=\"" + coordinate(y.to) + "\" width=\"" +
           coordinate(x.to - x.from) + "\" height=\"" + coordinate(y.from - y.to) +
           "\" fill=\"none\" stroke=\"#888\"/>\n";
    // The plots, the fitted line, the Phase 1 mean and the estimate.
    svg += "<g class=\"plots\" fill=\"#2b6cb0\" fill-opacity=\"0.75\">\n";
    for (const ChartPoint& p : s.plots)
        svg += "<circle cx=\"" + coordinate(x.at(p.x)) + "\" cy=\"" + coordinate(y.at(p.y)) +
               "\" r=\"3.5\"/>\n";
    svg += "</g>\n";
    if (s.phase1Mean > 0)
        svg += "<line class=\"phase1-mean\" x1=\"" + coordinate(x.at(s.phase1Mean)) + "\" y1=\"" +
               coordinate(y.from) + "\" x2=\"" + coordinate(x.at(s.phase1Mean)) + "\" y2=\"" +
               coordinate(y.to) + "\" stroke=\"#c05621\" stroke-dasharray=\"5 4\"/>\n";
    if (s.hasRegression) {
        svg += "<line class=\"fitted-line\" x1=\"" + coordinate(x.at(s.lineFrom.x)) + "\" y1=\"" +
               coordinate(y.at(s.lineFrom.y)) + "\" x2=\"" + coordinate(x.at(s.lineTo.x)) +
               "\" y2=\"" + coordinate(y.at(s.lineTo.y)) +
               "\" stroke=\"#1a202c\" stroke-width=\"2\"/>\n";
        const double ex = x.at(s.phase1Mean), ey = y.at(s.estimate);
        svg += "<path class=\"estimate\" d=\"M" + coordinate(ex) + " " + coordinate(ey - 7) + "L" +
               coordinate(ex + 7) + " " + coordinate(ey) + "L" + coordinate(ex) + " " +
               coordinate(ey + 7) + "L" + coordinate(ex - 7) + " " + coordinate(ey) +
               "Z\" fill=\"#c05621\" stroke=\"#fff\"/>\n";
    }
    svg += "</svg>";
    return svg;
}

}  // namespace orr
