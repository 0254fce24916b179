// Step 1's dialog: the rules a data-set name must pass before it is taken.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/DataSetNameDialog.h"
#include "tests/gui/GuiTestSupport.h"

using namespace orr;
using namespace orr::guitest;

class DataSetNameTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<FakeView> view_;
    std::unique_ptr<gui::DataSetNameDialog> dialog_;

    QLineEdit* box() { return child<QLineEdit>(*dialog_, "txtDataSetName"); }
    void type(const QString& text) {
        box()->setText(text);
        click(dialog_.get(), "cmdSave");
    }
    // Types a name that must be refused with this message, the box then holding `left`.
    void refused(const QString& name, const QString& message, const QString& left) {
        MessageRecorder messages;
        type(name);
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts()[0].startsWith(message), qPrintable(messages.texts()[0]));
        QVERIFY(view_->s.dataSetName.empty());
        QVERIFY(view_->log.isEmpty());
        QCOMPARE(box()->text(), left);
        QVERIFY(box()->hasFocus());
        QVERIFY(dialog_->isVisible());
    }

  private slots:
    void init() {
        view_ = std::make_unique<FakeView>();
        dialog_ = std::make_unique<gui::DataSetNameDialog>(*view_);
        showActive(*dialog_);
    }
    void cleanup() { dialog_.reset(); }

    void captionsFocusAndEnterThatOnlyMovesToSave() {
        QCOMPARE(dialog_->windowTitle(), QString("Enter DataSet Name"));
        QCOMPARE(child<QPushButton>(*dialog_, "cmdSave")->text(), QString("&Save"));
        QVERIFY(box()->hasFocus());
        QTest::keyClicks(box(), "XYZ");
        QTest::keyClick(box(), Qt::Key_Return);
        QVERIFY(view_->s.dataSetName.empty());
        QVERIFY(child<QPushButton>(*dialog_, "cmdSave")->hasFocus());
    }

    void blanksAroundTheNameAreTrimmed() {
        MessageRecorder messages;
        type("  abc  ");
        QVERIFY(messages.messages.empty());
        QCOMPARE(view_->s.dataSetName, std::string("abc"));
        QCOMPARE(view_->log, QStringList{"DataSet Name is: abc"});
        QCOMPARE(view_->labels.value("lbldatasetname"), QString("DataSetName - abc"));
        QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    }

    void emptyLongAndIllegalNamesAreRefused() {
        refused("   ", "Please Enter the DataSet Name", "   ");
        refused("ABCDEFG", "The dataset name can have upto 6 characters", "");
        for (const char* name : {"A/B", "a:b", "x*", "q?", "\"n\"", "<a>", "a|b", "a\\b", "a\tb"})
            refused(name, "The dataset name cannot hold", name);  // left to correct
        type("ABCDEF");
        QCOMPARE(view_->s.dataSetName, std::string("ABCDEF"));
    }

    void anExistingReportAsksBeforeTheNameIsTaken() {
        view_->s.dataSetName = "OLD";
        writeAll(view_->dataFile("ABC_PH2Plot.csv"), "not a report\r\n");
        {
            MessageRecorder messages;
            type("ABC");
            QVERIFY(messages.messages.empty());
        }
        view_->s.dataSetName = "OLD";
        for (const char* report : {"ABC_VolSum.txt", "R1_Regress.txt", "R2_StratVol.txt"}) {
            writeAll(view_->dataFile(report), "report\r\n");
            const QString name = QString(report).section('_', 0, 0);
            MessageRecorder messages;
            messages.answers = {QMessageBox::No};
            type(name);
            QCOMPARE(messages.texts(), QStringList{"Previous dataset with name " + name +
                                                   " exists, do you want to overwrite ?"});
            QCOMPARE(messages.messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(view_->s.dataSetName, std::string("OLD"));
            QCOMPARE(box()->text(), QString());
        }
        MessageRecorder messages;
        messages.answers = {QMessageBox::Yes};
        type("ABC");
        QCOMPARE(messages.messages.size(), std::size_t(1));
        QCOMPARE(view_->s.dataSetName, std::string("ABC"));
    }

    void cancelChangesNothing() {
        view_->s.dataSetName = "OLD";
        box()->setText("NEW");
        click(dialog_.get(), "cmdCancel");
        QCOMPARE(view_->s.dataSetName, std::string("OLD"));
        QCOMPARE(dialog_->result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(DataSetNameTest)
#include "DataSetNameTest.moc"
