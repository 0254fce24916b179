#include "tests/gui/GuiTestSupport.h"

#include <QFile>
#include <array>
#include <filesystem>

#include "gui/DialogRunner.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "model/session/Startup.h"
#include "tools/generator/Generator.h"

namespace orr::guitest {

MessageRecorder::MessageRecorder() {
    gui::setMessageHandler([this](const gui::MessageRequest& r) {
        messages.push_back({r.icon, r.text});
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
}

FileDialogScript::~FileDialogScript() {
    gui::setOpenFileHandler(nullptr);
    gui::setOpenUrlHandler(nullptr);
}

std::function<StepResult(const StepInputs&, StepHost&)> ScriptedSteps::behaviour[5];
std::vector<int> ScriptedSteps::calls;

namespace {
template <int Step>
StepResult scripted(const StepInputs& inputs, StepHost& host) {
    ScriptedSteps::calls.push_back(Step);
    auto& run = ScriptedSteps::behaviour[Step - 5];
    return run ? run(inputs, host) : StepResult{};
}
}  // namespace

void ScriptedSteps::clear() {
    for (auto& b : behaviour) b = nullptr;
    calls.clear();
}

std::span<const workflow::StepEntry> ScriptedSteps::steps() {
    using workflow::describeStep;
    static const std::array<workflow::StepEntry, 5> table = {{{describeStep(5), &scripted<5>},
                                                              {describeStep(6), &scripted<6>},
                                                              {describeStep(7), &scripted<7>},
                                                              {describeStep(8), &scripted<8>},
                                                              {describeStep(9), &scripted<9>}}};
    return table;
}

void click(QWidget* root, const char* objectName) {
    auto* button = root->findChild<QPushButton*>(QString::fromLatin1(objectName));
    QVERIFY2(button, objectName);
    QVERIFY2(button->isEnabled(), objectName);
    button->click();
}

QString statusCaption(QWidget& mainWindow) {
    return child<QGroupBox>(mainWindow, "FrameStatus")->title();
}

void runButton(gui::MainWindow& window, const char* button) {
    click(&window, button);
    QTRY_VERIFY_WITH_TIMEOUT(!window.workflow().running(), 120000);
}

void showActive(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(QTest::qWaitForWindowActive(&window));
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

void setUpGeneratedSample(Session& session, const QString& appDir, const std::string& name) {
    session.appDir = gui::fspath(appDir);
    startUp(session);
    const auto shape = generator::presetShape("sample");
    const auto inputs = generator::generateDataSet(*shape, 11, session.appDir / "input");
    session.params = shape->params;
    session.run.seed = 5;
    session.dataSetName = name;
    session.coefficientFile = inputs.coefficients;
    session.strataFile = inputs.strata;
    session.dbhFile = inputs.dbh;
    session.treeFile = inputs.trees;
    session.lidarHighFile = inputs.lidarDs1;
    session.lidarLowFile = inputs.lidarDs2;
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
