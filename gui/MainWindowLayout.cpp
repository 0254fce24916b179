// The widgets of the main window: twelve step frames in an outer frame on the left, the status
// frame with the log, the progress bar and Cancel on the right, Reset and Exit below it.
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <optional>
#include <vector>

#include "gui/GuiText.h"
#include "gui/MainWindow.h"

namespace orr::gui {

namespace {

using workflow::Button;
using workflow::Label;

struct FrameRow {
    const char* description;      // may be empty
    std::optional<Label> output;  // the output label beside it
};

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
        if (*r.description)
            grid->addWidget(new QLabel(QString::fromLatin1(r.description), frame), row, 1);
        if (r.output) {
            auto* label = new QLabel(qstr(workflow::initialCaption(*r.output)), frame);
            label->setObjectName(qstr(workflow::labelName(*r.output)));
            label->setTextInteractionFlags(Qt::TextSelectableByMouse);
            label->setVisible(false);
            labels_[static_cast<std::size_t>(*r.output)] = label;
            grid->addWidget(label, row, 2);
        }
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
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
    logView_->setLineWrapMode(QPlainTextEdit::NoWrap);
    logView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
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
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(outer);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);

    auto* reset = workflowButton(Button::Reset, QStringLiteral("Reset"), this);
    auto* exit = workflowButton(Button::Exit, QStringLiteral("Exit"), this);
    buttons_[static_cast<std::size_t>(Button::Reset)] = reset;
    buttons_[static_cast<std::size_t>(Button::Exit)] = exit;
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(reset);
    bottom->addWidget(exit);

    auto* right = new QVBoxLayout;
    right->addWidget(buildStatusFrame(), 1);
    right->addLayout(bottom);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(scroll, 3);
    layout->addLayout(right, 1);
}

}  // namespace orr::gui
