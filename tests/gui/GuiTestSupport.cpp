#include "tests/gui/GuiTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "gui/DialogRunner.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"

namespace orr::guitest {

MessageRecorder::MessageRecorder() {
    gui::setMessageHandler([this](const gui::MessageRequest& r) {
        messages.push_back({r.icon, r.text, r.buttons});
        if (r.buttons.testFlag(QMessageBox::Yes)) {
            if (answers.empty()) return QMessageBox::No;
            const auto answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return QMessageBox::Ok;
    });
}

MessageRecorder::~MessageRecorder() {
    gui::setMessageHandler(nullptr);
}

QStringList MessageRecorder::texts() const {
    QStringList out;
    for (const Message& m : messages) out << m.text;
    return out;
}

DialogScript::DialogScript() {
    gui::setDialogRunner([this](QDialog& dialog) {
        shown << dialog.objectName();
        if (scripts.empty()) {
            unexpected << dialog.objectName();
            return int(QDialog::Rejected);
        }
        auto script = std::move(scripts.front());
        scripts.pop_front();
        showActive(dialog);
        const int result = script(dialog);
        dialog.hide();
        return result;
    });
}

DialogScript::~DialogScript() {
    gui::setDialogRunner(nullptr);
}

FileDialogScript::FileDialogScript() {
    gui::setOpenFileHandler([this](QWidget*, const QString&, const QString& dir) {
        startFolders << dir;
        if (files.empty()) return QString();
        const QString file = files.front();
        files.pop_front();
        return file;
    });
    gui::setOpenUrlHandler([this](const QString& path) {
        opened << path;
        return platformOpens;
    });
    gui::setDirectoryHandler([this](QWidget*, const QString&, const QString&) {
        if (directories.empty()) return QString();
        const QString dir = directories.front();
        directories.pop_front();
        return dir;
    });
}

FileDialogScript::~FileDialogScript() {
    gui::setOpenFileHandler(nullptr);
    gui::setOpenUrlHandler(nullptr);
    gui::setDirectoryHandler(nullptr);
}

void click(QWidget* root, const char* objectName) {
    auto* button = root->findChild<QPushButton*>(QString::fromLatin1(objectName));
    QVERIFY2(button, objectName);
    QVERIFY2(button->isEnabled(), objectName);
    button->click();
}

void showActive(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

void typeIn(QWidget& editor, const QString& text, Qt::Key key) {
    auto* box = child<QLineEdit>(editor, "txtEdit");
    QVERIFY(box->isVisible());
    if (!text.isEmpty()) QTest::keyClicks(box, text);
    QTest::keyClick(box, key);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& content) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

FakeView::FakeView() {
    s.appDir = gui::fspath(dir.path());
    s.params = ParamRecord::defaults();  // MaxSpec 2, MaxProd 3
    std::filesystem::create_directories(s.dataFilesDir());
}

QString FakeView::dataFile(const QString& name) const {
    return gui::qpath(s.dataFilesDir()) + "/" + name;
}

}  // namespace orr::guitest
