// The main window: the twelve steps, the status log with the progress of a running step and its
// Cancel button, and Reset and Exit. It mirrors the workflow model (enabled buttons, output
// labels) and runs each computation step on a worker thread, so that it keeps answering while
// the step works.
#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Step.h"
#include "gui/MainView.h"
#include "model/workflow/StatusLog.h"
#include "model/workflow/Workflow.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QThread;

namespace orr::gui {

class CrossThreadStepView;
class HelpWindow;

class MainWindow : public QWidget, public MainView {
    Q_OBJECT
  public:
    // `steps`: the computation steps the buttons run (workflow::stepTable(), or stand-ins).
    MainWindow(Session& session, std::span<const workflow::StepEntry> steps,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // MainView
    Session& session() override { return session_; }
    void appendLog(const QString& line) override;
    void showOutputLabel(const QString& objectName, const QString& caption) override;

    workflow::Workflow& workflow() { return workflow_; }
    const workflow::StatusLog& statusLog() const { return log_; }

    // The status log and the caption of the status frame.
    void appendLogLine(std::string_view line);
    void appendLogLines(const std::vector<std::string>& lines);
    void setLogText(std::string_view text);
    void setStatusCaption(const QString& caption);

    // Runs whenever the window becomes active again, and after every dialog.
    void activate();

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // The widgets (MainWindowLayout.cpp).
    void buildWindow();
    QGroupBox* buildStepFrame(int step);
    QWidget* buildStatusFrame();
    void mirror();
    void scrollLogToEnd();

    // Starting and ending the computation steps (MainWindowSteps.cpp).
    void onComputeStep(int step);
    void onAllSteps();
    // Shows the pickers of the files step `step` lacks; false when one is still missing.
    bool chooseMissingFiles(int step);
    void pickTreeFile();
    void pickLidarFiles();
    void startStepOfAll(int step);
    void rememberStateBeforeStep();
    // Runs step `step`, already begun in the workflow, on a worker thread.
    void launchStep(int step);
    void onStepEnded();
    void endStepOfAll(int step, const StepResult& result);
    void showStepRunning(bool running);
    void showProgress();
    void onCancelStep();

    // The other buttons (MainWindow.cpp).
    void onDataSetCreate();
    void onSetParameters();
    void onCoefficientFile();
    void onStrataDbhFiles();
    void onViewOutput();
    void onInstructions();
    void onReset();
    void onExit();
    void afterDialog();

    // The progress bar counts per mille, so that any count fits its range.
    static constexpr int kProgressScale = 1000;

    Session& session_;
    workflow::Workflow workflow_;
    workflow::StatusLog log_;
    std::unique_ptr<CrossThreadStepView> view_;
    std::array<QPushButton*, workflow::kButtonCount> buttons_{};
    std::array<QLabel*, workflow::kLabelCount> labels_{};
    QGroupBox* statusFrame_ = nullptr;
    QPlainTextEdit* logView_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    HelpWindow* help_ = nullptr;

    // The running step: its worker, its number, and what it returned.
    QThread* worker_ = nullptr;
    int runningStep_ = 0;
    StepResult workerResult_;
    // The log and the caption before the step, shown again when it is cancelled.
    std::string logBefore_;
    QString captionBefore_;
    QTimer progressTimer_;
};

}  // namespace orr::gui
