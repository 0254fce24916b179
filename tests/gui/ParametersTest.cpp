// Step 2's dialog: what it shows from PARAMETER.PRM and the checks of Save.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "setup/gui/GuiText.h"
#include "setup/gui/frmUserParameters.h"
#include "shell/session/Startup.h"
#include "tests/gui/GuiTestSupport.h"

using namespace orr;
using namespace orr::guitest;

class ParametersTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    FakeView view_;
    std::unique_ptr<gui::frmUserParameters> dialog_;

    QLineEdit* box(const char* name) { return dialog_->findChild<QLineEdit*>(name); }
    QComboBox* list(const char* name) { return dialog_->findChild<QComboBox*>(name); }
    std::filesystem::path paramFile() { return paramFilePath(view_.s.appDir); }
    ParamRecord onDisk() {
        std::ifstream in(paramFile(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        return decodeParamRecord(bytes).value_or(ParamRecord{});
    }
    void open() {
        dialog_ = std::make_unique<gui::frmUserParameters>(view_);
        dialog_->show();
    }
    // Saves with one box changed; returns the messages shown.
    QStringList saveWith(const char* name, const QString& text) {
        box(name)->setText(text);
        MessageRecorder messages;
        click(dialog_.get(), "cmdSave");
        return messages.texts();
    }

  private slots:
    void init() {
        view_ = FakeView{};
        view_.s.appDir = gui::fspath(dir_.path());
        view_.s.params = ParamRecord::defaults();
        view_.s.params.PTIP = 1.5f;
        view_.s.params.STIP = 2.25f;
        saveParameters(view_.s.appDir, view_.s.params);
        open();
    }
    void cleanup() {
        dialog_.reset();
        std::filesystem::remove(paramFile());
    }

    void showsWhatTheFileHolds() {
        QCOMPARE(dialog_->windowTitle(), QString("User Parameters Settings"));
        QCOMPARE(box("txtPACF")->text(), QString("20"));
        QCOMPARE(box("txtMaxSpec")->text(), QString("2"));
        QCOMPARE(box("txtMaxProd")->text(), QString("3"));
        QCOMPARE(box("txtMaxItern")->text(), QString("100"));
        QCOMPARE(box("txtMaxPlots")->text(), QString("1500"));
        QCOMPARE(box("txtPTIP")->text(), QString("1.5"));
        QCOMPARE(list("cboLiHgtAdj")->currentText(), QString("No"));
        QCOMPARE(list("cboModelSet")->currentText(), QString("ModelSet 1"));
        QVERIFY(dialog_->findChild<QGroupBox*>("FRAMEMS2")->isHidden());
        list("cboModelSet")->setCurrentIndex(1);
        QVERIFY(dialog_->findChild<QGroupBox*>("FRAMEMS2")->isVisible());
        list("cboModelSet")->setCurrentIndex(0);
        QVERIFY(dialog_->findChild<QGroupBox*>("FRAMEMS2")->isHidden());
    }

    void anEmptyFileIsDeletedAndTheBoxesStayEmpty() {
        dialog_.reset();
        std::ofstream(paramFile(), std::ios::trunc).close();
        open();
        QVERIFY(!std::filesystem::exists(paramFile()));
        QCOMPARE(box("txtPACF")->text(), QString());
        QCOMPARE(list("cboModelSet")->currentIndex(), 0);
    }

    void aFractionRoundsHalfToEven() {
        QCOMPARE(saveWith("txtMaxSpec", "2.6"), QStringList());
        QCOMPARE(view_.s.params.MaxSpec, std::int16_t(3));
        QCOMPARE(onDisk().MaxSpec, std::int16_t(3));
        QCOMPARE(view_.log, QStringList{"User Parameters Set"});
        QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    }

    void aTextWithoutLeadingNumberOrRoundingToZeroIsRefused() {
        for (const QString& text : {QString("x2"), QString("0.4"), QString("0.5"), QString("-3")}) {
            QCOMPARE(saveWith("txtMaxSpec", text),
                     QStringList{"Max number of Species should be greater than 0"});
            QCOMPARE(view_.s.params.MaxSpec, std::int16_t(2));
            QCOMPARE(onDisk().MaxSpec, std::int16_t(2));
            QVERIFY(view_.log.isEmpty());
        }
    }

    void aCountAbove32767IsRefusedInTheSameWay() {
        QCOMPARE(saveWith("txtMaxPlots", "40000"),
                 QStringList{"Max number of Plots should be at most 32767"});
        QCOMPARE(saveWith("txtMaxPlots", "32767.5"),
                 QStringList{"Max number of Plots should be at most 32767"});
        QCOMPARE(onDisk().MaxPlots, std::int16_t(1500));
        QCOMPARE(saveWith("txtMaxPlots", "32767"), QStringList());
        QCOMPARE(onDisk().MaxPlots, std::int16_t(32767));
    }

    void theFirstBadFieldInOrderIsReported() {
        box("txtPACF")->setText("0");
        box("txtMaxProd")->setText("abc");
        MessageRecorder messages;
        click(dialog_.get(), "cmdSave");
        QCOMPARE(messages.texts(), QStringList{"PACF should be greater than 0"});
        box("txtPACF")->setText("5");
        QCOMPARE(saveWith("txtMaxItern", "100"),
                 QStringList{"Max number of Products should be greater than 0"});
    }

    void modelSetOneKeepsPtipAndStip() {
        box("txtPTIP")->setText("9");
        box("txtSTIP")->setText("8");
        list("cboLiHgtAdj")->setCurrentIndex(0);
        QCOMPARE(saveWith("txtPACF", "25"), QStringList());
        const ParamRecord saved = onDisk();
        QCOMPARE(saved.PTIP, 1.5f);
        QCOMPARE(saved.STIP, 2.25f);
        QCOMPARE(saved.LiHgtAdj, std::int16_t(0));
        QCOMPARE(saved.PACF, std::int16_t(25));
    }

    void modelSetTwoStoresPtipAndStipAsSinglePrecision() {
        list("cboModelSet")->setCurrentIndex(1);
        box("txtPTIP")->setText("0.123456789");
        QCOMPARE(saveWith("txtSTIP", "4 ft"), QStringList());
        const ParamRecord saved = onDisk();
        QCOMPARE(saved.ModelSet, std::int16_t(1));
        QCOMPARE(saved.PTIP, 0.123456789f);
        QCOMPARE(saved.STIP, 4.0f);
        QVERIFY(view_.s.params == saved);
    }

    void cancelSavesNothing() {
        box("txtPACF")->setText("99");
        click(dialog_.get(), "cmdCancel");
        QCOMPARE(onDisk().PACF, std::int16_t(20));
        QCOMPARE(view_.s.params.PACF, std::int16_t(20));
    }
};

QTEST_MAIN(ParametersTest)
#include "ParametersTest.moc"
