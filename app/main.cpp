// The desktop program: start-up in the application directory, then the main window.
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <exception>
#include <optional>

#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/MainWindow.h"
#include "model/session/Startup.h"
#include "model/workflow/StepTable.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orravant"));
    QApplication::setApplicationVersion(QStringLiteral(ORRAVANT_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/orravant.svg")));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Forest inventory by double sampling with LiDAR heights."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption appDirOption(
        QStringList{QStringLiteral("app-dir")},
        QStringLiteral("Application directory holding PARAMETER.PRM and DATA FILES."),
        QStringLiteral("DIR"));
    parser.addOption(appDirOption);
    parser.process(app);

    orr::Session session;
    orr::StartupResult started;
    try {
        std::optional<std::filesystem::path> explicitDir;
        if (parser.isSet(appDirOption)) explicitDir = orr::gui::fspath(parser.value(appDirOption));
        session.appDir = orr::resolveAppDir(explicitDir);
        started = orr::startUp(session);
    } catch (const std::exception& e) {
        orr::gui::showMessage(nullptr, QMessageBox::Critical, QString::fromUtf8(e.what()));
        return 1;
    }

    orr::gui::MainWindow window(session, orr::workflow::stepTable());
    window.setLogText(started.log);
    window.show();
    return QApplication::exec();
}
