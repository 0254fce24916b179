#include "gui/frmEnterPhase1Height.h"

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

frmEnterPhase1Height::frmEnterPhase1Height(MainView& view, QWidget* parent)
    : QDialog(parent), view_(view) {
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
    txtHighLidarHeight_ = makeBox("txtHighLidarHeight", session.HighLidarFileName);
    txtLowLidarHeight_ = makeBox("txtLowLidarHeight", session.LowLidarFileName);
    auto* cmdBrowseHighFile =
        makeButton(QStringLiteral("Browse"), QStringLiteral("cmdBrowseHighFile"), frame);
    auto* cmdBrowseLowFile =
        makeButton(QStringLiteral("Browse"), QStringLiteral("cmdBrowseLowFile"), frame);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(QStringLiteral("DataSet 1:"), frame), 0, 0);
    grid->addWidget(txtHighLidarHeight_, 0, 1);
    grid->addWidget(cmdBrowseHighFile, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("DataSet 2:"), frame), 1, 0);
    grid->addWidget(txtLowLidarHeight_, 1, 1);
    grid->addWidget(cmdBrowseLowFile, 1, 2);

    cmdOK_ = makeButton(QStringLiteral("&OK"), QStringLiteral("cmdOK"), this);
    auto* cmdCancel = makeButton(QStringLiteral("&Cancel"), QStringLiteral("cmdCancel"), this);
    frameAndButtons(this, frame, {cmdOK_, cmdCancel});

    connect(cmdBrowseHighFile, &QPushButton::clicked, this, [this] { browse(true); });
    connect(cmdBrowseLowFile, &QPushButton::clicked, this, [this] { browse(false); });
    connect(cmdOK_, &QPushButton::clicked, this, &frmEnterPhase1Height::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmEnterPhase1Height::reject);
}

void frmEnterPhase1Height::browse(bool high) {
    Session& session = view_.session();
    const QString chosen = getOpenFileName(this,
                                           high ? QStringLiteral("DataSet 1 LiDAR Heights")
                                                : QStringLiteral("DataSet 2 LiDAR Heights"),
                                           qpath(session.dataFilesDir()));
    // A cancelled dialog leaves this data set's file as it was; it never takes the other one's.
    if (!chosen.isEmpty()) {
        (high ? session.HighLidarFileName : session.LowLidarFileName) = fspath(chosen);
        (high ? txtHighLidarHeight_ : txtLowLidarHeight_)->setText(chosen);
    }
    if (high)
        txtLowLidarHeight_->setFocus();
    else
        cmdOK_->setFocus();
}

void frmEnterPhase1Height::cmdOK_Click() {
    if (view_.session().HighLidarFileName.empty()) {
        showMessage(this, QMessageBox::Information,
                    QStringLiteral("Please select Phase 1 Lidar Height"));
        return;
    }
    accept();
}

void frmEnterPhase1Height::reject() {
    view_.session().HighLidarFileName.clear();
    QDialog::reject();
}

}  // namespace orr::gui
