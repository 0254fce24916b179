// The main window on a laptop screen of 1366×768 (the offscreen platform given that screen): it
// opens no larger than the screen, the steps never need a horizontal scroll bar (also at 1024
// wide), long labels are shortened with the whole text in their tooltip, the panes keep their
// shares whatever the caption says, and the log wraps. With ORRAVANT_SCREENSHOTS=DIR the test also
// saves the screenshots of docs/: the window after step 10, and a long step with its progress and
// Cancel.
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <thread>

#include "engine/distribution/DistributionStep.h"
#include "gui/ElidedLabel.h"
#include "gui/GuiText.h"
#include "gui/MainWindow.h"
#include "model/session/Startup.h"
#include "model/workflow/StepTable.h"
#include "tests/gui/GuiTestSupport.h"
#include "tools/generator/Generator.h"

using namespace orr;
using namespace orr::guitest;

namespace {

constexpr QSize kLaptop(1366, 768);

// Step 6 as it is, but it holds at its first progress report until `holding` is cleared or the
// user cancels: a long step caught in the middle.
std::atomic<bool> holding{false};
std::atomic<bool> held{false};
struct HoldingHost : StepHost {
    StepHost& host;
    explicit HoldingHost(StepHost& h) : host(h) {}
    void log(std::string_view line) override { host.log(line); }
    void progress(std::size_t done, std::size_t total) override {
        host.progress(done, total);
        held = true;
        while (holding && !host.cancelled())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    bool cancelled() const override { return host.cancelled(); }
    std::optional<int> askProductCode(int species, double dbh) override {
        return host.askProductCode(species, dbh);
    }
};
StepResult heldStepSix(const StepInputs& inputs, StepHost& host) {
    HoldingHost holder(host);
    return distributeLidarTrees(inputs, holder);
}

void saveShot(QWidget& window, const char* name) {
    const QByteArray dir = qgetenv("ORRAVANT_SCREENSHOTS");
    if (dir.isEmpty()) return;
    QVERIFY(window.grab().save(QString::fromLocal8Bit(dir) + "/" + name));
}

}  // namespace

class LaptopScreenTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    Session session_;
    std::array<workflow::StepEntry, 5> steps_;
    std::unique_ptr<gui::MainWindow> window_;

    bool running() const { return window_->workflow().running(); }
    void run(const char* button) {
        click(window_.get(), button);
        QTRY_VERIFY_WITH_TIMEOUT(!running(), 120000);
    }
    QWidget* statusPane() const { return window_->findChild<QWidget*>("StatusPane"); }
    // Nothing of the steps needs scrolling sideways, and every shown label lies inside its frame.
    void expectNoSidewaysScrolling() {
        QApplication::processEvents();
        QScrollArea* pane = window_->stepsPane();
        QVERIFY(!pane->horizontalScrollBar()->isVisible());
        QVERIFY(pane->widget()->minimumSizeHint().width() <= pane->viewport()->width());
        for (auto* label : window_->findChildren<gui::ElidedLabel*>()) {
            if (!label->isVisible()) continue;
            QCOMPARE(label->toolTip(), label->text());
            const QRect inFrame = label->geometry();
            QVERIFY2(inFrame.right() <= label->parentWidget()->contentsRect().right(),
                     qPrintable(label->objectName()));
        }
        QVERIFY(!child<QPlainTextEdit>(*window_, "txtStatus")->horizontalScrollBar()->isVisible());
    }

