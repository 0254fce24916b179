// The desktop program: start-up in the application directory, then the main window.
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QSettings>
#include <cstdio>
#include <exception>
#include <optional>
#include <string_view>

#include "core/MemoryReuse.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/MainWindow.h"
#include "gui/RememberedState.h"
#include "model/session/Startup.h"
#include "model/workflow/StepTable.h"

namespace {

constexpr int kExitStartFailed = 1;
constexpr int kExitUsage = 2;

const char* const kHelp =
    "Usage: orravant [--app-dir DIR] [QT-OPTION...]\n"
    "       orravant --help | --version\n"
    "\n"
    "Forest inventory by double sampling with LiDAR: the desktop program, which leads\n"
    "through the work in twelve numbered steps.\n"
    "\n"
    "Options:\n"
    "  --app-dir DIR   the application directory (PARAMETER.PRM and DATA FILES); by default\n"
    "                  the one used last, else the program's own directory when\n"
    "                  writable, else $XDG_DATA_HOME/Orravant\n"
    "  -h, --help      show this text\n"
    "  -v, --version   show the program's name and version\n"
    "\n"
    "Qt's own options, such as -platform NAME and -style NAME, are accepted as well.\n"
    "The manual page orravant(1) describes the program's files; step 12 opens its help.\n"
    "\n"
    "Exit status: 0 the window was closed, 1 the program could not start in the\n"
    "application directory, 2 usage error.\n";

// The first line of --version, as GNU programs write it: the program, the package, the version.
const char* const kVersion = "orravant (Orravant) " ORRAVANT_VERSION "\n";

// --help and --version are answered before the window system is opened, so that they work on a
// terminal without a display.
std::optional<int> answerWithoutWindow(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--") break;
        if (word == "--app-dir") {
            ++i;  // its directory, whatever it is called
        } else if (word == "-h" || word == "--help") {
            std::fputs(kHelp, stdout);
            return 0;
        } else if (word == "-v" || word == "--version") {
            std::fputs(kVersion, stdout);
            return 0;
        }
    }
    return std::nullopt;
}

int usageError(const QString& problem) {
    std::fprintf(stderr, "orravant: %s\nTry 'orravant --help' for more information.\n",
                 problem.toLocal8Bit().constData());
    return kExitUsage;
}

}  // namespace

int main(int argc, char* argv[]) {
    orr::keepFreedMemoryForReuse();
    if (const auto answered = answerWithoutWindow(argc, argv)) return *answered;

    // QApplication takes Qt's own options (-platform, -style, ...) out of the arguments.
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orravant"));
    QApplication::setApplicationName(QStringLiteral("Orravant"));
    QApplication::setApplicationVersion(QStringLiteral(ORRAVANT_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/orravant.svg")));

    QCommandLineParser parser;
    const QCommandLineOption appDirOption(QStringList{QStringLiteral("app-dir")}, QString(),
                                          QStringLiteral("DIR"));
    parser.addOption(appDirOption);
    if (!parser.parse(QApplication::arguments())) return usageError(parser.errorText());
    if (!parser.positionalArguments().isEmpty()) {
        return usageError(QStringLiteral("unexpected argument '%1'")
                              .arg(parser.positionalArguments().constFirst()));
    }
    if (parser.isSet(appDirOption) && parser.value(appDirOption).isEmpty()) {
        return usageError(QStringLiteral("--app-dir needs a directory"));
    }

    // The window's size and place, the application directory and the data sets used last.
    QSettings settings;
    orr::Session session;
    orr::StartupResult started;
    try {
        std::optional<std::filesystem::path> explicitDir =
            orr::gui::RememberedState(settings).lastAppDir();
        if (parser.isSet(appDirOption)) explicitDir = orr::gui::fspath(parser.value(appDirOption));
        session.appDir = orr::resolveAppDir(explicitDir);
        started = orr::startUp(session);
    } catch (const std::exception& e) {
        orr::gui::showMessage(nullptr, QMessageBox::Critical, QString::fromUtf8(e.what()));
        return kExitStartFailed;
    }

    orr::gui::MainWindow window(session, orr::workflow::stepTable());
    window.setLogText(started.log);
    window.useSettings(&settings);
    window.show();
    return QApplication::exec();
}
