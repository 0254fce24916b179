// Step 1's dialog: the rules a data-set name must pass before it is taken.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "setup/gui/GuiText.h"
#include "setup/gui/frmEnterDataSetName.h"
#include "tests/gui/GuiTestSupport.h"

using namespace orr;
using namespace orr::guitest;

class DataSetNameTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    FakeView view_;
    std::unique_ptr<gui::frmEnterDataSetName> dialog_;

    QLineEdit* box() { return dialog_->findChild<QLineEdit*>("txtDataSetName"); }
    void type(const QString& text) {
        box()->setText(text);
        click(dialog_.get(), "cmdSave");
    }
    void makeReport(const std::string& name) {
        std::ofstream(view_.s.dataFilesDir() / name) << "report\r\n";
    }

  private slots:
    void init() {
        view_ = FakeView{};
        view_.s.appDir = gui::fspath(dir_.path());
        std::filesystem::create_directories(view_.s.dataFilesDir());
        dialog_ = std::make_unique<gui::frmEnterDataSetName>(view_);
        dialog_->show();
        dialog_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog_.get()));
    }
    void cleanup() {
        dialog_.reset();
        std::filesystem::remove_all(view_.s.dataFilesDir());
    }

    void captionsAndFocus() {
        QCOMPARE(dialog_->windowTitle(), QString("Enter DataSet Name"));
        QCOMPARE(dialog_->findChild<QPushButton*>("cmdSave")->text(), QString("&Save"));
        QVERIFY(box()->hasFocus());
    }

    void blanksAroundTheNameAreTrimmed() {
        MessageRecorder messages;
        type("  abc  ");
        QVERIFY(messages.messages.empty());
        QCOMPARE(view_.s.DataSetName, std::string("abc"));
        QCOMPARE(view_.log, QStringList{"DataSet Name is: abc"});
        QCOMPARE(view_.labels.value("lbldatasetname"), QString("DataSetName - abc"));
        QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    }

    void anEmptyNameIsRefused() {
        MessageRecorder messages;
        type("   ");
        QCOMPARE(messages.texts(), QStringList{"Please Enter the DataSet Name"});
        QVERIFY(view_.s.DataSetName.empty());
        QVERIFY(dialog_->isVisible());
    }

    void sevenCharactersAreRefusedAndTheBoxEmptied() {
        MessageRecorder messages;
        type("ABCDEFG");
        QCOMPARE(messages.texts(), QStringList{"The dataset name can have upto 6 characters"});
        QCOMPARE(box()->text(), QString());
        QVERIFY(box()->hasFocus());
        QVERIFY(view_.s.DataSetName.empty());
        QVERIFY(view_.log.isEmpty());
        type("ABCDEF");
        QCOMPARE(view_.s.DataSetName, std::string("ABCDEF"));
    }

    void aCharacterNoFileNameMayHoldIsRefused() {
        for (const QString& name :
             {QString("A/B"), QString("a:b"), QString("x*"), QString("q?"), QString("\"n\""),
              QString("<a>"), QString("a|b"), QString("a\\b"), QString("a\tb")}) {
            MessageRecorder messages;
            type(name);
            QCOMPARE(messages.messages.size(), std::size_t(1));
            QVERIFY(messages.texts()[0].startsWith("The dataset name cannot hold"));
            QVERIFY(view_.s.DataSetName.empty());
            QCOMPARE(box()->text(), name);  // left to correct
            QVERIFY(box()->hasFocus());
        }
    }

    void anExistingReportAsksBeforeTheNameIsTaken() {
        view_.s.DataSetName = "OLD";
        makeReport("ABC_VolSum.txt");
        {
            MessageRecorder messages;
            messages.answers = {QMessageBox::No};
            type("ABC");
            QCOMPARE(
                messages.texts(),
                QStringList{"Previous dataset with name ABC exists, do you want to overwrite ?"});
            QCOMPARE(messages.messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(view_.s.DataSetName, std::string("OLD"));
            QCOMPARE(box()->text(), QString());
        }
        {
            MessageRecorder messages;
            messages.answers = {QMessageBox::Yes};
            type("ABC");
            QCOMPARE(messages.messages.size(), std::size_t(1));
            QCOMPARE(view_.s.DataSetName, std::string("ABC"));
        }
    }

    void eachOfTheThreeReportsCountsButOtherFilesDoNot() {
        makeReport("ABC_PH2Plot.csv");
        {
            MessageRecorder messages;
            type("ABC");
            QVERIFY(messages.messages.empty());
        }
        for (const char* report : {"R1_Regress.txt", "R2_StratVol.txt"}) {
            makeReport(report);
            MessageRecorder messages;
            type(QString::fromLatin1(report).section('_', 0, 0));
            QCOMPARE(messages.messages.size(), std::size_t(1));
        }
    }

    void enterInTheBoxOnlyMovesToSave() {
        box()->setFocus();
        QTest::keyClicks(box(), "XYZ");
        QTest::keyClick(box(), Qt::Key_Return);
        QVERIFY(view_.s.DataSetName.empty());
        QVERIFY(dialog_->isVisible());
        QVERIFY(dialog_->findChild<QPushButton*>("cmdSave")->hasFocus());
    }

    void cancelChangesNothing() {
        view_.s.DataSetName = "OLD";
        box()->setText("NEW");
        click(dialog_.get(), "cmdCancel");
        QCOMPARE(view_.s.DataSetName, std::string("OLD"));
        QCOMPARE(dialog_->result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(DataSetNameTest)
#include "DataSetNameTest.moc"
