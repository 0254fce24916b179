#include "gui/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTextCursor>
#include <QThread>

#include "gui/BasicDialogs.h"
#include "gui/CrossThreadStepView.h"
#include "gui/DialogRunner.h"
#include "gui/DialogServices.h"
#include "gui/ElidedLabel.h"
#include "gui/GuiText.h"
#include "gui/HelpWindow.h"
#include "gui/LidarFilePicker.h"
#include "gui/OutputViewerDialog.h"
#include "gui/RememberedState.h"
#include "gui/ResultsWindow.h"
#include "gui/SetupDialogs.h"
#include "gui/TreeFilePicker.h"
#include "model/workflow/StepCaptions.h"

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
    for (const workflow::StepEntry& entry : workflow_.steps()) {
        const int number = entry.number();
        on(entry.description->button, [this, number] { onComputeStep(number); });
    }
    on(Button::AllSteps, [this] { onAllSteps(); });
    on(Button::ViewOutput, [this] { onViewOutput(); });
    on(Button::Reset, [this] { onReset(); });
    on(Button::Exit, [this] { onExit(); });
    connect(buttons_[static_cast<std::size_t>(Button::Instructions)], &QPushButton::clicked, this,
            &MainWindow::onInstructions);
    connect(resultsButton_, &QPushButton::clicked, this, [this] {
        if (!workflow_.running()) showResults();
    });
    connect(cancelButton_, &QPushButton::clicked, this, &MainWindow::onCancelStep);
    connect(changeTreeFile_, &QLabel::linkActivated, this, [this] {
        if (!workflow_.running()) onChangeTreeFile();
    });
    connect(changeLidarFiles_, &QLabel::linkActivated, this, [this] {
        if (!workflow_.running()) onChangeLidarFiles();
    });
    connect(openAppDirAction_, &QAction::triggered, this, [this] {
        if (!workflow_.running()) onOpenApplicationDirectory();
    });
    connect(exitAction_, &QAction::triggered, this, [this] {
        if (workflow_.isEnabled(Button::Exit)) onExit();
    });
    progressTimer_.setInterval(250);  // the bar moves at most four times a second
    connect(&progressTimer_, &QTimer::timeout, this, &MainWindow::showProgress);

    workflow_.setChangeHandler([this] { mirror(); });
    mirror();
    fitToScreen(screen()->availableGeometry());
}

MainWindow::~MainWindow() {
    if (worker_) {
        // A step still running is cancelled; a question it waits on is answered with nothing.
        disconnect(worker_, nullptr, this, nullptr);
        view_->requestCancel();
        view_->abandon();
        worker_->wait();
    }
    if (resultsReader_) {
        // The results being read are no longer wanted; the reading ends on its own.
        disconnect(resultsReader_, nullptr, this, nullptr);
        resultsReader_->wait();
    }
}

