// The widgets of the main window: twelve step frames in an outer frame on the left, the status
// frame with the log on the right, Reset and Exit below it.
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
#include "gui/frmMain.h"

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
         {{"Enter Name of DataSet", Label::lbldatasetname}}},
        {"2. User Parameters",
         Button::SetParam,
         "Set &Parameters",
         {{"Change User Parameters", std::nullopt}}},
        {"3. Phase 2 Regression Coefficients",
         Button::RegCoeff,
         "&Regression Co-eff",
         {{"Enter/Edit Phase 2 Regression Coefficient", Label::LblCoeffFile}}},
        {"4. Assign Plots and DBH Files",
         Button::AssignPlotsDBH,
         "&Assign Plots, DBH",
         {{"Assign Plots to Strata and DBH to Species-Product Classes",
           Label::LblStratDBHfilename}}},
        {"5. Assign Heights and Volume to Phase 2 Trees",
         Button::ComputePlots,
         "Compute P&Lots",
         {{"", Label::LblInputFilename},
          {"Compute plot totals/percentages by species-product", Label::LblPlotOutfile1},
          {"Compute plot totals all species, products combined", Label::LblPlotOutfile2},
          {"Obtain Summary of Phase 2 ground estimates ", Label::LblPlotOutfile3}}},
        {"6. Iteration",
         Button::Iterate,
         "&Iterate",
         {{"Iterate for Species-Product distribution of Phase 2 LiDAR Heights",
           Label::LblHighLidar6},
          {"", Label::LblLowLidar6}}},
        {"7. Compute Phase 1 Species,N,BA and Volume",
         Button::ComputePhase1,
         "Compute Phase 1",
         {{"Compute Phase 1 Species, N, BA and Volume", Label::LblHighLidar7},
          {"", Label::LblLowLidar7}}},
        {"8. Combine Phase 2 ground and LiDAR estimates",
         Button::CombinePhase2,
         "Combine Phase 2",
         {{"Combine Phase 2 ground and LiDAR estimates", Label::LblCombine8},
          {"Obtain Summary of Ground and LiDAR estimates", Label::LblCombineSumm8}}},
        {"9.Compute and Allocate Double-Sample Estimates",
         Button::ComputeDoubleSample,
         "Compute &Estimates",
         {{"Compute Double-Sample Estimates by Strata ", Label::LblCompute9},
          {"Allocate estimates to Species-Product Class", Label::LblAllocate9}}},
        {"10. Do Steps 5 through 9 Consecutively",
         Button::AllSteps,
         "&Steps 5 through 9",
         {{"Do Steps 5 through 9 consecutively ?", std::nullopt}}},
        {"11. View Output Files",
         Button::ViewOutput,
         "&View Output",
         {{"Click to view Output Files", Label::lblOutputfiles}}},
        {"12. Review Instructions",
         Button::Instructions,
         "I&Nstructions",
         {{"Review Instructions", std::nullopt}}},
    };
    return frames;
}

QPushButton* makeButton(Button b, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(qstr(workflow::buttonName(b)));
    return button;
}

}  // namespace

QGroupBox* frmMain::buildStepFrame(int step) {
    const StepFrame& spec = stepFrames()[static_cast<std::size_t>(step - 1)];
    auto* frame = new QGroupBox(QString::fromLatin1(spec.caption));
    frame->setObjectName(QStringLiteral("FrameStep%1").arg(step));
    makeCaptionBold(frame);
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setVerticalSpacing(2);
    QPushButton* button = makeButton(spec.button, QString::fromLatin1(spec.buttonCaption), frame);
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("M")) * 14);
    buttons_[static_cast<std::size_t>(spec.button)] = button;
    grid->addWidget(button, 0, 0, Qt::AlignTop);
    int row = 0;
    for (const FrameRow& r : spec.rows) {
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

void frmMain::buildWindow() {
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

    FrameStatus_ = new QGroupBox(QStringLiteral("Status"), this);
    FrameStatus_->setObjectName(QStringLiteral("FrameStatus"));
    makeCaptionBold(FrameStatus_);
    txtStatus_ = new QPlainTextEdit(FrameStatus_);
    txtStatus_->setObjectName(QStringLiteral("txtStatus"));
    txtStatus_->setReadOnly(true);
    txtStatus_->setFont(fixedPitchFont());
    txtStatus_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtStatus_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    progress_ = new QProgressBar(FrameStatus_);
    progress_->setObjectName(QStringLiteral("progressStep"));
    progress_->setVisible(false);
    auto* status = new QVBoxLayout(FrameStatus_);
    status->addWidget(txtStatus_, 1);
    status->addWidget(progress_);

    auto* cmdReset = makeButton(Button::Reset, QStringLiteral("Reset"), this);
    auto* cmdExit = makeButton(Button::Exit, QStringLiteral("Exit"), this);
    buttons_[static_cast<std::size_t>(Button::Reset)] = cmdReset;
    buttons_[static_cast<std::size_t>(Button::Exit)] = cmdExit;
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(cmdReset);
    bottom->addWidget(cmdExit);

    auto* right = new QVBoxLayout;
    right->addWidget(FrameStatus_, 1);
    right->addLayout(bottom);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(scroll, 3);
    layout->addLayout(right, 1);
}

}  // namespace orr::gui
