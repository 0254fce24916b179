#include "gui/frmViewOutput.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <filesystem>

#include "core/Session.h"
#include "gui/DialogRunner.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/ReportViewer.h"

namespace orr::gui {

namespace {
constexpr std::array<const char*, 3> kSuffixes = {"_VolSum.txt", "_Regress.txt", "_StratVol.txt"};
}

frmViewOutput::frmViewOutput(const Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("frmViewOutput"));
    setWindowTitle(QStringLiteral("View Output Files...."));

    auto* frame = new QGroupBox(QStringLiteral("Select File ..."), this);
    makeCaptionBold(frame);
    auto* column = new QVBoxLayout(frame);
    for (std::size_t i = 0; i < options_.size(); ++i) {
        auto* option = new QRadioButton(frame);
        option->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        column->addWidget(option);
        options_[i] = option;
        // Only a report that exists and is not empty is offered.
        const std::string name = session_.DataSetName + kSuffixes[i];
        std::error_code ec;
        const auto size = std::filesystem::file_size(session_.dataFilesDir() / name, ec);
        if (!ec && size > 0)
            option->setText(qstr(name));
        else
            option->setVisible(false);
    }

    auto* cmdView = makeButton(QStringLiteral("&View"), QStringLiteral("cmdView"), this);
    auto* cmdCancel = makeButton(QStringLiteral("&Cancel"), QStringLiteral("cmdCancel"), this);
    frameAndButtons(this, frame, {cmdView, cmdCancel});

    connect(cmdView, &QPushButton::clicked, this, &frmViewOutput::cmdView_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmViewOutput::cmdView_Click() {
    for (std::size_t i = 0; i < options_.size(); ++i) {
        if (!options_[i]->isChecked() || options_[i]->isHidden()) continue;
        const QString path = qpath(session_.dataSetFile(kSuffixes[i]));
        if (!openWithDefaultProgram(path)) {
            ReportViewer viewer(path, this);
            execDialog(viewer);
        }
        return;  // the dialog stays open
    }
}

}  // namespace orr::gui
