// The main window: the twelve steps, the status log with the progress of a running step and its
// Cancel button, and Reset and Exit; a File menu to open another application directory or a
// recently used data set. It mirrors the workflow model (enabled buttons, output labels) and runs
// each computation step on a worker thread, so that it keeps answering while the step works. It
// opens no larger than the screen, its two panes keep their proportions, long labels are
// shortened with the whole text in their tooltip, and the log wraps: no horizontal scrolling.
#pragma once

#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Step.h"
#include "gui/MainView.h"
#include "model/workflow/StatusLog.h"
#include "model/workflow/Workflow.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSettings;
class QThread;

namespace orr {
struct DoubleSampleResults;
}

namespace orr::gui {

class CrossThreadStepView;
class ElidedLabel;
class HelpWindow;
class ResultsWindow;
struct RecentDataSet;

class MainWindow : public QWidget, public MainView {
    Q_OBJECT
  public:
    // `steps`: the computation steps the buttons run (workflow::stepTable(), or stand-ins).
    MainWindow(Session& session, std::span<const workflow::StepEntry> steps,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // MainView
    const Session& session() const override { return session_; }
    void setDataSetName(std::string name) override { workflow_.setDataSetName(std::move(name)); }
    void setInput(ChosenInput input, std::filesystem::path file) override {
        workflow_.setInput(input, std::move(file));
    }
    void setParameters(const ParamRecord& params) override { workflow_.setParameters(params); }
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

    // Remembers the application directory, the window's size and place and the recently used
    // data sets in `settings` from now on, and restores the size and place kept there. Without
    // it the window remembers nothing.
    void useSettings(QSettings* settings);
    // Sizes the window to fit the available part of a screen and centres it there.
    void fitToScreen(const QRect& available);
    // The scrolling pane of the twelve steps.
    QScrollArea* stepsPane() const { return stepsPane_; }

    // Starts over in another application directory (start-up there, everything of the data set
    // forgotten, as after Reset); false with a message when start-up fails there.
    bool openApplicationDirectory(const std::filesystem::path& dir);
    // Takes up a remembered data set again: its name and files as if chosen in steps 1 to 4 (and
    // the tree and LiDAR files, when they still exist); false with a message when its
    // coefficient, strata or DBH file has gone.
    bool openRecentDataSet(const RecentDataSet& dataSet);

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // The widgets (MainWindowLayout.cpp).
    void buildWindow();
    QGroupBox* buildStepFrame(int step);
    QWidget* buildStatusFrame();
    void buildMenu();
    void mirror();
    void scrollLogToEnd();

    // Starting and ending the computation steps (MainWindowSteps.cpp).
    void onComputeStep(int step);
    void onAllSteps();
    // The message of a step the workflow refused to begin.
    void showRefusal();
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
    // The results window (step 11's second button, and after step 9 completes).
    void showResults();
    void readEarlierResults();
    void onReset();
    void onExit();
    void afterDialog();

    // The "Change…" links beside step 5 (tree file) and step 6 (LiDAR files): the picker again;
    // what was chosen before stays when it is cancelled.
    void onChangeTreeFile();
    void onChangeLidarFiles();
    // The File menu (MainWindowMenu.cpp).
    void onOpenApplicationDirectory();
    void rebuildRecentMenu();
    // Keeps the data set in the recent list once its set-up is complete.
    void rememberDataSet();

    // The progress bar counts per mille, so that any count fits its range.
    static constexpr int kProgressScale = 1000;

    Session& session_;
    workflow::Workflow workflow_;
    workflow::StatusLog log_;
    std::unique_ptr<CrossThreadStepView> view_;
    std::array<QPushButton*, workflow::kButtonCount> buttons_{};
    std::array<ElidedLabel*, workflow::kLabelCount> labels_{};
    QLabel* changeTreeFile_ = nullptr;
    QLabel* changeLidarFiles_ = nullptr;
    QScrollArea* stepsPane_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QAction* openAppDirAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QSettings* settings_ = nullptr;
    QGroupBox* statusFrame_ = nullptr;
    QPlainTextEdit* logView_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    HelpWindow* help_ = nullptr;
    QPushButton* resultsButton_ = nullptr;
    ResultsWindow* results_ = nullptr;
    // What the last run of step 9 produced, for the results window, and the data set it is of
    // (data directory and name).
    std::shared_ptr<const DoubleSampleResults> lastResults_;
    std::filesystem::path lastResultsOf_;
    // Reads the results of an earlier run of step 9 on a worker thread, then shows them.
    QThread* resultsReader_ = nullptr;

    // The running step: its worker, its number, and what it returned.
    QThread* worker_ = nullptr;
    int runningStep_ = 0;
    StepResult workerResult_;
    // The log before the step, shown again when it is cancelled.
    std::string logBefore_;
    QTimer progressTimer_;
};

}  // namespace orr::gui
