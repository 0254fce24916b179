// The tree and LiDAR file pickers, the product-code prompt and the output viewer.
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include "files/DataSetFiles.h"
#include "gui/GuiText.h"
#include "gui/LidarFilePicker.h"
#include "gui/OutputViewerDialog.h"
#include "gui/ProductCodeDialog.h"
#include "gui/TreeFilePicker.h"
#include "tests/gui/GuiTestSupport.h"

using namespace orr;
using namespace orr::guitest;

class PickersTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<FakeView> view_;

    Session& session() { return view_->s; }
    void report(const char* suffix, const QByteArray& content) {
        writeAll(view_->dataFile(QString("ABC") + suffix), content);
    }
    static QRadioButton* option(QWidget& d, int i) {
        return d.findChild<QRadioButton*>(QString("Option%1").arg(i));
    }

  private slots:
    void init() {
        view_ = std::make_unique<FakeView>();
        session().dataSetName = "ABC";
    }

    void treePickerLogsItsStartAndTheChosenFileAndWantsOneBeforeOkOrEdit() {
        FileDialogScript files;
        MessageRecorder messages;
        gui::TreeFilePicker picker(*view_);
        picker.show();
        QCOMPARE(picker.windowTitle(), QString("Assign Heights and Volume to Phase 2 trees"));
        QCOMPARE(view_->log, QStringList{"Selecting Tree Input File..."});
        click(&picker, "cmdOK");
        click(&picker, "cmdEditFile");
        QCOMPARE(messages.texts(),
                 QStringList({"Please Enter Input File", "Please enter the Input File"}));
        QVERIFY(picker.result() != QDialog::Accepted);
        files.files = {"/field/trees.csv", ""};
        click(&picker, "cmdBrowse");
        click(&picker, "cmdBrowse");  // cancelled: the file chosen before stays
        QCOMPARE(files.startFolders.first(), gui::qpath(session().dataFilesDir()));
        QCOMPARE(child<QLineEdit>(picker, "txtInputFileName")->text(), QString("/field/trees.csv"));
        click(&picker, "cmdEditFile");
        QCOMPARE(files.opened, QStringList{"/field/trees.csv"});
        click(&picker, "cmdOK");
        QCOMPARE(picker.result(), int(QDialog::Accepted));
        QCOMPARE(view_->log.last(), QString("Tree Input FileName:/field/trees.csv"));
        QCOMPARE(session().treeFile.string(), std::string("/field/trees.csv"));
    }

    void lidarPickerNeedsTheDataSetOneFile() {
        FileDialogScript files;
        MessageRecorder messages;
        gui::LidarFilePicker picker(*view_);
        picker.show();
        files.files = {"/lidar/low.csv", "/lidar/high.csv"};
        click(&picker, "cmdBrowseLowFile");
        click(&picker, "cmdOK");
        QCOMPARE(messages.texts(), QStringList{"Please select Phase 1 Lidar Height"});
        QVERIFY(picker.isVisible());
        click(&picker, "cmdBrowseHighFile");
        click(&picker, "cmdOK");
        QCOMPARE(picker.result(), int(QDialog::Accepted));
        QCOMPARE(session().lidarHighFile.string(), std::string("/lidar/high.csv"));
        QCOMPARE(session().lidarLowFile.string(), std::string("/lidar/low.csv"));
    }

    void lidarPickerCancelledEmptiesTheDataSetOneFileAndABrowseNeverTakesTheOther() {
        FileDialogScript files;
        files.files = {"/lidar/high.csv", ""};
        gui::LidarFilePicker picker(*view_);
        picker.show();
        click(&picker, "cmdBrowseHighFile");
        click(&picker, "cmdBrowseLowFile");  // cancelled
        QVERIFY(session().lidarLowFile.empty());
        QCOMPARE(child<QLineEdit>(picker, "txtLowLidarHeight")->text(), QString());
        files.files = {"/lidar/low.csv"};
        click(&picker, "cmdBrowseLowFile");
        click(&picker, "cmdCancel");
        QVERIFY(session().lidarHighFile.empty());
        QCOMPARE(session().lidarLowFile.string(), std::string("/lidar/low.csv"));
    }

    void productPromptShowsTheTreeAndRefusesAnEmptyOrInvalidCode() {
        MessageRecorder messages;
        gui::ProductCodeDialog prompt(2, 7.25);
        prompt.show();
        QCOMPARE(prompt.windowTitle(), QString("Product Code Error..."));
        QCOMPARE(child<QLabel>(prompt, "Label1")->text(), QString(" SPECIES = 2"));
        QCOMPARE(child<QLabel>(prompt, "Label2")->text(), QString(" DBH = 7.25"));
        QCOMPARE(child<QLabel>(prompt, "Label3")->text(), QString(" ENTER PRODUCT CODE..."));
        click(&prompt, "cmdOK");  // an empty box: two messages
        QCOMPARE(messages.texts(),
                 QStringList({"Please enter a product code", "Please enter a valid product code"}));
        for (const char* text : {"two", "2x", "99999"}) {
            child<QLineEdit>(prompt, "txtProdCode")->setText(text);
            click(&prompt, "cmdOK");
        }
        QCOMPARE(messages.texts().size(), 5);
        QCOMPARE(messages.texts().mid(2),
                 QStringList(3, QString("Please enter a valid product code")));
        QVERIFY(prompt.isVisible());
        QVERIFY(prompt.result() != QDialog::Accepted);
        QCOMPARE(prompt.productCode(), std::nullopt);
    }

    void productPromptOkReturnsTheCodeAndCancelDropsTheTree() {
        MessageRecorder messages;
        gui::ProductCodeDialog prompt(1, 3.5);
        prompt.show();
        child<QLineEdit>(prompt, "txtProdCode")->setText(" 2 ");
        click(&prompt, "cmdOK");
        QVERIFY(messages.messages.empty());
        QCOMPARE(prompt.result(), int(QDialog::Accepted));
        QCOMPARE(prompt.productCode(), std::optional<int>(2));
        gui::ProductCodeDialog dropped(1, 3.5);
        dropped.show();
        click(&dropped, "cmdCancel");
        QCOMPARE(dropped.result(), int(QDialog::Rejected));
        QCOMPARE(dropped.productCode(), std::nullopt);
    }

    void viewerOffersOnlyTheReportsThatHoldSomething() {
        report("_Regress.txt", "St    Depend\r\n");
        {
            gui::OutputViewerDialog viewer(session());
            viewer.show();
            QCOMPARE(viewer.windowTitle(), QString("View Output Files...."));
            QVERIFY(option(viewer, 1)->isHidden());
            QVERIFY(!option(viewer, 2)->isHidden());
            QVERIFY(option(viewer, 3)->isHidden());
            QCOMPARE(option(viewer, 2)->text(), QString("ABC_Regress.txt"));
        }
        report("_VolSum.txt", "");
        report("_StratVol.txt", "s\r\n");
        gui::OutputViewerDialog viewer(session());
        viewer.show();
        QVERIFY(option(viewer, 1)->isHidden());
        QVERIFY(!option(viewer, 3)->isHidden());
        QCOMPARE(option(viewer, 3)->text(), QString("ABC_StratVol.txt"));
        FileDialogScript files;
        click(&viewer, "cmdView");  // nothing chosen: nothing opens
        QVERIFY(files.opened.isEmpty());
        option(viewer, 3)->setChecked(true);
        click(&viewer, "cmdView");
        QCOMPARE(files.opened,
                 QStringList{gui::qpath(files::path(session().dataFilesDir(), session().dataSetName,
                                                    files::DataSetFile::StratumVolume))});
        QVERIFY(viewer.isVisible());
    }

    void withoutAPlatformViewerTheReportShowsInAFixedPitchWindow() {
        report("_VolSum.txt", "Phase 2, Ground\r\n  1  2  3.00\r\n");
        FileDialogScript files;
        files.platformOpens = false;
        DialogScript dialogs;
        QString shownText;
        bool fixedPitch = false;
        dialogs.scripts.push_back([&](QDialog& d) {
            auto* text = child<QPlainTextEdit>(d, "txtReport");
            shownText = text->toPlainText();
            fixedPitch = QFontInfo(text->font()).fixedPitch();
            return int(QDialog::Rejected);
        });
        gui::OutputViewerDialog viewer(session());
        viewer.show();
        option(viewer, 1)->setChecked(true);
        click(&viewer, "cmdView");
        QCOMPARE(dialogs.shown, QStringList{"ReportViewer"});
        QCOMPARE(shownText, QString("Phase 2, Ground\n  1  2  3.00\n"));
        QVERIFY(fixedPitch);
    }
};

QTEST_MAIN(PickersTest)
#include "PickersTest.moc"