  private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::primaryScreen()->size(), kLaptop);
        session_.appDir = gui::fspath(dir_.path());
        startUp(session_);
        const auto shape = generator::presetShape("sample");
        const auto inputs = generator::generateDataSet(*shape, 11, session_.appDir / "input");
        session_.params = shape->params;
        session_.run.seed = 5;
        session_.dataSetName = "SAMPLE";
        session_.coefficientFile = inputs.coefficients;
        session_.strataFile = inputs.strata;
        session_.dbhFile = inputs.dbh;
        session_.treeFile = inputs.trees;
        session_.lidarHighFile = inputs.lidarDs1;
        session_.lidarLowFile = inputs.lidarDs2;
        std::ranges::copy(workflow::stepTable(), steps_.begin());
        steps_[1].run = &heldStepSix;
        window_ = std::make_unique<gui::MainWindow>(session_, steps_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->activate();
    }
    void cleanupTestCase() { window_.reset(); }

    void theWindowOpensWithinTheScreenWithResetAndExitInView() {
        const QRect available = window_->screen()->availableGeometry();
        QVERIFY(available.contains(window_->frameGeometry()));
        for (const char* name : {"cmdReset", "cmdExit", "cmdCancelStep"}) {
            auto* button = child<QPushButton>(*window_, name);
            const QRect onScreen(button->mapToGlobal(QPoint(0, 0)), button->size());
            QVERIFY2(available.contains(onScreen), name);
        }
    }

    void afterEveryStepNothingNeedsScrollingSidewaysAndThePanesKeepTheirShares_data() {
        QTest::addColumn<int>("width");
        QTest::newRow("1366 wide") << 0;  // as it opened
        QTest::newRow("1024 wide") << 1024;
    }
    void afterEveryStepNothingNeedsScrollingSidewaysAndThePanesKeepTheirShares() {
        QFETCH(int, width);
        if (width > 0) window_->resize(width - 16, window_->height());
        MessageRecorder messages;
        QApplication::processEvents();
        const int statusWidth = statusPane()->width();
        holding = false;
        run("cmdAllSteps");
        QCOMPARE(messages.texts(), QStringList());
        QCOMPARE(child<QGroupBox>(*window_, "FrameStatus")->title(),
                 QString("Status: All steps completed successfully!"));
        expectNoSidewaysScrolling();
        QCOMPARE(statusPane()->width(), statusWidth);
        if (width == 0) saveShot(*window_, "main-window-1366x768.png");
        // However long the caption and the log's lines, the status pane keeps its width.
        window_->setStatusCaption(QString("Status : ") + QString(150, 'x'));
        window_->appendLogLine(std::string(400, 'y'));
        expectNoSidewaysScrolling();
        QCOMPARE(statusPane()->width(), statusWidth);
    }

    void aLongStepShowsItsProgressAndCanBeCancelled() {
        window_->resize(window_->screen()->availableGeometry().size() - QSize(16, 48));
        holding = true;
        held = false;
        click(window_.get(), "cmdIterate");
        QTRY_VERIFY_WITH_TIMEOUT(held, 60000);
        auto* bar = child<QProgressBar>(*window_, "progressStep");
        // Caught partway: the LiDAR files read, the draws still to come.
        QTRY_VERIFY(bar->value() > 0 && bar->value() < bar->maximum());
        QVERIFY(child<QPushButton>(*window_, "cmdCancelStep")->isEnabled());
        expectNoSidewaysScrolling();
        saveShot(*window_, "long-step-progress.png");
        click(window_.get(), "cmdCancelStep");
        QTRY_VERIFY_WITH_TIMEOUT(!running(), 60000);
        holding = false;
        QCOMPARE(child<QGroupBox>(*window_, "FrameStatus")->title(),
                 QString("Status: Step 6 was cancelled!"));
    }
};

int main(int argc, char* argv[]) {
    // The offscreen platform with one screen of a common laptop's size.
    QTemporaryDir config;
    const QString file = config.filePath("screen.json");
    QFile json(file);
    if (!json.open(QIODevice::WriteOnly)) return 2;
    json.write(R"({"windowFrameMargins": true, "screens": [{"name": "Laptop", "x": 0, "y": 0,
               "width": 1366, "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    json.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + file).toLocal8Bit());
    QApplication app(argc, argv);
    LaptopScreenTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LaptopScreenTest.moc"
