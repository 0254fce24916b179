#include "gui/QChartBuilders.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "core/NumberText.h"
#include "engine/doublesample/StratumEstimate.h"
#include "engine/doublesample/SvgScatter.h"
#include "gui/GuiText.h"

namespace orr::gui {

namespace {

const QColor kPlots(0x2b, 0x6c, 0xb0);
const QColor kPhase1(0xc0, 0x56, 0x21);
const QColor kLine(0x1a, 0x20, 0x2c);

QString fixed(double x, const char* pattern) {
    return qstr(fixedDecimalsHalfAway(x, pattern));
}

// A value axis over [low, high] from 0 when the values are positive, on round ticks.
QValueAxis* valueAxis(double low, double high, const QString& title) {
    if (low > 0) low = 0;
    if (!(high > low)) high = low + 1;
    const AxisTicks ticks = niceTicks(low, high, 5);
    auto* axis = new QValueAxis;
    axis->setRange(ticks.values.front(), ticks.values.back());
    axis->setTickCount(static_cast<int>(ticks.values.size()));
    axis->setLabelFormat(QStringLiteral("%.") + QString::number(ticks.decimals) +
                         QStringLiteral("f"));
    axis->setTitleText(title);
    return axis;
}

void attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

}  // namespace

QChart* estimatesChart(const std::vector<EstimateInterval>& bars, const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    double low = 0;
    double high = 0;
    for (const EstimateInterval& b : bars) {
        if (!b.present) continue;
        low = std::min(low, b.low);
        high = std::max(high, b.high);
    }
    auto* x = new QCategoryAxis;
    x->setRange(-0.5, static_cast<double>(bars.size()) - 0.5);
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
    for (std::size_t i = 0; i < bars.size(); ++i)
        x->append(qstr(bars[i].label), static_cast<double>(i) + 0.5);
    x->setTitleText(QStringLiteral("Stratum"));
    // Room above the highest bar, so that its end does not touch the frame.
    high += 0.08 * (high - low);
    QValueAxis* y = valueAxis(low, high, QStringLiteral("Mean ground volume (cu.ft per acre)"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    auto* estimates = new QScatterSeries;
    estimates->setObjectName(QStringLiteral("seriesEstimates"));
    estimates->setName(QStringLiteral("Estimate"));
    estimates->setColor(kPlots);
    estimates->setMarkerSize(11);
    // The points first and the bars over them, so that no marker hides a short interval.
    for (std::size_t i = 0; i < bars.size(); ++i) {
        if (bars[i].present) estimates->append(static_cast<double>(i), bars[i].estimate);
    }
    attach(chart, estimates, x, y);
    bool firstBar = true;
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const EstimateInterval& b = bars[i];
        if (!b.present) continue;
        const double at = static_cast<double>(i);
        auto* bar = new QLineSeries;
        bar->setObjectName(QStringLiteral("seriesInterval%1").arg(i));
        bar->setName(QStringLiteral("95 % confidence interval"));
        bar->setPen(QPen(kLine, 2));
        bar->append(at, b.low);
        bar->append(at, b.high);
        attach(chart, bar, x, y);
        // One legend entry for all the bars.
        if (!firstBar) chart->legend()->markers(bar).front()->setVisible(false);
        firstBar = false;
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

QChart* scatterChart(const StratumScatter& s) {
    auto* chart = new QChart;
    chart->setTitle((s.stratum == 0 ? QStringLiteral("All plots (non-stratified)")
                                    : QStringLiteral("Stratum %1").arg(s.stratum)) +
                    QStringLiteral(": ground volume on ") + qstr(variableName(s.k)));
    const auto [xLow, xHigh, yLow, yHigh] = scatterExtent(s);
    QValueAxis* x = valueAxis(xLow, xHigh, qstr(variableName(s.k)));
    QValueAxis* y = valueAxis(yLow, yHigh, QStringLiteral("Ground volume (cu.ft per acre)"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    auto* plots = new QScatterSeries;
    plots->setObjectName(QStringLiteral("seriesPlots"));
    plots->setName(QStringLiteral("Phase 2 plots"));
    plots->setColor(kPlots);
    plots->setMarkerSize(8);
    for (const ChartPoint& p : s.plots) plots->append(p.x, p.y);
    attach(chart, plots, x, y);
    if (s.phase1Mean > 0) {
        auto* mean = new QLineSeries;
        mean->setObjectName(QStringLiteral("seriesPhase1Mean"));
        mean->setName(QStringLiteral("Phase 1 mean"));
        mean->setPen(QPen(kPhase1, 1.5, Qt::DashLine));
        mean->append(s.phase1Mean, y->min());
        mean->append(s.phase1Mean, y->max());
        attach(chart, mean, x, y);
    }
    if (s.hasRegression) {
        auto* line = new QLineSeries;
        line->setObjectName(QStringLiteral("seriesFittedLine"));
        line->setName(QStringLiteral("Fitted line"));
        line->setPen(QPen(kLine, 2));
        line->append(s.lineFrom.x, s.lineFrom.y);
        line->append(s.lineTo.x, s.lineTo.y);
        attach(chart, line, x, y);
        auto* estimate = new QScatterSeries;
        estimate->setObjectName(QStringLiteral("seriesEstimate"));
        estimate->setName(QStringLiteral("Estimate"));
        estimate->setMarkerShape(QScatterSeries::MarkerShapeRotatedRectangle);
        estimate->setMarkerSize(14);
        estimate->setColor(kPhase1);
        estimate->append(s.phase1Mean, s.estimate);
        attach(chart, estimate, x, y);
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

QString scatterSummary(const StratumScatter& s, const EstimateInterval& interval) {
    QString text = QStringLiteral("<b>%1</b><br>%2 Phase 2 plots")
                       .arg(qstr(variableName(s.k)).toHtmlEscaped())
                       .arg(s.plots.size());
    if (s.phase1Mean > 0)
        text += QStringLiteral("<br>Phase 1 mean %1").arg(fixed(s.phase1Mean, "0.0"));
    if (!s.hasRegression)
        return text + QStringLiteral(
                          "<br><br>No regression on this variable could be used for "
                          "this stratum.");
    text += QStringLiteral("<br><br>R² %1<br>SE %2 %<br>Efficiency %3")
                .arg(fixed(s.rSquared, "0.000"), fixed(s.sePercent, "0.00"),
                     s.efficiency ? fixed(*s.efficiency, "0.00") : QStringLiteral("–"));
    text +=
        QStringLiteral("<br><br>Estimate %1 cu.ft per acre<br>95 % CI %2 – %3")
            .arg(fixed(s.estimate, "0.0"), fixed(interval.low, "0.0"), fixed(interval.high, "0.0"));
    text += s.selected ? QStringLiteral("<br><br>The stratum's selected regression.")
                       : QStringLiteral("<br><br>Not the stratum's selected regression.");
    return text + QStringLiteral(
                      "<br><br><small>Efficiency: how many times as many ground plots a "
                      "ground-only inventory would need for the same precision.</small>");
}

}  // namespace orr::gui
