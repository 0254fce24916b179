// Step 2's dialog: what it shows from PARAMETER.PRM and the checks of Save.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "gui/ParametersDialog.h"
#include "model/session/Startup.h"
#include "tests/gui/GuiTestSupport.h"

using namespace orr;
using namespace orr::guitest;

class ParametersTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<FakeView> view_;
    std::unique_ptr<gui::ParametersDialog> dialog_;

    QLineEdit* box(const char* name) { return child<QLineEdit>(*dialog_, name); }
    QComboBox* list(const char* name) { return child<QComboBox>(*dialog_, name); }
    std::filesystem::path paramFile() { return paramFilePath(view_->s.appDir); }
    ParamRecord onDisk() {
        std::ifstream in(paramFile(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        return decodeParamRecord(bytes).value_or(ParamRecord{});
    }
    void open() {
        dialog_ = std::make_unique<gui::ParametersDialog>(*view_);
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
        view_ = std::make_unique<FakeView>();
        view_->s.params.PTIP = 1.5f;
        view_->s.params.STIP = 2.25f;
        saveParameters(view_->s.appDir, view_->s.params);
        open();
    }
    void cleanup() { dialog_.reset(); }

    void showsWhatTheFileHolds() {
        QCOMPARE(dialog_->windowTitle(), QString("User Parameters Settings"));
        const std::pair<const char*, const char*> boxes[] = {
            {"txtPACF", "20"},      {"txtMaxSpec", "2"},     {"txtMaxProd", "3"},
            {"txtMaxItern", "100"}, {"txtMaxPlots", "1500"}, {"txtPTIP", "1.5"}};
        for (auto [name, text] : boxes) QCOMPARE(box(name)->text(), QString(text));
        QCOMPARE(list("cboLiHgtAdj")->currentText(), QString("No"));
        QCOMPARE(list("cboModelSet")->currentText(), QString("ModelSet 1"));
        auto* modelSet2 = child<QGroupBox>(*dialog_, "FRAMEMS2");
        QVERIFY(modelSet2->isHidden());
        list("cboModelSet")->setCurrentIndex(1);
        QVERIFY(modelSet2->isVisible());
        list("cboModelSet")->setCurrentIndex(0);
        QVERIFY(modelSet2->isHidden());
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
        QCOMPARE(view_->s.params.MaxSpec, std::int16_t(3));
        QCOMPARE(onDisk().MaxSpec, std::int16_t(3));
        QCOMPARE(view_->log, QStringList{"User Parameters Set"});
        QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    }

    void badCountsAreRefusedAndNothingIsStored() {
        const QString notAbove0 = "Max number of Species should be greater than 0";
        const QString above = "Max number of Plots should be at most 2000000000";
        const std::vector<std::tuple<const char*, QString, QString>> rows = {
            {"txtMaxSpec", "x2", notAbove0},      {"txtMaxSpec", "0.4", notAbove0},
            {"txtMaxSpec", "0.5", notAbove0},     {"txtMaxSpec", "-3", notAbove0},
            {"txtMaxPlots", "2000000001", above}, {"txtMaxPlots", "2000000001.5", above}};
        for (const auto& [name, text, message] : rows) {
            QCOMPARE(saveWith(name, text), QStringList{message});
            box(name)->setText(name == QString("txtMaxSpec") ? "2" : "1500");
        }
        QVERIFY(view_->log.isEmpty());
        QCOMPARE(onDisk().MaxSpec, std::int16_t(2));
        QCOMPARE(onDisk().MaxPlots, 1500);
        QCOMPARE(view_->s.params.MaxSpec, std::int16_t(2));
        // Past the 16-bit field of PARAMETER.PRM, kept through a restart.
        QCOMPARE(saveWith("txtMaxPlots", "2000000000"), QStringList());
        QCOMPARE(onDisk().MaxPlots, 2000000000);
    }

    void theFirstBadFieldInOrderIsReported() {
        box("txtPACF")->setText("0");
        box("txtMaxProd")->setText("abc");
        QCOMPARE(saveWith("txtMaxItern", "100"), QStringList{"PACF should be greater than 0"});
        QCOMPARE(saveWith("txtPACF", "5"),
                 QStringList{"Max number of Products should be greater than 0"});
    }

    void modelSetOneKeepsPtipAndStipAndModelSetTwoStoresThem() {
        box("txtPTIP")->setText("9");
        box("txtSTIP")->setText("8");
        list("cboLiHgtAdj")->setCurrentIndex(0);
        QCOMPARE(saveWith("txtPACF", "25"), QStringList());
        ParamRecord saved = onDisk();
        QCOMPARE(saved.PTIP, 1.5f);
        QCOMPARE(saved.STIP, 2.25f);
        QCOMPARE(saved.LiHgtAdj, std::int16_t(0));
        QCOMPARE(saved.PACF, std::int16_t(25));

        open();
        list("cboModelSet")->setCurrentIndex(1);
        box("txtPTIP")->setText("0.123456789");
        QCOMPARE(saveWith("txtSTIP", "4 ft"), QStringList());
        saved = onDisk();
        QCOMPARE(saved.ModelSet, std::int16_t(1));
        QCOMPARE(saved.PTIP, 0.123456789f);  // single precision
        QCOMPARE(saved.STIP, 4.0f);
        QVERIFY(view_->s.params == saved);
    }

    void cancelSavesNothing() {
        box("txtPACF")->setText("99");
        click(dialog_.get(), "cmdCancel");
        QCOMPARE(onDisk().PACF, std::int16_t(20));
        QCOMPARE(view_->s.params.PACF, std::int16_t(20));
    }
};

QTEST_MAIN(ParametersTest)
#include "ParametersTest.moc"
