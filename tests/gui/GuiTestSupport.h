// Seams for window tests: every message box is answered by the test and recorded, every modal
// dialog and file dialog is run by a script instead of waiting for a user, and a MainView stands
// in for the main window where a dialog is tested alone.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <functional>
#include <span>
#include <vector>

#include "gui/MainView.h"
#include "gui/MainWindow.h"
#include "model/session/Session.h"
#include "model/workflow/StepTable.h"

namespace orr::guitest {

struct Message {
    QMessageBox::Icon icon;
    QString text;
};

// Records every message box; answers Yes/No questions from a queue (No when it is empty) and
// every other box with OK.
class MessageRecorder {
  public:
    MessageRecorder();
    ~MessageRecorder();
    std::vector<Message> messages;
    std::deque<QMessageBox::StandardButton> answers;
    QStringList texts() const;
};

// Runs modal dialogs from a queue of scripts, in order; a dialog that finds no script is
// recorded as unexpected and rejected at once.
class DialogScript {
  public:
    DialogScript();
    ~DialogScript();
    std::deque<std::function<int(QDialog&)>> scripts;
    QStringList shown;  // objectNames of every dialog run
    QStringList unexpected;
};

// Answers file-open dialogs from a queue (an empty text or an empty queue: cancelled) and records
// the folder each started in; opening a file with the platform is recorded and answered by
// `platformOpens`.
class FileDialogScript {
  public:
    FileDialogScript();
    ~FileDialogScript();
    std::deque<QString> files;
    QStringList startFolders;
    QStringList opened;
    bool platformOpens = true;
};

// Stand-ins for steps 5 to 9, with the real steps' descriptions: each records its number and does
// what the test put in its slot (index step - 5); an empty slot completes doing nothing.
struct ScriptedSteps {
    static std::function<StepResult(const StepInputs&, StepHost&)> behaviour[5];
    static std::vector<int> calls;
    static void clear();
    static std::span<const workflow::StepEntry> steps();
};

// Clicks the enabled button with this objectName inside the widget.
void click(QWidget* root, const char* objectName);

// The child with this objectName; aborts the test program when there is none.
template <typename T>
T* child(QWidget& parent, const char* name) {
    T* w = parent.findChild<T*>(QLatin1String(name));
    if (!w) qFatal("no child %s", name);
    return w;
}

// The main window's status caption; a step button clicked and the step (or step 10) waited for.
QString statusCaption(QWidget& mainWindow);
void runButton(gui::MainWindow& window, const char* button);

// Shows a window as the active one, so that key clicks reach it.
void showActive(QWidget& window);

QByteArray readAll(const QString& path);  // "<missing>" when the file cannot be read
void writeAll(const QString& path, const QByteArray& content);

// A generated sample data set (seed 11) in a new application directory, the session set up as
// steps 1 to 4 leave it.
void setUpGeneratedSample(Session& session, const QString& appDir, const std::string& name);

// The main window as a dialog sees it, on a fresh application directory with its data folder.
struct FakeView : gui::MainView {
    QTemporaryDir dir;
    Session s;
    QStringList log;
    QMap<QString, QString> labels;
    FakeView();
    QString dataFile(const QString& name) const;
    Session& session() override { return s; }
    void appendLog(const QString& line) override { log << line; }
    void showOutputLabel(const QString& name, const QString& caption) override {
        labels[name] = caption;
    }
};

}  // namespace orr::guitest
