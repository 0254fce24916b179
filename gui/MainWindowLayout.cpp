// The widgets of the main window: the File menu; twelve step frames in an outer frame on the
// left, which scrolls up and down but never sideways; the status frame with the log, the
// progress bar and Cancel on the right, Reset and Exit below it. The two sides keep fixed shares
// of the width, whatever the captions and labels say.
#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>
#include <vector>

#include "gui/ElidedLabel.h"
#include "gui/GuiText.h"
#include "gui/MainWindow.h"

namespace orr::gui {

namespace {

using workflow::Button;
using workflow::Label;

// The shares of the window's width: the steps and the status pane.
constexpr int kStepsShare = 5;
constexpr int kStatusShare = 3;
// The size the window asks for where the screen has room for it.
constexpr QSize kPreferredSize(1480, 940);
// Room left around the window for its frame and title bar, which are not yet known before the
// window is first shown.
constexpr QSize kFrameAllowance(16, 48);

struct FrameRow {
    const char* description;      // may be empty
    std::optional<Label> output;  // the output label beside it
};

// A link that opens a picker again: "Change…".
QLabel* changeLink(const QString& objectName, QWidget* parent) {
    auto* link = new QLabel(QStringLiteral("<a href=\"change\">Change…</a>"), parent);
    link->setObjectName(objectName);
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setFocusPolicy(Qt::TabFocus);
    return link;
}

struct StepFrame {
    const char* caption;
    Button button;
    const char* buttonCaption;
    std::vector<FrameRow> rows;
};

const std::vector<StepFrame>& stepFrames() {
    static const std::vector<StepFrame> frames = {
        {"1. DataSet",
         Button::DataSetCreate,
         "Create &DataSet ",
         {{"Enter Name of DataSet", Label::DataSetName}}},
        {"2. User Parameters",
         Button::SetParam,
         "Set &Parameters",
         {{"Change User Parameters", std::nullopt}}},
        {"3. Phase 2 Regression Coefficients",
         Button::RegCoeff,
         "&Regression Co-eff",
         {{"Enter/Edit Phase 2 Regression Coefficient", Label::CoefficientFile}}},
        {"4. Assign Plots and DBH Files",
         Button::AssignPlotsDBH,
         "&Assign Plots, DBH",
         {{"Assign Plots to Strata and DBH to Species-Product Classes", Label::StrataDbhFiles}}},
        {"5. Assign Heights and Volume to Phase 2 Trees",
         Button::ComputePlots,
         "Compute P&Lots",
         {{"", Label::TreeFile},
          {"Compute plot totals/percentages by species-product", Label::PlotClassesFile},
          {"Compute plot totals all species, products combined", Label::PlotTotalsFile},
          {"Obtain Summary of Phase 2 ground estimates ", Label::Phase2SummaryFile}}},
        {"6. Iteration",
         Button::Iterate,
         "&Iterate",
         {{"Iterate for Species-Product distribution of Phase 2 LiDAR Heights",
           Label::LidarPlotsDS1},
          {"", Label::LidarPlotsDS2}}},
        {"7. Compute Phase 1 Species,N,BA and Volume",
         Button::ComputePhase1,
         "Compute Phase 1",
         {{"Compute Phase 1 Species, N, BA and Volume", Label::Phase1DS1}, {"", Label::Phase1DS2}}},
        {"8. Combine Phase 2 ground and LiDAR estimates",
         Button::CombinePhase2,
         "Combine Phase 2",
         {{"Combine Phase 2 ground and LiDAR estimates", Label::Phase2File},
          {"Obtain Summary of Ground and LiDAR estimates", Label::VolumeSummary}}},
        {"9.Compute and Allocate Double-Sample Estimates",
         Button::ComputeDoubleSample,
         "Compute &Estimates",
         {{"Compute Double-Sample Estimates by Strata ", Label::Regression},
          {"Allocate estimates to Species-Product Class", Label::StratumVolume}}},
        {"10. Do Steps 5 through 9 Consecutively",
         Button::AllSteps,
         "&Steps 5 through 9",
         {{"Do Steps 5 through 9 consecutively ?", std::nullopt}}},
        {"11. View Output Files",
         Button::ViewOutput,
         "&View Output",
         {{"Click to view Output Files", Label::Reports}}},
        {"12. Review Instructions",
         Button::Instructions,
         "I&Nstructions",
         {{"Review Instructions", std::nullopt}}},
    };
    return frames;
}

QPushButton* workflowButton(Button b, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(qstr(workflow::buttonName(b)));
    return button;
}

}  // namespace

QGroupBox* MainWindow::buildStepFrame(int step) {
    const StepFrame& stepFrame = stepFrames()[static_cast<std::size_t>(step - 1)];
    auto* frame = new QGroupBox(QString::fromLatin1(stepFrame.caption));
    frame->setObjectName(QStringLiteral("FrameStep%1").arg(step));
    makeCaptionBold(frame);
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setVerticalSpacing(2);
    QPushButton* button =
        workflowButton(stepFrame.button, QString::fromLatin1(stepFrame.buttonCaption), frame);
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("M")) * 14);
    buttons_[static_cast<std::size_t>(stepFrame.button)] = button;
    grid->addWidget(button, 0, 0, Qt::AlignTop);
    int row = 0;
    for (const FrameRow& r : stepFrame.rows) {
        if (*r.description) {
            // A description wraps rather than widen the pane.
            auto* description = new QLabel(QString::fromLatin1(r.description), frame);
            description->setWordWrap(true);
            description->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            grid->addWidget(description, row, 1);
        }
        if (r.output) {
            // A file name too long for its place is shortened, whole in its tooltip.
            auto* label = new ElidedLabel(qstr(workflow::initialCaption(*r.output)), frame);
            label->setObjectName(qstr(workflow::labelName(*r.output)));
            label->setVisible(false);
            labels_[static_cast<std::size_t>(*r.output)] = label;
            grid->addWidget(label, row, 2);
        }
        ++row;
    }
    // The chosen input files can be changed at any time from the steps that read them first.
    const auto readsFirst = [&](ChosenInput input) {
        const workflow::StepEntry* first = workflow_.firstReading(input);
        return first && first->number() == step;
    };
    if (readsFirst(ChosenInput::Trees)) {
        changeTreeFile_ = changeLink(QStringLiteral("lnkChangeTreeFile"), frame);
        grid->addWidget(changeTreeFile_, 0, 3, Qt::AlignTop | Qt::AlignRight);
    } else if (readsFirst(ChosenInput::LidarDS1)) {
        changeLidarFiles_ = changeLink(QStringLiteral("lnkChangeLidarFiles"), frame);
        grid->addWidget(changeLidarFiles_, 0, 3, Qt::AlignTop | Qt::AlignRight);
    } else if (step == 11) {
        // The charts of the results, beside the reports.
        resultsButton_ =
            makeButton(QStringLiteral("Resul&ts…"), QStringLiteral("cmdViewResults"), frame);
        grid->addWidget(resultsButton_, 1, 0, Qt::AlignTop);
        auto* charts = new QLabel(QStringLiteral("Charts of the estimates by stratum"), frame);
        charts->setWordWrap(true);
        charts->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        grid->addWidget(charts, 1, 1);
    }
    // The same columns in every frame, so that they line up down the window; the file names get
    // the larger share.
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 5);
    grid->setColumnMinimumWidth(
        3, frame->fontMetrics().horizontalAdvance(QStringLiteral("Change…")) + 4);
    return frame;
}

