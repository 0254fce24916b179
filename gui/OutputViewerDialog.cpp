#include "gui/OutputViewerDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <filesystem>

#include "files/DataSetFiles.h"
#include "gui/FileOpening.h"
#include "gui/GuiText.h"
#include "model/session/Session.h"

namespace orr::gui {

namespace {
// The files of the options, top to bottom: the three reports, then the report for the browser
// and the results as data for a spreadsheet.
constexpr std::array<files::DataSetFile, kOutputOptions> kReports = {
    files::DataSetFile::VolumeSummary, files::DataSetFile::Regression,
    files::DataSetFile::StratumVolume, files::DataSetFile::Report,
    files::DataSetFile::Estimates,     files::DataSetFile::Allocation};
}  // namespace

OutputViewerDialog::OutputViewerDialog(const Session& session, QWidget* parent)
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
        std::error_code ec;
        const auto size = std::filesystem::file_size(
            files::path(session_.dataFilesDir(), session_.dataSetName, kReports[i]), ec);
        if (!ec && size > 0)
            option->setText(qstr(files::fileName(session_.dataSetName, kReports[i])));
        else
            option->setVisible(false);
    }

    auto* view = makeButton(QStringLiteral("&View"), QStringLiteral("cmdView"), this);
    auto* viewHere = makeButton(QStringLiteral("View &Here"), QStringLiteral("cmdViewHere"), this);
    auto* cancel = makeButton(QStringLiteral("&Cancel"), QStringLiteral("cmdCancel"), this);
    frameAndButtons(this, frame, {view, viewHere, cancel});

    connect(view, &QPushButton::clicked, this, [this] { onView(false); });
    connect(viewHere, &QPushButton::clicked, this, [this] { onView(true); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void OutputViewerDialog::onView(bool here) {
    for (std::size_t i = 0; i < options_.size(); ++i) {
        if (!options_[i]->isChecked() || options_[i]->isHidden()) continue;
        const auto path = files::path(session_.dataFilesDir(), session_.dataSetName, kReports[i]);
        if (here)
            viewReportHere(this, path);
        else
            viewReport(this, path);
        return;  // the dialog stays open
    }
}

}  // namespace orr::gui
