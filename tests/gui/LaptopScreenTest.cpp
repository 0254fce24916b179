// The main window on a laptop screen of 1366x768 (the offscreen platform given that screen): it
// opens within the screen, nothing of the steps needs a horizontal scroll bar, long labels are
// shortened with the whole text in their tooltip and the status pane keeps its width whatever the
// caption and the log say. A long step 6 on a generated data set keeps the window answering,
// shows its progress and is cancelled leaving everything as it was. With ORRAVANT_SCREENSHOTS=DIR
// the test also saves the screenshots of docs/: the window after step 10, and the long step.
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <thread>

#include "engine/distribution/DistributionStep.h"
#include "gui/ElidedLabel.h"
#include "gui/HelpWindow.h"
#include "gui/ResultsWindow.h"
#include "tests/gui/GuiTestSupport.h"

using namespace orr;
using namespace orr::guitest;

namespace {

// Step 6 as it is, but while `holding` it stops at its first progress report until the user
// cancels: a long step caught in the middle.
std::atomic<bool> holding{false};
struct HoldingHost : StepHost {
    StepHost& host;
    explicit HoldingHost(StepHost& h) : host(h) {}
    void log(std::string_view line) override { host.log(line); }
    void progress(std::size_t done, std::size_t total) override {
        host.progress(done, total);
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

}  // namespace

class LaptopScreenTest : public QObject {
    Q_OBJECT

  private:
    std::array<workflow::StepEntry, 5> steps_;
    std::unique_ptr<SampleWindow> sample_;
    gui::MainWindow* window_ = nullptr;

    bool running() const { return window_->workflow().running(); }
    QPushButton* button(const char* name) { return child<QPushButton>(*window_, name); }
    QWidget* statusPane() const { return window_->findChild<QWidget*>("StatusPane"); }
    QStringList enabledButtons() const {
        QStringList on;
        for (QPushButton* b : window_->findChildren<QPushButton*>())
            if (b->isEnabled()) on << b->objectName();
        return on;
    }
    // Nothing of the steps needs scrolling sideways, and every shown label lies inside its frame.
    void expectNoSidewaysScrolling() {
        QApplication::processEvents();
        QScrollArea* pane = window_->stepsPane();
        QVERIFY(!pane->horizontalScrollBar()->isVisible());
        QVERIFY(pane->widget()->minimumSizeHint().width() <= pane->viewport()->width());
        for (auto* label : window_->findChildren<gui::ElidedLabel*>()) {
            if (!label->isVisible()) continue;
            QCOMPARE(label->toolTip(), label->text());
            QVERIFY2(label->geometry().right() <= label->parentWidget()->contentsRect().right(),
                     qPrintable(label->objectName()));
        }
        QVERIFY(!child<QPlainTextEdit>(*window_, "txtStatus")->horizontalScrollBar()->isVisible());
    }

  private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::primaryScreen()->size(), QSize(1366, 768));
        std::ranges::copy(workflow::stepTable(), steps_.begin());
        steps_[1].run = &heldStepSix;
        sample_ = std::make_unique<SampleWindow>(steps_);
        window_ = sample_->window.get();
    }
    void cleanupTestCase() { sample_.reset(); }

    void afterStepTenTheWindowFitsTheScreenWithoutScrollingSideways() {
        const QRect available = window_->screen()->availableGeometry();
        QVERIFY(available.contains(window_->frameGeometry()));
        for (const char* name : {"cmdReset", "cmdExit", "cmdCancelStep"}) {
            const QRect onScreen(button(name)->mapToGlobal(QPoint(0, 0)), button(name)->size());
            QVERIFY2(available.contains(onScreen), name);
        }
        MessageRecorder messages;
        QApplication::processEvents();
        const int statusWidth = statusPane()->width();
        runButton(*window_, "cmdAllSteps");
        QCOMPARE(messages.texts, QStringList());
        QCOMPARE(statusCaption(*window_), QString("Status: All steps completed successfully!"));
        expectNoSidewaysScrolling();
        QCOMPARE(statusPane()->width(), statusWidth);
        saveShot(*window_, "main-window-1366x768.png");
        window_->setStatusCaption(QString("Status : ") + QString(150, 'x'));
        window_->appendLogLine(std::string(400, 'y'));
        expectNoSidewaysScrolling();
        QCOMPARE(statusPane()->width(), statusWidth);
    }

    // After step 10 the results window is open: it fits the laptop's screen, frame included,
    // its table holds a row per stratum index and for the combination, and Escape closes it;
    // the help window likewise.
    void theResultsAndHelpWindowsFitTheScreenAndEscapeClosesThem() {
        const QRect available = window_->screen()->availableGeometry();
        auto* results = window_->findChild<gui::ResultsWindow*>("frmResults");
        QVERIFY(results);
        QTRY_VERIFY(results->isVisible());
        QVERIFY2(available.contains(results->frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(results->frameGeometry().x())
                                .arg(results->frameGeometry().y())
                                .arg(results->frameGeometry().width())
                                .arg(results->frameGeometry().height())));
        QCOMPARE(results->estimatesTable()->rowCount(), 5);  // 0, 1, 2, 3 and combined
        results->activateWindow();
        QTest::keyClick(results, Qt::Key_Escape);
        QVERIFY(!results->isVisible());

        gui::HelpWindow help(QString{});
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        QVERIFY(available.contains(help.frameGeometry()));
        QTest::keyClick(&help, Qt::Key_Escape);
        QVERIFY(!help.isVisible());
    }

    void aLongStepKeepsTheWindowAnsweringAndCancelPutsEverythingBack() {
        const std::string log = window_->statusLog().text();
        const QStringList enabled = enabledButtons();
        holding = true;
        click(window_, "cmdIterate");
        QVERIFY(running());  // the click came back while the step works
        auto* bar = child<QProgressBar>(*window_, "progressStep");
        // Caught partway (the LiDAR files read, the draws still to come), the bar moved on by the
        // window's own timer: the window answers.
        QTRY_VERIFY_WITH_TIMEOUT(bar->value() > 0 && bar->value() < bar->maximum(), 60000);
        QTRY_COMPARE(statusCaption(*window_),
                     QString("Status : Iterating Phase 2 LiDAR distribution..."));
        QVERIFY(!button("cmdReset")->isEnabled() && !button("cmdExit")->isEnabled());
        QVERIFY(button("cmdCancelStep")->isEnabled());
        QVERIFY(!child<QLabel>(*window_, "lnkChangeTreeFile")->isEnabled());
        expectNoSidewaysScrolling();
        saveShot(*window_, "long-step-progress.png");

        window_->close();  // ignored while the step runs
        QVERIFY(window_->isVisible() && running());

        click(window_, "cmdCancelStep");
        QTRY_VERIFY_WITH_TIMEOUT(!running(), 60000);
        QCOMPARE(statusCaption(*window_), QString("Status: Step 6 was cancelled!"));
        QCOMPARE(window_->statusLog().text(),
                 log + "Step 6 was cancelled; no file was changed.\r\n");
        QCOMPARE(enabledButtons(), enabled);
        QCOMPARE(bar->value(), 0);
    }
};

int main(int argc, char* argv[]) {
    // The offscreen platform with one screen of a common laptop's size.
    QTemporaryDir config;
    const QString file = config.filePath("screen.json");
    writeAll(file, R"({"windowFrameMargins": true, "screens": [{"name": "Laptop", "x": 0, "y": 0,
               "width": 1366, "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + file).toLocal8Bit());
    QApplication app(argc, argv);
    LaptopScreenTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LaptopScreenTest.moc"
