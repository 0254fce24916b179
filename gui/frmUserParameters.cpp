#include "gui/frmUserParameters.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "core/NumberText.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/MainView.h"
#include "model/session/Startup.h"

namespace orr::gui {

namespace {

QLineEdit* makeBox(const char* name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

struct CountField {
    QLineEdit* box;
    const char* what;  // the start of its messages
    std::int16_t ParamRecord::*field;
};

}  // namespace

frmUserParameters::frmUserParameters(MainView& view, QWidget* parent)
    : QDialog(parent), view_(view) {
    setObjectName(QStringLiteral("frmUserParameters"));
    setWindowTitle(QStringLiteral("User Parameters Settings"));

    auto* frame = new QGroupBox(QStringLiteral("Parameter Setting"), this);
    makeCaptionBold(frame);
    txtPACF_ = makeBox("txtPACF", frame);
    txtMaxSpec_ = makeBox("txtMaxSpec", frame);
    txtMaxProd_ = makeBox("txtMaxProd", frame);
    txtMaxItern_ = makeBox("txtMaxItern", frame);
    txtMaxPlots_ = makeBox("txtMaxPlots", frame);
    cboLiHgtAdj_ = new QComboBox(frame);
    cboLiHgtAdj_->setObjectName(QStringLiteral("cboLiHgtAdj"));
    cboModelSet_ = new QComboBox(frame);
    cboModelSet_->setObjectName(QStringLiteral("cboModelSet"));

    FRAMEMS2_ = new QGroupBox(QStringLiteral("For Model Set 2, Enter Values for -"), frame);
    FRAMEMS2_->setObjectName(QStringLiteral("FRAMEMS2"));
    makeCaptionBold(FRAMEMS2_);
    txtPTIP_ = makeBox("txtPTIP", FRAMEMS2_);
    txtSTIP_ = makeBox("txtSTIP", FRAMEMS2_);
    auto* ms2 = new QFormLayout(FRAMEMS2_);
    ms2->addRow(QStringLiteral("Ptip:"), txtPTIP_);
    ms2->addRow(QStringLiteral("Stip:"), txtSTIP_);

    auto* form = new QFormLayout(frame);
    form->addRow(QStringLiteral("Change PACF"), txtPACF_);
    form->addRow(QStringLiteral("Change max number of species"), txtMaxSpec_);
    form->addRow(QStringLiteral("Change max number of Products"), txtMaxProd_);
    form->addRow(QStringLiteral("Change max number of Iterations"), txtMaxItern_);
    form->addRow(QStringLiteral("Change max number of Plots"), txtMaxPlots_);
    form->addRow(QStringLiteral("LiDAR Height Adjustment"), cboLiHgtAdj_);
    form->addRow(QStringLiteral("LiDAR Model Set Used"), cboModelSet_);
    form->addRow(FRAMEMS2_);

    cmdSave_ = makeButton(QStringLiteral("&Save"), QStringLiteral("cmdSave"), this);
    cmdCancel_ = makeButton(QStringLiteral("&Cancel"), QStringLiteral("cmdCancel"), this);
    frameAndButtons(this, frame, {cmdSave_, cmdCancel_});

    QWidget* order[] = {txtPACF_,     txtMaxSpec_,  txtMaxProd_,  txtMaxItern_,
                        txtMaxPlots_, cboLiHgtAdj_, cboModelSet_, txtPTIP_,
                        txtSTIP_,     cmdSave_,     cmdCancel_};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    for (QLineEdit* box :
         {txtPACF_, txtMaxSpec_, txtMaxProd_, txtMaxItern_, txtMaxPlots_, txtPTIP_, txtSTIP_})
        box->installEventFilter(this);

    connect(cboModelSet_, &QComboBox::currentIndexChanged, this,
            &frmUserParameters::cboModelSet_Click);
    connect(cmdSave_, &QPushButton::clicked, this, &frmUserParameters::cmdSave_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);

    cboLiHgtAdj_->addItems({QStringLiteral("Yes"), QStringLiteral("No")});
    cboModelSet_->addItems({QStringLiteral("ModelSet 1"), QStringLiteral("ModelSet 2")});
    cboLiHgtAdj_->setCurrentIndex(0);
    cboModelSet_->setCurrentIndex(0);
    cboModelSet_Click(0);
    loadFromFile();
}

void frmUserParameters::cboModelSet_Click(int position) {
    FRAMEMS2_->setVisible(position == 1);
}

bool frmUserParameters::eventFilter(QObject* watched, QEvent* event) {
    // A box that receives the focus has its whole text selected, so typing replaces the value.
    if (event->type() == QEvent::FocusIn)
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
    return QDialog::eventFilter(watched, event);
}

void frmUserParameters::loadFromFile() {
    // The dialog shows what the file holds, not the values in memory.
    const std::filesystem::path file = paramFilePath(view_.session().appDir);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return;
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    const std::optional<ParamRecord> record = decodeParamRecord(bytes);
    if (!record) {
        // An empty (or short) file is deleted, as at start-up; the boxes stay empty.
        std::filesystem::remove(file, ec);
        return;
    }
    txtPACF_->setText(QString::number(record->PACF));
    txtMaxSpec_->setText(QString::number(record->MaxSpec));
    txtMaxProd_->setText(QString::number(record->MaxProd));
    txtMaxItern_->setText(QString::number(record->MaxItern));
    txtMaxPlots_->setText(QString::number(record->MaxPlots));
    txtPTIP_->setText(qstr(shortestFloat(record->PTIP)));
    txtSTIP_->setText(qstr(shortestFloat(record->STIP)));
    if (record->LiHgtAdj == 0 || record->LiHgtAdj == 1)
        cboLiHgtAdj_->setCurrentIndex(record->LiHgtAdj);
    if (record->ModelSet == 0 || record->ModelSet == 1)
        cboModelSet_->setCurrentIndex(record->ModelSet);
}

void frmUserParameters::cmdSave_Click() {
    Session& session = view_.session();
    ParamRecord p = session.params;
    const CountField counts[] = {
        {txtPACF_, "PACF", &ParamRecord::PACF},
        {txtMaxSpec_, "Max number of Species", &ParamRecord::MaxSpec},
        {txtMaxProd_, "Max number of Products", &ParamRecord::MaxProd},
        {txtMaxItern_, "Max number of Iterations", &ParamRecord::MaxItern},
        {txtMaxPlots_, "Max number of Plots", &ParamRecord::MaxPlots},
    };
    for (const CountField& c : counts) {
        const double typed = leadingNumber(utf8(c.box->text()));
        const std::optional<std::int16_t> value = toInt16(typed);
        QString problem;
        if (!value && typed > 0)
            problem = QString::fromLatin1(c.what) + QStringLiteral(" should be at most 32767");
        else if (!value || *value <= 0)
            problem = QString::fromLatin1(c.what) + QStringLiteral(" should be greater than 0");
        if (!problem.isEmpty()) {
            showMessage(this, QMessageBox::Information, problem);
            c.box->setFocus();
            return;
        }
        p.*c.field = *value;
    }
    p.LiHgtAdj = static_cast<std::int16_t>(cboLiHgtAdj_->currentIndex());
    p.ModelSet = static_cast<std::int16_t>(cboModelSet_->currentIndex());
    if (p.ModelSet == 1) {
        for (auto [box, field, what] : {std::tuple{txtPTIP_, &ParamRecord::PTIP, "Ptip"},
                                        std::tuple{txtSTIP_, &ParamRecord::STIP, "Stip"}}) {
            const auto value = static_cast<float>(leadingNumber(utf8(box->text())));
            if (!std::isfinite(value)) {
                // The record holds a 32-bit float; a value beyond its range would be infinite.
                showMessage(this, QMessageBox::Information,
                            QString::fromLatin1(what) + QStringLiteral(" is too large"));
                box->setFocus();
                return;
            }
            p.*field = value;
        }
    }
    try {
        saveParameters(session.appDir, p);
    } catch (const std::exception& e) {
        showMessage(this, QMessageBox::Critical, QString::fromUtf8(e.what()));
        return;
    }
    session.params = p;
    accept();
    view_.appendLog(QStringLiteral("User Parameters Set"));
}

}  // namespace orr::gui
