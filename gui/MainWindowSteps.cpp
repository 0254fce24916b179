// The computation steps of the main window: the files a step lacks are chosen on the window's
// thread, then the step runs on a worker thread while the window keeps answering; its end is
// handled back on the window's thread.
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <algorithm>

#include "engine/doublesample/DoubleSampleStep.h"
#include "files/DataSetFiles.h"
#include "gui/BasicDialogs.h"
#include "gui/CrossThreadStepView.h"
#include "gui/DialogRunner.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/LidarFilePicker.h"
#include "gui/MainWindow.h"
#include "gui/TreeFilePicker.h"
#include "model/workflow/StepCaptions.h"

namespace orr::gui {

void MainWindow::pickTreeFile() {
    TreeFilePicker picker(*this, this);
    execDialog(picker);
}

void MainWindow::pickLidarFiles() {
    LidarFilePicker picker(*this, this);
    execDialog(picker);
}

bool MainWindow::chooseMissingFiles(int step) {
    // The files chosen as a step starts: the tree file and the LiDAR files. The set-up files
    // are chosen in steps 3 and 4 before any step can start.
    const auto lacks = [&](ChosenInput input) {
        const std::vector<ChosenInput> lacking = workflow_.lacking(step);
        return std::find(lacking.begin(), lacking.end(), input) != lacking.end();
    };
    if (lacks(ChosenInput::Trees)) {
        pickTreeFile();
        if (lacks(ChosenInput::Trees)) {
            showError(this, QStringLiteral("Please Enter Input File"));
            return false;
        }
    }
    if (lacks(ChosenInput::LidarDS1)) {
        pickLidarFiles();
        if (lacks(ChosenInput::LidarDS1)) return false;
    }
    return true;
}

// A step refused because the parameters are out of range or another run holds the data set.
void MainWindow::showRefusal() {
    if (!workflow_.refusal().empty()) showError(this, QString::fromStdString(workflow_.refusal()));
}

void MainWindow::onComputeStep(int step) {
    if (workflow_.running() || !chooseMissingFiles(step)) return;
    if (!workflow_.beginStep(step)) return showRefusal();
    rememberStateBeforeStep();
    launchStep(step);
}

void MainWindow::onAllSteps() {
    if (workflow_.running()) return;
    // Step 10 asks for the tree file and the LiDAR files its steps need before its first step.
    const auto anyStepLacks = [&](ChosenInput input) {
        for (const workflow::StepEntry& entry : workflow_.steps()) {
            const std::vector<ChosenInput> lacking = workflow_.lacking(entry.number());
            if (std::find(lacking.begin(), lacking.end(), input) != lacking.end()) return true;
        }
        return false;
    };
    if (anyStepLacks(ChosenInput::Trees)) pickTreeFile();
    if (anyStepLacks(ChosenInput::LidarDS1)) pickLidarFiles();
    if (!workflow_.beginAllSteps()) return showRefusal();
    startStepOfAll(workflow_.steps().front().number());
}

void MainWindow::startStepOfAll(int step) {
    workflow_.beginStepOfAll(step);
    // A file the step still lacks after its picker ends step 10 as a step that did not run.
    if (!chooseMissingFiles(step)) {
        endStepOfAll(step, StepResult::stopped(""));
        return;
    }
    rememberStateBeforeStep();
    launchStep(step);
}

void MainWindow::rememberStateBeforeStep() {
    logBefore_ = log_.text();
}

void MainWindow::launchStep(int step) {
    const workflow::StepEntry entry = *workflow_.step(step);
    const StepInputs inputs = workflow::stepInputs(session_, ProductCodePolicy::Ask);
    const std::optional<std::uint64_t> seed = session_.run.seed;
    runningStep_ = step;
    view_->prepare();
    worker_ = QThread::create([this, entry, inputs, seed] {
        workerResult_ = workflow::runStep(entry, inputs, seed, *view_);
    });
    worker_->setParent(this);
    // Queued: every update the step sent before it returned reaches the window first.
    connect(worker_, &QThread::finished, this, &MainWindow::onStepEnded, Qt::QueuedConnection);
    showStepRunning(true);
    worker_->start();
}

void MainWindow::onStepEnded() {
    worker_->wait();
    worker_->deleteLater();
    worker_ = nullptr;
    showStepRunning(false);
    const StepResult result = std::move(workerResult_);
    const int step = runningStep_;
    // The caption tells how the step ended, never what it was doing.
    switch (result.end) {
        case StepResult::End::NeedsLargerMaxPlots:
            // The user may raise MaxPlots; once it covers the plot the step runs again.
            if (showParametersDialog(this, *this) && session_.params.MaxPlots >= result.plot) {
                launchStep(step);
                return;
            }
            setStatusCaption(qstr(workflow::stoppedCaption(step)));
            break;
        case StepResult::End::Stopped:
            setStatusCaption(qstr(workflow::stoppedCaption(step)));
            break;
        case StepResult::End::Cancelled:
            // The step wrote nothing: its lines go from the log again.
            setLogText(logBefore_);
            setStatusCaption(qstr(workflow::cancelledCaption(step)));
            if (!workflow_.runningAllSteps())
                appendLogLine("Step " + std::to_string(step) +
                              " was cancelled; no file was changed.");
            break;
        case StepResult::End::Completed:
            break;
    }
    if (workflow_.runningAllSteps())
        endStepOfAll(step, result);
    else
        workflow_.finishStep(step, result);
    // The tree and LiDAR files a step asked for belong to the data set from now on.
    if (result.completed()) rememberDataSet();
    // Step 9, alone or as the last of step 10, opens the charts of what it produced.
    if (auto results = std::dynamic_pointer_cast<const DoubleSampleResults>(result.details)) {
        lastResults_ = std::move(results);
        lastResultsOf_ = session_.dataFilesDir() / session_.dataSetName;
        showResults();
    }
}

void MainWindow::endStepOfAll(int step, const StepResult& result) {
    if (const std::optional<int> next = workflow_.finishStepOfAll(step, result, *view_))
        startStepOfAll(*next);
}

void MainWindow::showStepRunning(bool running) {
    cancelButton_->setEnabled(running);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(running);
    if (running)
        progressTimer_.start();
    else
        progressTimer_.stop();
}

void MainWindow::showProgress() {
    if (const std::optional<double> share = view_->progressShare())
        progressBar_->setValue(static_cast<int>(*share * kProgressScale));
}

void MainWindow::onCancelStep() {
    view_->requestCancel();
    cancelButton_->setEnabled(false);
}

}  // namespace orr::gui
