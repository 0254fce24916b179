#include "gui/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>

#include "gui/BasicDialogs.h"
#include "gui/DialogRunner.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/frmViewOutput.h"
#include "gui/GuiStepHost.h"
#include "gui/HelpWindow.h"
#include "gui/SetupDialogs.h"

namespace orr::gui {

using workflow::Button;
using workflow::Label;

frmMain::frmMain(Session& session, workflow::StepSet steps, QWidget* parent)
    : QWidget(parent),
      session_(session),
      workflow_(session, steps),
      host_(std::make_unique<GuiStepHost>(*this)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Orravant"));
    buildWindow();

    auto on = [this](Button b, auto handler) {
        connect(buttons_[static_cast<std::size_t>(b)], &QPushButton::clicked, this, handler);
    };
    on(Button::DataSetCreate, &frmMain::cmdDataSetCreate_Click);
    on(Button::SetParam, &frmMain::cmdSetParam_Click);
    on(Button::RegCoeff, &frmMain::cmdRegCoeff_Click);
    on(Button::AssignPlotsDBH, &frmMain::cmdAssignPlotsDBH_Click);
    on(Button::ComputePlots, [this] { runComputation(5); });
    on(Button::Iterate, [this] { runComputation(6); });
    on(Button::ComputePhase1, [this] { runComputation(7); });
    on(Button::CombinePhase2, [this] { runComputation(8); });
    on(Button::ComputeDoubleSample, [this] { runComputation(9); });
    on(Button::AllSteps, &frmMain::runAllSteps);
    on(Button::ViewOutput, &frmMain::cmdViewOutput_Click);
    on(Button::Instructions, &frmMain::openHelp);
    on(Button::Reset, &frmMain::cmdReset_Click);
    on(Button::Exit, &frmMain::cmdExit_Click);

    workflow_.setChangeHandler([this] { mirror(); });
    mirror();
    resize(1480, 940);
}

frmMain::~frmMain() = default;

StepHost& frmMain::stepHost() {
    return *host_;
}

void frmMain::mirror() {
    for (Button b : workflow::allButtons())
        buttons_[static_cast<std::size_t>(b)]->setEnabled(workflow_.isEnabled(b));
    for (Label l : workflow::allLabels()) {
        QLabel* label = labels_[static_cast<std::size_t>(l)];
        const workflow::OutputLabel& state = workflow_.label(l);
        label->setText(qstr(state.caption));
        label->setVisible(state.visible);
    }
}

// --- the status log -------------------------------------------------------------------------

void frmMain::appendLog(const QString& line) {
    appendLogLine(utf8(line));
}

void frmMain::appendLogLine(std::string_view line) {
    log_.append(line);
    QTextCursor end(txtStatus_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(qstr(workflow::StatusLog::forDisplay(std::string(line) + "\r\n")));
    // The newest line stays in view, with nothing selected.
    txtStatus_->moveCursor(QTextCursor::End);
    txtStatus_->verticalScrollBar()->setValue(txtStatus_->verticalScrollBar()->maximum());
}

void frmMain::setLogText(std::string_view text) {
    log_.set(text);
    txtStatus_->setPlainText(qstr(workflow::StatusLog::forDisplay(text)));
    txtStatus_->moveCursor(QTextCursor::End);
}

void frmMain::setStatusCaption(const QString& caption) {
    FrameStatus_->setTitle(caption);
}

void frmMain::showProgress(std::size_t done, std::size_t total) {
    // Per mille, so that any count fits the bar's range.
    constexpr int kScale = 1000;
    progress_->setVisible(true);
    progress_->setRange(0, kScale);
    progress_->setValue(total == 0 ? 0
                                   : static_cast<int>(static_cast<double>(std::min(done, total)) /
                                                      static_cast<double>(total) * kScale));
    // Repaint at most a few times a second, and always at the end.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (done >= total || now - lastRepaint_ >= 100) {
        lastRepaint_ = now;
        repaintNow();
    }
}

void frmMain::repaintNow() {
    // Only paint and layout events: the user cannot start anything while a step runs.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// --- activation, steps ----------------------------------------------------------------------

void frmMain::activate() {
    if (!workflow_.running()) workflow_.activate();
}

void frmMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) activate();
}

void frmMain::closeEvent(QCloseEvent* event) {
    // A running step is finished first; the window closes only when nothing runs.
    if (workflow_.running()) {
        event->ignore();
        return;
    }
    if (help_) help_->close();
    QWidget::closeEvent(event);
}

void frmMain::runComputation(int step) {
    if (workflow_.running()) return;
    progress_->setVisible(false);
    workflow_.runStep(step, *host_);
    progress_->setVisible(false);
}

void frmMain::runAllSteps() {
    if (workflow_.running()) return;
    progress_->setVisible(false);
    workflow_.runAllSteps(*host_);
    progress_->setVisible(false);
    repaintNow();
}

void frmMain::afterDialog() {
    // Closing a modal dialog makes the window active again.
    activate();
}

void frmMain::cmdDataSetCreate_Click() {
    showDataSetNameDialog(this, *this);
    afterDialog();
}

void frmMain::cmdSetParam_Click() {
    showParametersDialog(this, *this);
    afterDialog();
}

void frmMain::cmdRegCoeff_Click() {
    showRegCoeffDialog(this, *this);
    afterDialog();
}

void frmMain::cmdAssignPlotsDBH_Click() {
    showAssignPlotsDbhDialog(this, *this);
    afterDialog();
}

void frmMain::cmdViewOutput_Click() {
    frmViewOutput dialog(session_, this);
    execDialog(dialog);
    afterDialog();
}

void frmMain::cmdReset_Click() {
    workflow_.reset();
}

void frmMain::cmdExit_Click() {
    QCoreApplication::processEvents();
    close();
}

void frmMain::showOutputLabel(const QString& objectName, const QString& caption) {
    if (const auto label = workflow::labelByName(utf8(objectName)))
        workflow_.showLabel(*label, utf8(caption));
}

void frmMain::openHelp() {
    if (!help_) {
        help_ = new HelpWindow(HelpWindow::findHelp(session_.appDir), this);
        help_->setWindowFlag(Qt::Window);
    }
    if (!help_->hasPage()) {
        showMessage(
            this, QMessageBox::Critical,
            QStringLiteral("The help file help/index.html was not found beside the program."));
        return;
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

}  // namespace orr::gui
