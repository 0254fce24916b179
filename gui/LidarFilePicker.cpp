#include "gui/LidarFilePicker.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/MainView.h"

namespace orr::gui {

LidarFilePicker::LidarFilePicker(MainView& view, QWidget* parent) : QDialog(parent), view_(view) {
    const QString caption = QStringLiteral("Enter Phase 1 LiDAR Heights");
    setObjectName(QStringLiteral("frmEnterPhase1Height"));
    setWindowTitle(caption);

    auto* frame = new QGroupBox(caption, this);
    makeCaptionBold(frame);
    const Session& session = view_.session();
    auto makeBox = [frame](const char* name, const std::filesystem::path& file) {
        auto* box = new QLineEdit(frame);
        box->setObjectName(QString::fromLatin1(name));
        box->setReadOnly(true);
        box->setMinimumWidth(360);
        box->setText(qpath(file));
        return box;
    };
    dataSet1Box_ = makeBox("txtHighLidarHeight", session.inputs.lidarHigh);
    dataSet2Box_ = makeBox("txtLowLidarHeight", session.inputs.lidarLow);
    auto* browseDataSet1 =
        makeButton(QStringLiteral("Browse"), QStringLiteral("cmdBrowseHighFile"), frame);
    auto* browseDataSet2 =
        makeButton(QStringLiteral("Browse"), QStringLiteral("cmdBrowseLowFile"), frame);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(QStringLiteral("DataSet 1:"), frame), 0, 0);
    grid->addWidget(dataSet1Box_, 0, 1);
    grid->addWidget(browseDataSet1, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("DataSet 2:"), frame), 1, 0);
    grid->addWidget(dataSet2Box_, 1, 1);
    grid->addWidget(browseDataSet2, 1, 2);

    okButton_ = makeButton(QStringLiteral("&OK"), QStringLiteral("cmdOK"), this);
    auto* cancel = makeButton(QStringLiteral("&Cancel"), QStringLiteral("cmdCancel"), this);
    frameAndButtons(this, frame, {okButton_, cancel});

    connect(browseDataSet1, &QPushButton::clicked, this, [this] { browse(true); });
    connect(browseDataSet2, &QPushButton::clicked, this, [this] { browse(false); });
    connect(okButton_, &QPushButton::clicked, this, &LidarFilePicker::onOk);
    connect(cancel, &QPushButton::clicked, this, &LidarFilePicker::reject);
}

void LidarFilePicker::browse(bool dataSet1) {
    const Session& session = view_.session();
    const QString chosen = getOpenFileName(this,
                                           dataSet1 ? QStringLiteral("DataSet 1 LiDAR Heights")
                                                    : QStringLiteral("DataSet 2 LiDAR Heights"),
                                           qpath(session.dataFilesDir()));
    // A cancelled dialog leaves this data set's file as it was; it never takes the other one's.
    if (!chosen.isEmpty()) {
        view_.setInput(dataSet1 ? ChosenInput::LidarDS1 : ChosenInput::LidarDS2, fspath(chosen));
        (dataSet1 ? dataSet1Box_ : dataSet2Box_)->setText(chosen);
    }
    if (dataSet1)
        dataSet2Box_->setFocus();
    else
        okButton_->setFocus();
}

void LidarFilePicker::onOk() {
    if (view_.session().inputs.lidarHigh.empty()) {
        showError(this, QStringLiteral("Please select Phase 1 Lidar Height"));
        return;
    }
    accept();
}

void LidarFilePicker::reject() {
    view_.setInput(ChosenInput::LidarDS1, {});
    QDialog::reject();
}

}  // namespace orr::gui
