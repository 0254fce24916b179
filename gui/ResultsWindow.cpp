#include "gui/ResultsWindow.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QVBoxLayout>
#include <exception>

#include "engine/doublesample/ChartData.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/QChartBuilders.h"
#include "model/session/Session.h"
#include "model/workflow/StepRunner.h"

namespace orr::gui {

ResultsWindow::ResultsWindow(const Session& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    setObjectName(QStringLiteral("frmResults"));
    setWindowFlag(Qt::Window);
    resize(1000, 640);

    auto* choose = new QLabel(QStringLiteral("Regression &variable:"), this);
    variable_ = new QComboBox(this);
    variable_->setObjectName(QStringLiteral("cboVariable"));
    variable_->addItem(QStringLiteral("Selected in each stratum"));
    for (int k = 0; k < kRegressions; ++k) variable_->addItem(qstr(variableName(k)));
    choose->setBuddy(variable_);
    auto* save = makeButton(QStringLiteral("&Save Chart…"), QStringLiteral("cmdSaveChart"), this);
    auto* close = makeButton(QStringLiteral("&Close"), QStringLiteral("cmdCloseResults"), this);
    auto* top = new QHBoxLayout;
    top->addWidget(choose);
    top->addWidget(variable_);
    top->addStretch(1);
    top->addWidget(save);
    top->addWidget(close);

    problemLabel_ = new QLabel(this);
    problemLabel_->setObjectName(QStringLiteral("lblResultsProblem"));
    problemLabel_->setWordWrap(true);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabCharts"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(problemLabel_);
    layout->addWidget(tabs_, 1);

    connect(variable_, &QComboBox::currentIndexChanged, this, [this](int index) {
        showRegression(index <= 0 ? std::nullopt : std::optional<int>(index - 1));
    });
    connect(save, &QPushButton::clicked, this, &ResultsWindow::onSave);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    reload();
}

void ResultsWindow::reload() {
    setWindowTitle(QStringLiteral("Results – ") + qstr(session_.dataSetName));
    problem_.clear();
    try {
        inputs_ = readRegressionInputs(workflow::stepInputs(session_, ProductCodePolicy::Drop));
        estimates_ = estimateAllStrata(inputs_);
    } catch (const std::exception& e) {
        problem_ = QStringLiteral("The results cannot be shown: ") + qstr(e.what());
        inputs_ = {};
        estimates_ = {};
    }
    rebuild();
}

void ResultsWindow::showRegression(std::optional<int> k) {
    shown_ = k;
    const int index = k ? *k + 1 : 0;
    if (variable_->currentIndex() != index) variable_->setCurrentIndex(index);  // calls back
    rebuild();
}

void ResultsWindow::rebuild() {
    const int current = tabs_->currentIndex();
    while (tabs_->count() > 0) {
        QWidget* page = tabs_->widget(0);
        tabs_->removeTab(0);
        delete page;
    }
    views_.clear();
    problemLabel_->setText(problem_);
    problemLabel_->setVisible(!problem_.isEmpty());
    if (!problem_.isEmpty()) return;

    const auto addView = [this](QChart* chart, const QString& name) {
        auto* view = new QChartView(chart);
        view->setObjectName(name);
        view->setRenderHint(QPainter::Antialiasing);
        views_.push_back(view);
        return view;
    };
    const std::vector<EstimateInterval> bars = estimateIntervals(estimates_, shown_);
    const QString title = shown_ ? QStringLiteral("Estimates of mean ground volume on ") +
                                       qstr(variableName(*shown_)) +
                                       QStringLiteral(", with 95 % confidence intervals")
                                 : QStringLiteral(
                                       "Estimates of mean ground volume (selected "
                                       "regressions), with 95 % confidence intervals");
    tabs_->addTab(addView(estimatesChart(bars, title), QStringLiteral("chartEstimates")),
                  QStringLiteral("Estimates"));
    for (int h = 0; h <= estimates_.H; ++h) {
        const StratumScatter s = stratumScatter(inputs_, estimates_, h, shown_);
        const std::vector<EstimateInterval> sameRegression = estimateIntervals(estimates_, s.k);
        auto* page = new QWidget;
        auto* row = new QHBoxLayout(page);
        row->addWidget(addView(scatterChart(s), QStringLiteral("chartStratum%1").arg(h)), 1);
        auto* figures =
            new QLabel(scatterSummary(s, sameRegression[static_cast<std::size_t>(h)]), page);
        figures->setObjectName(QStringLiteral("lblStratum%1").arg(h));
        figures->setTextFormat(Qt::RichText);
        figures->setWordWrap(true);
        figures->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        figures->setFixedWidth(figures->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 16);
        row->addWidget(figures);
        tabs_->addTab(
            page, h == 0 ? QStringLiteral("Non-stratified") : QStringLiteral("Stratum %1").arg(h));
    }
    if (current >= 0 && current < tabs_->count()) tabs_->setCurrentIndex(current);
}

QChart* ResultsWindow::chart(int index) const {
    if (index < 0 || index >= chartCount()) return nullptr;
    return views_[static_cast<std::size_t>(index)]->chart();
}

QString ResultsWindow::saveChart(int index, const QString& file) const {
    if (index < 0 || index >= chartCount()) return QStringLiteral("There is no chart to save.");
    QChartView* view = views_[static_cast<std::size_t>(index)];
    // A chart not yet on the screen is drawn at the size the window would give it.
    const QSize size = view->isVisible() ? view->size() : QSize(900, 560);
    if (!view->isVisible()) view->resize(size);
    if (file.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(windowTitle());
        QPainter painter;
        if (!painter.begin(&svg))
            return QStringLiteral("File ") + file + QStringLiteral(" cannot be written.");
        view->render(&painter);
        painter.end();
        return QFileInfo::exists(file)
                   ? QString()
                   : QStringLiteral("File ") + file + QStringLiteral(" cannot be written.");
    }
    const QPixmap picture = view->grab(QRect(QPoint(0, 0), size));
    if (!picture.save(file, "PNG"))
        return QStringLiteral("File ") + file + QStringLiteral(" cannot be written.");
    return {};
}

void ResultsWindow::onSave() {
    const int index = tabs_->currentIndex();
    if (index < 0) return;
    const QString suggested =
        qpath(session_.dataFilesDir()) + QLatin1Char('/') + qstr(session_.dataSetName) +
        (index == 0 ? QStringLiteral("_Estimates") : QStringLiteral("_Stratum%1").arg(index - 1)) +
        QStringLiteral(".png");
    QString filter;
    const QString file = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save Chart"), suggested,
        QStringLiteral("PNG image (*.png);;SVG drawing (*.svg)"), &filter);
    if (file.isEmpty()) return;
    const QString problem = saveChart(index, file);
    if (!problem.isEmpty()) showError(this, problem);
}

}  // namespace orr::gui
