// The main window: the twelve steps, the status log and Reset and Exit. It mirrors the
// workflow model (enabled buttons, output labels) and runs the steps through its StepHost.
#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <string_view>

#include "gui/MainView.h"
#include "model/workflow/StatusLog.h"
#include "model/workflow/Workflow.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace orr::gui {

class GuiStepHost;
class HelpWindow;

class frmMain : public QWidget, public MainView {
    Q_OBJECT
  public:
    explicit frmMain(Session& session, workflow::StepSet steps = workflow::builtInSteps(),
                     QWidget* parent = nullptr);
    ~frmMain() override;

    // MainView
    Session& session() override { return session_; }
    void appendLog(const QString& line) override;
    void showOutputLabel(const QString& objectName, const QString& caption) override;

    workflow::Workflow& workflow() { return workflow_; }
    const workflow::StatusLog& statusLog() const { return log_; }
    StepHost& stepHost();

    // The status log (txtStatus) and the caption of FrameStatus.
    void appendLogLine(std::string_view line);
    void setLogText(std::string_view text);
    void setStatusCaption(const QString& caption);
    // Progress of a long step, shown as a bar in the status frame; the window repaints.
    void showProgress(std::size_t done, std::size_t total);
    // Lets the window repaint without taking the user's input.
    void repaintNow();

    // Form_Activate: runs whenever the window becomes active again, and after every dialog.
    void activate();

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildWindow();
    QGroupBox* buildStepFrame(int step);
    void mirror();
    void runComputation(int step);
    void runAllSteps();
    void afterDialog();
    void openHelp();

    void cmdDataSetCreate_Click();
    void cmdSetParam_Click();
    void cmdRegCoeff_Click();
    void cmdAssignPlotsDBH_Click();
    void cmdViewOutput_Click();
    void cmdReset_Click();
    void cmdExit_Click();

    Session& session_;
    workflow::Workflow workflow_;
    workflow::StatusLog log_;
    std::unique_ptr<GuiStepHost> host_;
    std::array<QPushButton*, workflow::kButtonCount> buttons_{};
    std::array<QLabel*, workflow::kLabelCount> labels_{};
    QGroupBox* FrameStatus_ = nullptr;
    QPlainTextEdit* txtStatus_ = nullptr;
    QProgressBar* progress_ = nullptr;
    HelpWindow* help_ = nullptr;
    qint64 lastRepaint_ = 0;
};

}  // namespace orr::gui