QWidget* MainWindow::buildStatusFrame() {
    statusFrame_ = new QGroupBox(QStringLiteral("Status"), this);
    statusFrame_->setObjectName(QStringLiteral("FrameStatus"));
    makeCaptionBold(statusFrame_);
    logView_ = new QPlainTextEdit(statusFrame_);
    logView_->setObjectName(QStringLiteral("txtStatus"));
    logView_->setReadOnly(true);
    logView_->setFont(fixedPitchFont());
    logView_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    logView_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    logView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    logView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    progressBar_ = new QProgressBar(statusFrame_);
    progressBar_->setObjectName(QStringLiteral("progressStep"));
    progressBar_->setRange(0, kProgressScale);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    cancelButton_ =
        makeButton(QStringLiteral("&Cancel"), QStringLiteral("cmdCancelStep"), statusFrame_);
    cancelButton_->setEnabled(false);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(progressBar_, 1);
    progressRow->addWidget(cancelButton_);
    auto* status = new QVBoxLayout(statusFrame_);
    status->addWidget(logView_, 1);
    status->addLayout(progressRow);
    return statusFrame_;
}

void MainWindow::buildWindow() {
    auto* outer = new QGroupBox(QStringLiteral("Orravant"));
    outer->setObjectName(QStringLiteral("FrameSteps"));
    makeCaptionBold(outer);
    auto* steps = new QVBoxLayout(outer);
    steps->setSpacing(2);
    for (int step = 1; step <= 12; ++step) steps->addWidget(buildStepFrame(step));
    steps->addStretch(1);
    stepsPane_ = new QScrollArea(this);
    stepsPane_->setObjectName(QStringLiteral("StepsPane"));
    stepsPane_->setWidget(outer);
    stepsPane_->setWidgetResizable(true);
    stepsPane_->setFrameShape(QFrame::NoFrame);
    stepsPane_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    auto* reset = workflowButton(Button::Reset, QStringLiteral("Reset"), this);
    auto* exit = workflowButton(Button::Exit, QStringLiteral("Exit"), this);
    buttons_[static_cast<std::size_t>(Button::Reset)] = reset;
    buttons_[static_cast<std::size_t>(Button::Exit)] = exit;
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(reset);
    bottom->addWidget(exit);

    auto* right = new QWidget(this);
    right->setObjectName(QStringLiteral("StatusPane"));
    auto* rightColumn = new QVBoxLayout(right);
    rightColumn->setContentsMargins(0, 0, 0, 0);
    rightColumn->addWidget(buildStatusFrame(), 1);
    rightColumn->addLayout(bottom);

    // Neither side's contents (a long caption, a long file name) may change its share.
    stepsPane_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    right->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    stepsPane_->setMinimumWidth(240);
    right->setMinimumWidth(200);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(stepsPane_, kStepsShare);
    layout->addWidget(right, kStatusShare);
    buildMenu();
}

void MainWindow::buildMenu() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menuBar"));
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    openAppDirAction_ = file->addAction(QStringLiteral("&Open Application Directory…"));
    openAppDirAction_->setObjectName(QStringLiteral("actOpenAppDir"));
    recentMenu_ = file->addMenu(QStringLiteral("&Recent Data Sets"));
    recentMenu_->setObjectName(QStringLiteral("mnuRecentDataSets"));
    file->addSeparator();
    exitAction_ = file->addAction(QStringLiteral("E&xit"));
    exitAction_->setObjectName(QStringLiteral("actExit"));
    layout()->setMenuBar(bar);
    rebuildRecentMenu();
}

void MainWindow::fitToScreen(const QRect& available) {
    const QSize room = available.size() - kFrameAllowance;
    resize(kPreferredSize.boundedTo(room));
    const QSize outside = size() + kFrameAllowance;
    move(available.x() + std::max(0, (available.width() - outside.width()) / 2),
         available.y() + std::max(0, (available.height() - outside.height()) / 2));
}

}  // namespace orr::gui
