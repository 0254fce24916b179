// Seams for window tests: every message box is answered by the test and recorded, every modal
// dialog is run by a script instead of waiting for a user, and a MainView stands in for the
// main window where a dialog is tested alone. Plus the small helpers every window test uses.
#pragma once

#include <QDialog>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>

#include "gui/MainView.h"
#include "model/session/Session.h"

namespace orr::guitest {

struct Message {
    QMessageBox::Icon icon;
    QString text;
    QMessageBox::StandardButtons buttons;
};

// Records every message box; answers Yes/No questions from a queue (No when it is empty) and
// every other box with OK. Restores the real message box when it goes.
class MessageRecorder {
  public:
    MessageRecorder();
    ~MessageRecorder();
    std::vector<Message> messages;
    std::deque<QMessageBox::StandardButton> answers;
    QStringList texts() const;
};

// Runs modal dialogs from a queue of scripts, in order. A dialog shown when the queue is empty
// is recorded as unexpected and rejected at once.
class DialogScript {
  public:
    DialogScript();
    ~DialogScript();
    std::deque<std::function<int(QDialog&)>> scripts;
    QStringList shown;       // objectNames of every dialog run
    QStringList unexpected;  // those that found no script
};

// Answers every file-open dialog from a queue (an empty text is a cancelled dialog) and records
// the folder it started in, and every folder dialog from a queue of its own; opening files with
// the platform is recorded and answered by `platformOpens`.
class FileDialogScript {
  public:
    FileDialogScript();
    ~FileDialogScript();
    std::deque<QString> files;
    std::deque<QString> directories;
    QStringList startFolders;
    QStringList opened;
    bool platformOpens = true;
};

// Clicks the button with this objectName inside the widget (fails the test when missing).
void click(QWidget* root, const char* objectName);

// The child with this objectName; aborts the test program when there is none.
template <typename T>
T* child(QWidget& parent, const char* name) {
    T* w = parent.findChild<T*>(QLatin1String(name));
    if (!w) qFatal("no child %s", name);
    return w;
}

// Shows a window as the active one and lets it settle, so that key clicks reach it.
void showActive(QWidget& window);
// Types `text` into a grid editor's floating box txtEdit (which must be showing), then `key`.
void typeIn(QWidget& editor, const QString& text, Qt::Key key);

QByteArray readAll(const QString& path);  // "<missing>" when the file cannot be read
void writeAll(const QString& path, const QByteArray& content);

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
