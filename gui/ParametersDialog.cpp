#include "gui/ParametersDialog.h"

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
#include <stdexcept>
#include <tuple>

#include "core/NumberText.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/MainView.h"
#include "gui/PlanSettingsBox.h"
#include "model/session/ParameterRanges.h"
#include "model/session/Startup.h"

namespace orr::gui {

namespace {

QLineEdit* makeBox(const char* name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// One line under the choice of steps 6 and 7 saying what it means.
QString lidarClassesMeaning(int position) {
    return position == 1 ? QStringLiteral(
                               "Each LiDAR tree enters every class with its share: "
                               "the same data always give the same result.")
                         : QStringLiteral(
                               "Each LiDAR tree is drawn into one class at random, "
                               "MaxItern times: the result depends on the seed.");
}

}  // namespace

ParametersDialog::ParametersDialog(MainView& view, QWidget* parent) : QDialog(parent), view_(view) {
    setObjectName(QStringLiteral("frmUserParameters"));
    setWindowTitle(QStringLiteral("User Parameters Settings"));

    auto* frame = new QGroupBox(QStringLiteral("Parameter Setting"), this);
    makeCaptionBold(frame);
    pacfBox_ = makeBox("txtPACF", frame);
    maxSpeciesBox_ = makeBox("txtMaxSpec", frame);
    maxProductsBox_ = makeBox("txtMaxProd", frame);
    maxIterationsBox_ = makeBox("txtMaxItern", frame);
    maxPlotsBox_ = makeBox("txtMaxPlots", frame);
    heightAdjustmentList_ = new QComboBox(frame);
    heightAdjustmentList_->setObjectName(QStringLiteral("cboLiHgtAdj"));
    modelSetList_ = new QComboBox(frame);
    modelSetList_->setObjectName(QStringLiteral("cboModelSet"));

    modelSet2Frame_ = new QGroupBox(QStringLiteral("For Model Set 2, Enter Values for -"), frame);
    modelSet2Frame_->setObjectName(QStringLiteral("FRAMEMS2"));
    makeCaptionBold(modelSet2Frame_);
    ptipBox_ = makeBox("txtPTIP", modelSet2Frame_);
    stipBox_ = makeBox("txtSTIP", modelSet2Frame_);
    auto* ms2 = new QFormLayout(modelSet2Frame_);
    ms2->addRow(QStringLiteral("Ptip:"), ptipBox_);
    ms2->addRow(QStringLiteral("Stip:"), stipBox_);

    lidarClassesList_ = new QComboBox(frame);
    lidarClassesList_->setObjectName(QStringLiteral("cboLidarClasses"));
    lidarClassesMeaning_ = new QLabel(frame);
    lidarClassesMeaning_->setObjectName(QStringLiteral("lblLidarClassesMeaning"));
    lidarClassesMeaning_->setWordWrap(true);

    auto* form = new QFormLayout(frame);
    form->addRow(QStringLiteral("Change PACF"), pacfBox_);
    form->addRow(QStringLiteral("Change max number of species"), maxSpeciesBox_);
    form->addRow(QStringLiteral("Change max number of Products"), maxProductsBox_);
    form->addRow(QStringLiteral("Change max number of Iterations"), maxIterationsBox_);
    form->addRow(QStringLiteral("Change max number of Plots"), maxPlotsBox_);
    form->addRow(QStringLiteral("LiDAR Height Adjustment"), heightAdjustmentList_);
    form->addRow(QStringLiteral("LiDAR Model Set Used"), modelSetList_);
    form->addRow(modelSet2Frame_);
    form->addRow(QStringLiteral("LiDAR trees to classes"), lidarClassesList_);
    form->addRow(lidarClassesMeaning_);
    planBox_ = new PlanSettingsBox(frame);
    form->addRow(planBox_);

    saveButton_ = makeButton(QStringLiteral("&Save"), QStringLiteral("cmdSave"), this);
    cancelButton_ = makeButton(QStringLiteral("&Cancel"), QStringLiteral("cmdCancel"), this);
    frameAndButtons(this, frame, {saveButton_, cancelButton_});

    QWidget* order[] = {pacfBox_,     maxSpeciesBox_,        maxProductsBox_, maxIterationsBox_,
                        maxPlotsBox_, heightAdjustmentList_, modelSetList_,   ptipBox_,
                        stipBox_,     lidarClassesList_,     saveButton_,     cancelButton_};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    // The plan's boxes come after the model set's.
    QWidget* previous = stipBox_;
    for (std::size_t i = 0; i < PlanSettingsBox::kBoxes; ++i) {
        setTabOrder(previous, planBox_->box(i));
        planBox_->box(i)->installEventFilter(this);
        previous = planBox_->box(i);
    }
    setTabOrder(previous, saveButton_);
    for (QLineEdit* box : {pacfBox_, maxSpeciesBox_, maxProductsBox_, maxIterationsBox_,
                           maxPlotsBox_, ptipBox_, stipBox_})
        box->installEventFilter(this);

    connect(modelSetList_, &QComboBox::currentIndexChanged, this,
            &ParametersDialog::onModelSetChosen);
    connect(lidarClassesList_, &QComboBox::currentIndexChanged, this,
            &ParametersDialog::onLidarClassesChosen);
    connect(saveButton_, &QPushButton::clicked, this, &ParametersDialog::onSave);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    heightAdjustmentList_->addItems({QStringLiteral("Yes"), QStringLiteral("No")});
    modelSetList_->addItems({QStringLiteral("ModelSet 1"), QStringLiteral("ModelSet 2")});
    heightAdjustmentList_->setCurrentIndex(0);
    modelSetList_->setCurrentIndex(0);
    onModelSetChosen(0);
    lidarClassesList_->addItems(
        {QStringLiteral("Random draws"), QStringLiteral("Expected shares")});
    lidarClassesList_->setCurrentIndex(0);
    onLidarClassesChosen(0);
    loadFromFile();
}

void ParametersDialog::onLidarClassesChosen(int position) {
    lidarClassesMeaning_->setText(lidarClassesMeaning(position));
}

void ParametersDialog::onModelSetChosen(int position) {
    modelSet2Frame_->setVisible(position == 1);
}

bool ParametersDialog::eventFilter(QObject* watched, QEvent* event) {
    // A box that receives the focus has its whole text selected, so typing replaces the value.
    if (event->type() == QEvent::FocusIn)
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
    return QDialog::eventFilter(watched, event);
}

void ParametersDialog::loadFromFile() {
    // The dialog shows what the file holds, not the values in memory.
    const std::filesystem::path& appDir = view_.session().appDir;
    const std::filesystem::path file = paramFilePath(appDir);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return;
    std::optional<ParamRecord> record;
    try {
        // Under the parameter file's lock, as every change of the file: a file being replaced
        // by another process is read whole, and a short one is deleted only while it is short.
        const ParameterFileLock lock = ParameterFileLock::acquire(appDir);
        record = decodeParamRecord(readParameterFile(file));
        // An empty (or short) file is deleted, as at start-up; the boxes stay empty.
        if (!record) std::filesystem::remove(file, ec);
    } catch (const std::exception&) {
        return;  // nothing to show: the boxes keep the values in memory
    }
    if (!record) return;
    pacfBox_->setText(QString::number(record->PACF));
    maxSpeciesBox_->setText(QString::number(record->MaxSpec));
    maxProductsBox_->setText(QString::number(record->MaxProd));
    maxIterationsBox_->setText(QString::number(record->MaxItern));
    maxPlotsBox_->setText(QString::number(record->MaxPlots));
    ptipBox_->setText(qstr(shortestFloat(record->PTIP)));
    stipBox_->setText(qstr(shortestFloat(record->STIP)));
    if (record->LiHgtAdj == 0 || record->LiHgtAdj == 1)
        heightAdjustmentList_->setCurrentIndex(record->LiHgtAdj);
    if (record->ModelSet == 0 || record->ModelSet == 1)
        modelSetList_->setCurrentIndex(record->ModelSet);
    if (record->LidarClasses == 0 || record->LidarClasses == 1)
        lidarClassesList_->setCurrentIndex(record->LidarClasses);
    planBox_->load(*record);
}

void ParametersDialog::onSave() {
    const Session& session = view_.session();
    ParamRecord p = session.params;
    // The same ranges as everywhere the parameters are read, set or used (ParameterRanges.h), so
    // that nothing is saved that a step would refuse; the first field out of its range is named.
    QLineEdit* const countBoxes[] = {pacfBox_, maxSpeciesBox_, maxProductsBox_, maxIterationsBox_,
                                     maxPlotsBox_};
    static_assert(std::size(countBoxes) == kCountParameters.size());
    for (std::size_t i = 0; i < kCountParameters.size(); ++i) {
        std::int32_t value = 0;
        if (auto problem = typedCount(kCountParameters[i], utf8(countBoxes[i]->text()), value)) {
            showError(this, qstr(*problem));
            countBoxes[i]->setFocus();
            return;
        }
        kCountParameters[i].set(p, value);
    }
    p.LiHgtAdj = static_cast<std::int16_t>(heightAdjustmentList_->currentIndex());
    p.ModelSet = static_cast<std::int16_t>(modelSetList_->currentIndex());
    p.LidarClasses = static_cast<std::int16_t>(lidarClassesList_->currentIndex());
    if (p.ModelSet == 1) {
        for (auto [box, field, name] : {std::tuple{ptipBox_, &ParamRecord::PTIP, "PTIP"},
                                        std::tuple{stipBox_, &ParamRecord::STIP, "STIP"}}) {
            // The record holds a 32-bit float: the typed number as that float.
            const auto value = static_cast<float>(leadingNumber(utf8(box->text())));
            if (auto problem = tipProblem(name, value)) {
                showError(this, qstr(*problem));
                box->setFocus();
                return;
            }
            p.*field = value;
        }
    }
    if (const QString problem = planBox_->take(p); !problem.isEmpty()) {
        showError(this, problem);
        return;
    }
    try {
        saveParameters(session.appDir, p);
    } catch (const std::exception& e) {
        showError(this, QString::fromUtf8(e.what()));
        return;
    }
    view_.setParameters(p);
    accept();
    view_.appendLog(QStringLiteral("User Parameters Set"));
}

}  // namespace orr::gui
