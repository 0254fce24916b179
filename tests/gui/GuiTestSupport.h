// Seams for window tests: every message box is answered by the test and recorded, every modal
// dialog and file dialog is run by a script instead of waiting for a user.
#pragma once

#include <QTest>
#include <QtWidgets>
#include <functional>

#include "files/DataSetFiles.h"
#include "gui/DialogRunner.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/MainWindow.h"
#include "model/session/Startup.h"
#include "model/workflow/StepTable.h"
#include "tools/generator/Generator.h"

namespace orr::guitest {

// The child with this objectName; aborts the test program when there is none.
template <typename T>
T* child(QWidget& parent, const char* name) {
    T* w = parent.findChild<T*>(QLatin1String(name));
    if (!w) qFatal("no child %s", name);
    return w;
}

// Clicks the button with this objectName inside the widget, which must be enabled.
inline void click(QWidget* root, const char* name) {
    QPushButton* button = child<QPushButton>(*root, name);
    QVERIFY2(button->isEnabled(), name);
    button->click();
}

// Shows a window as the active one, so that key clicks reach it.
inline void showActive(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

// Records every message box; answers a Yes/No question with No, every other box with OK.
struct MessageRecorder {
    QStringList texts;
    QList<QMessageBox::Icon> icons;
    MessageRecorder() {
        gui::setMessageHandler([this](const gui::MessageRequest& r) {
            texts << r.text;
            icons << r.icon;
            return r.buttons.testFlag(QMessageBox::Yes) ? QMessageBox::No : QMessageBox::Ok;
        });
    }
    ~MessageRecorder() { gui::setMessageHandler(nullptr); }
    void clear() { texts.clear(), icons.clear(); }
};

// Runs modal dialogs with the scripts queued, in order, recording the objectName of each; a
// dialog that finds no script is rejected at once.
struct DialogScript {
    QList<std::function<int(QDialog&)>> scripts;
    QStringList shown;
    DialogScript() {
        gui::setDialogRunner([this](QDialog& dialog) {
            shown << dialog.objectName();
            if (scripts.isEmpty()) return int(QDialog::Rejected);
            const auto script = scripts.takeFirst();
            showActive(dialog);
            const int result = script(dialog);
            dialog.hide();
            return result;
        });
    }
    ~DialogScript() { gui::setDialogRunner(nullptr); }
};

// Answers file-open dialogs with the files queued (none left: cancelled), recording the folder
// each started in; opening a file with the platform is recorded and answered by `platformOpens`.
struct FileDialogScript {
    QStringList files, startFolders, opened;
    bool platformOpens = true;
    FileDialogScript() {
        gui::setOpenFileHandler([this](QWidget*, const QString&, const QString& dir) {
            startFolders << dir;
            return files.isEmpty() ? QString() : files.takeFirst();
        });
        gui::setOpenUrlHandler([this](const QString& path) {
            opened << path;
            return platformOpens;
        });
    }
    ~FileDialogScript() {
        gui::setOpenFileHandler(nullptr);
        gui::setOpenUrlHandler(nullptr);
    }
};

// The main window's status caption; a step button clicked and the step (or step 10) waited for.
inline QString statusCaption(QWidget& mainWindow) {
    return child<QGroupBox>(mainWindow, "FrameStatus")->title();
}
inline void runButton(gui::MainWindow& window, const char* button) {
    click(&window, button);
    QTRY_VERIFY_WITH_TIMEOUT(!window.workflow().running(), 120000);
}

// With ORRAVANT_SCREENSHOTS=DIR, the window as it looks saved as DIR/name.
inline void saveShot(QWidget& window, const char* name) {
    const QString dir = qEnvironmentVariable("ORRAVANT_SCREENSHOTS");
    if (!dir.isEmpty()) QVERIFY(window.grab().save(dir + "/" + name));
}

inline QByteArray readAll(const QString& path) {  // "<missing>" when it cannot be read
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
inline void writeAll(const QString& path, const QByteArray& content) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

// A generated sample data set (seed 11) in a new application directory, the session set up as
// steps 1 to 4 leave it, in the main window with these steps.
struct SampleWindow {
    QTemporaryDir dir;
    Session session;
    std::unique_ptr<gui::MainWindow> window;
    explicit SampleWindow(std::span<const workflow::StepEntry> steps = workflow::stepTable()) {
        session.appDir = gui::fspath(dir.path());
        startUp(session);
        const auto shape = generator::presetShape("sample");
        const auto in = generator::generateDataSet(*shape, 11, session.appDir / "input");
        session.params = shape->params;
        session.run.seed = 5;
        session.dataSetName = "SAMPLE";
        session.inputs.coefficients = in.coefficients;
        session.inputs.strata = in.strata;
        session.inputs.dbh = in.dbh;
        session.inputs.trees = in.trees;
        session.inputs.lidarHigh = in.lidarDs1;
        session.inputs.lidarLow = in.lidarDs2;
        window = std::make_unique<gui::MainWindow>(session, steps);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->activate();
    }
    QString file(files::DataSetFile f) const {
        return gui::qpath(files::path(session.dataFilesDir(), "SAMPLE", f));
    }
};

}  // namespace orr::guitest
