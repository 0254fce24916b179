// The File menu of the main window and what the window remembers between runs: another
// application directory, the recently used data sets, the window's size and place.
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <exception>
#include <system_error>

#include "files/DataSetFiles.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/MainWindow.h"
#include "gui/RememberedState.h"
#include "model/session/Startup.h"

namespace orr::gui {

namespace {

bool isFile(const std::filesystem::path& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

void MainWindow::useSettings(QSettings* settings) {
    settings_ = settings;
    if (!settings_) return;
    RememberedState remembered(*settings_);
    remembered.setLastAppDir(session_.appDir);
    const QByteArray geometry = remembered.windowGeometry();
    // A place kept from a larger screen gives way to one that fits this screen.
    const QRect available = screen()->availableGeometry();
    if (geometry.isEmpty() || !restoreGeometry(geometry) ||
        !available.contains(frameGeometry().topLeft()) || size().width() > available.width() ||
        size().height() > available.height())
        fitToScreen(available);
    rebuildRecentMenu();
}

void MainWindow::onOpenApplicationDirectory() {
    const QString dir = getExistingDirectory(this, QStringLiteral("Open Application Directory"),
                                             qpath(session_.appDir));
    if (!dir.isEmpty()) openApplicationDirectory(fspath(dir));
}

bool MainWindow::openApplicationDirectory(const std::filesystem::path& dir) {
    if (workflow_.running()) return false;
    Session fresh;
    fresh.appDir = dir;
    fresh.run = session_.run;
    StartupResult started;
    try {
        started = startUp(fresh);
    } catch (const std::exception& e) {
        showError(this, qstr(e.what()));
        return false;
    }
    // As after Reset: nothing of the data set in the directory left is kept.
    workflow_.startAfresh(fresh);
    setLogText(started.log);
    setStatusCaption(QStringLiteral("Status"));
    if (settings_) RememberedState(*settings_).setLastAppDir(session_.appDir);
    rebuildRecentMenu();
    mirror();
    return true;
}

bool MainWindow::openRecentDataSet(const RecentDataSet& d) {
    if (workflow_.running()) return false;
    for (const std::filesystem::path* file : {&d.coefficientFile, &d.strataFile, &d.dbhFile}) {
        if (!isFile(*file)) {
            showError(this, QStringLiteral("The data set %1 cannot be opened again: the file %2 "
                                           "is no longer there.")
                                .arg(qstr(d.name), qpath(*file)));
            return false;
        }
    }
    if (d.appDir != session_.appDir && !openApplicationDirectory(d.appDir)) return false;
    InputPaths inputs;
    inputs.coefficients = d.coefficientFile;
    inputs.strata = d.strataFile;
    inputs.dbh = d.dbhFile;
    // The tree and LiDAR files are chosen again when one of them has gone.
    if (isFile(d.treeFile)) inputs.trees = d.treeFile;
    if (isFile(d.lidarHighFile)) {
        inputs.lidarHigh = d.lidarHighFile;
        if (isFile(d.lidarLowFile)) inputs.lidarLow = d.lidarLowFile;
    }
    if (isFile(d.areasFile)) inputs.areas = d.areasFile;
    workflow_.openDataSet(d.name, inputs);
    const QString name = qstr(d.name);
    // The labels and the log as steps 1, 3 and 4 leave them.
    appendLog(QStringLiteral("DataSet Name is: ") + name);
    showOutputLabel(QStringLiteral("lbldatasetname"), QStringLiteral("DataSetName - ") + name);
    appendLog(QStringLiteral("Regression Coefficient File chosen:") + qpath(d.coefficientFile));
    showOutputLabel(QStringLiteral("LblCoeffFile"),
                    QStringLiteral("File - ") + qpath(d.coefficientFile.filename()));
    appendLog(QStringLiteral("Chosen Strata FileName:") + qpath(d.strataFile));
    appendLog(QStringLiteral("Chosen DBH FileName:") + qpath(d.dbhFile));
    showOutputLabel(QStringLiteral("LblStratDBHfilename"),
                    QStringLiteral("Strata File - ") + qpath(d.strataFile.filename()) +
                        QStringLiteral("  DBH File - ") + qpath(d.dbhFile.filename()));
    if (!session_.inputs.trees.empty())
        appendLog(QStringLiteral("Tree Input FileName:") + qpath(session_.inputs.trees));
    setStatusCaption(QStringLiteral("Status: DataSet ") + name + QStringLiteral(" opened"));
    activate();
    // Reports of an earlier run are there to be viewed again, and its results shown.
    for (const files::DataSetFile report :
         {files::DataSetFile::Regression, files::DataSetFile::StratumVolume,
          files::DataSetFile::VolumeSummary, files::DataSetFile::Report}) {
        if (isFile(files::path(session_.dataFilesDir(), session_.dataSetName, report))) {
            workflow_.reportsFound();
            break;
        }
    }
    return true;
}

void MainWindow::rememberDataSet() {
    if (!settings_ || session_.dataSetName.empty() || session_.inputs.coefficients.empty() ||
        session_.inputs.strata.empty() || session_.inputs.dbh.empty())
        return;
    const RecentDataSet current = recentDataSetOf(session_);
    RememberedState remembered(*settings_);
    const std::vector<RecentDataSet> list = remembered.recentDataSets();
    if (!list.empty() && list.front() == current) return;
    remembered.addRecentDataSet(current);
    rebuildRecentMenu();
}

void MainWindow::rebuildRecentMenu() {
    recentMenu_->clear();
    std::vector<RecentDataSet> list;
    if (settings_) list = RememberedState(*settings_).recentDataSets();
    for (const RecentDataSet& d : list) {
        // "ABC" in this application directory, "ABC (other/directory)" in another.
        QString text = qstr(d.name);
        if (d.appDir != session_.appDir) text += QStringLiteral(" (") + qpath(d.appDir) + ")";
        QAction* action = recentMenu_->addAction(text);
        action->setToolTip(
            QStringLiteral("Coefficients: %1\nStrata: %2\nDBH: %3")
                .arg(qpath(d.coefficientFile), qpath(d.strataFile), qpath(d.dbhFile)));
        connect(action, &QAction::triggered, this, [this, d] { openRecentDataSet(d); });
    }
    if (list.empty()) recentMenu_->addAction(QStringLiteral("(none yet)"))->setEnabled(false);
    recentMenu_->setToolTipsVisible(true);
}

}  // namespace orr::gui