void MainWindow::mirror() {
    for (Button b : workflow::allButtons())
        buttons_[static_cast<std::size_t>(b)]->setEnabled(workflow_.isEnabled(b));
    for (Label l : workflow::allLabels()) {
        ElidedLabel* label = labels_[static_cast<std::size_t>(l)];
        const workflow::OutputLabel& state = workflow_.label(l);
        label->setFullText(qstr(state.caption));
        label->setVisible(state.visible);
    }
    // The links and the File menu rest while a step runs, like the set-up steps.
    const bool idle = !workflow_.running();
    for (QLabel* link : {changeTreeFile_, changeLidarFiles_}) {
        link->setEnabled(idle);
        link->setText(idle ? QStringLiteral("<a href=\"change\">Change…</a>")
                           : QStringLiteral("Change…"));
    }
    resultsButton_->setEnabled(workflow_.isEnabled(Button::ViewOutput) && idle && !resultsReader_);
    openAppDirAction_->setEnabled(idle);
    recentMenu_->setEnabled(idle);
    exitAction_->setEnabled(workflow_.isEnabled(Button::Exit));
    changeTreeFile_->setToolTip(session_.inputs.trees.empty()
                                    ? QStringLiteral("Choose the Phase 2 tree file")
                                    : QStringLiteral("Tree file: ") + qpath(session_.inputs.trees));
    QString lidar = session_.inputs.lidarHigh.empty()
                        ? QStringLiteral("Choose the LiDAR height files")
                        : QStringLiteral("DataSet 1: ") + qpath(session_.inputs.lidarHigh);
    if (!session_.inputs.lidarLow.empty())
        lidar += QStringLiteral("\nDataSet 2: ") + qpath(session_.inputs.lidarLow);
    changeLidarFiles_->setToolTip(lidar);
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
    if (workflow_.running()) return;
    workflow_.activate();
    rememberDataSet();
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
    if (results_) results_->close();
    if (settings_) RememberedState(*settings_).setWindowGeometry(saveGeometry());
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

void MainWindow::showResults() {
    if (!results_) results_ = new ResultsWindow(session_, this);
    const std::filesystem::path dataSet = session_.dataFilesDir() / session_.dataSetName;
    if (lastResults_ && lastResultsOf_ != dataSet) lastResults_.reset();
    if (!lastResults_) {
        readEarlierResults();
        return;
    }
    results_->setResults(lastResults_);
    results_->show();
    results_->raise();
    results_->activateWindow();
}

void MainWindow::readEarlierResults() {
    // The reports of a data set opened again were written by a run of step 9 before the program
    // started: its results are read from the files that step read, away from the window's thread.
    if (resultsReader_) return;
    struct Read {
        std::shared_ptr<const DoubleSampleResults> results;
        QString problem;
    };
    auto read = std::make_shared<Read>();
    const StepInputs inputs = workflow::stepInputs(session_, ProductCodePolicy::Drop);
    const std::filesystem::path dataSet = session_.dataFilesDir() / session_.dataSetName;
    resultsReader_ = QThread::create([read, inputs] {
        try {
            read->results = orr::readEarlierResults(inputs);
        } catch (const std::exception& e) {
            read->problem = QStringLiteral("The results cannot be shown: ") + qstr(e.what());
        }
    });
    resultsReader_->setParent(this);
    resultsButton_->setEnabled(false);
    connect(
        resultsReader_, &QThread::finished, this,
        [this, read, dataSet] {
            resultsReader_->deleteLater();
            resultsReader_ = nullptr;
            mirror();
            if (read->results) {
                lastResults_ = read->results;
                lastResultsOf_ = dataSet;
            }
            results_->setResults(read->results, read->problem);
            results_->show();
            results_->raise();
            results_->activateWindow();
        },
        Qt::QueuedConnection);
    resultsReader_->start();
}

void MainWindow::onReset() {
    workflow_.reset();
    setStatusCaption(qstr(workflow::kResetCaption));
}

void MainWindow::onChangeTreeFile() {
    const std::filesystem::path before = session_.inputs.trees;
    TreeFilePicker picker(*this, this);
    if (execDialog(picker) != QDialog::Accepted) setInput(ChosenInput::Trees, before);
    if (session_.inputs.trees != before) rememberDataSet();
    mirror();
}

void MainWindow::onChangeLidarFiles() {
    const std::filesystem::path high = session_.inputs.lidarHigh;
    const std::filesystem::path low = session_.inputs.lidarLow;
    LidarFilePicker picker(*this, this);
    if (execDialog(picker) != QDialog::Accepted) {
        setInput(ChosenInput::LidarDS1, high);
        setInput(ChosenInput::LidarDS2, low);
    }
    if (session_.inputs.lidarHigh != high || session_.inputs.lidarLow != low) rememberDataSet();
    mirror();
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
        showError(this, QStringLiteral(
                            "The help file help/index.html was not found beside the program."));
        return;
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

}  // namespace orr::gui
