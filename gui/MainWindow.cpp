#include "gui/MainWindow.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QThread>

#include "gui/BasicDialogs.h"
#include "gui/CrossThreadStepView.h"
#include "gui/DialogRunner.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/HelpWindow.h"
#include "gui/OutputViewerDialog.h"
#include "gui/SetupDialogs.h"

namespace orr::gui {

using workflow::Button;
using workflow::Label;

MainWindow::MainWindow(Session& session, std::span<const workflow::StepEntry> steps,
                       QWidget* parent)
    : QWidget(parent),
      session_(session),
      workflow_(session, steps),
      view_(std::make_unique<CrossThreadStepView>(*this)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Orravant"));
    buildWindow();

    // While a step runs, only the help and Cancel answer: nothing may change the session or the
    // files under the step's feet.
    auto on = [this](Button b, auto handler) {
        connect(buttons_[static_cast<std::size_t>(b)], &QPushButton::clicked, this,
                [this, handler] {
                    if (!workflow_.running()) handler();
                });
    };
    on(Button::DataSetCreate, [this] { onDataSetCreate(); });
    on(Button::SetParam, [this] { onSetParameters(); });
    on(Button::RegCoeff, [this] { onCoefficientFile(); });
    on(Button::AssignPlotsDBH, [this] { onStrataDbhFiles(); });
    on(Button::ComputePlots, [this] { onComputeStep(5); });
    on(Button::Iterate, [this] { onComputeStep(6); });
    on(Button::ComputePhase1, [this] { onComputeStep(7); });
    on(Button::CombinePhase2, [this] { onComputeStep(8); });
    on(Button::ComputeDoubleSample, [this] { onComputeStep(9); });
    on(Button::AllSteps, [this] { onAllSteps(); });
    on(Button::ViewOutput, [this] { onViewOutput(); });
    on(Button::Reset, [this] { onReset(); });
    on(Button::Exit, [this] { onExit(); });
    connect(buttons_[static_cast<std::size_t>(Button::Instructions)], &QPushButton::clicked, this,
            &MainWindow::onInstructions);
    connect(cancelButton_, &QPushButton::clicked, this, &MainWindow::onCancelStep);
    progressTimer_.setInterval(250);  // the bar moves at most four times a second
    connect(&progressTimer_, &QTimer::timeout, this, &MainWindow::showProgress);

    workflow_.setChangeHandler([this] { mirror(); });
    mirror();
    resize(1480, 940);
}

MainWindow::~MainWindow() {
    if (worker_) {
        // A step still running is cancelled; a question it waits on is answered with nothing.
        disconnect(worker_, nullptr, this, nullptr);
        view_->requestCancel();
        view_->abandon();
        worker_->wait();
    }
}

void MainWindow::mirror() {
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

void MainWindow::appendLog(const QString& line) {
    appendLogLine(utf8(line));
}

void MainWindow::appendLogLine(std::string_view line) {
    appendLogLines({std::string(line)});
}

void MainWindow::appendLogLines(const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    bool cleared = false;
    std::string added;
    for (const std::string& line : lines) {
        if (log_.append(line)) {
            cleared = true;
            added.clear();
        }
        added += line;
        added += "\r\n";
    }
    if (cleared) {
        logView_->setPlainText(qstr(workflow::StatusLog::forDisplay(log_.text())));
    } else {
        QTextCursor end(logView_->document());
        end.movePosition(QTextCursor::End);
        end.insertText(qstr(workflow::StatusLog::forDisplay(added)));
    }
    scrollLogToEnd();
}

void MainWindow::setLogText(std::string_view text) {
    log_.set(text);
    logView_->setPlainText(qstr(workflow::StatusLog::forDisplay(text)));
    scrollLogToEnd();
}

void MainWindow::scrollLogToEnd() {
    // The newest line stays in view, with nothing selected.
    logView_->moveCursor(QTextCursor::End);
    logView_->verticalScrollBar()->setValue(logView_->verticalScrollBar()->maximum());
}

void MainWindow::setStatusCaption(const QString& caption) {
    statusFrame_->setTitle(caption);
}

// --- activation, closing --------------------------------------------------------------------

void MainWindow::activate() {
    if (!workflow_.running()) workflow_.activate();
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) activate();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The window closes only when no step runs.
    if (workflow_.running()) {
        event->ignore();
        return;
    }
    if (help_) help_->close();
    QWidget::closeEvent(event);
}

// --- the set-up steps, the output viewer, the help, Reset and Exit ---------------------------

void MainWindow::afterDialog() {
    // Closing a modal dialog makes the window active again.
    activate();
}

void MainWindow::onDataSetCreate() {
    showDataSetNameDialog(this, *this);
    afterDialog();
}

void MainWindow::onSetParameters() {
    showParametersDialog(this, *this);
    afterDialog();
}

void MainWindow::onCoefficientFile() {
    showCoefficientFileDialog(this, *this);
    afterDialog();
}

void MainWindow::onStrataDbhFiles() {
    showStrataDbhFilesDialog(this, *this);
    afterDialog();
}

void MainWindow::onViewOutput() {
    OutputViewerDialog dialog(session_, this);
    execDialog(dialog);
    afterDialog();
}

void MainWindow::onReset() {
    workflow_.reset();
}

void MainWindow::onExit() {
    // The window closes once the events already waiting have been handled.
    QMetaObject::invokeMethod(
        this, [this] { close(); }, Qt::QueuedConnection);
}

void MainWindow::showOutputLabel(const QString& objectName, const QString& caption) {
    if (const auto label = workflow::labelByName(utf8(objectName)))
        workflow_.showLabel(*label, utf8(caption));
}

void MainWindow::onInstructions() {
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
