// orravant-cli: global options, then one command and its words.
#include "cli/CliMain.h"

#include <iostream>
#include <string>
#include <string_view>

#include "cli/CliCommand.h"

namespace orr {

namespace {

const char* const kUsage =
    "Usage: orravant-cli [--app-dir DIR] COMMAND [ARGS...]\n"
    "       orravant-cli --help | --version\n"
    "\n"
    "Forest inventory by double sampling with LiDAR: the computation steps and the user\n"
    "parameters of Orravant without a window.\n"
    "\n"
    "Commands:\n"
    "  params                      print the nine user parameters as NAME=VALUE\n"
    "  params set NAME=VALUE ...   check and save parameters (PACF, MaxSpec, MaxProd,\n"
    "                              MaxItern, MaxPlots, LiHgtAdj, ModelSet, PTIP, STIP,\n"
    "                              LidarClasses=draws|expected)\n"
    "  run --dataset NAME --coeff F --strata F --dbh F --trees F --ds1 F [--ds2 F]\n"
    "      [--areas F] [--steps 5,6,7,8,9] [--seed N] [--threads N]\n"
    "      [--product-code drop|ask] [--verbose]\n"
    "                              run computation steps on a data set; the estimates\n"
    "                              are ground volume in cu.ft per acre, and with --areas\n"
    "                              (stratum,acres) also totals over the strata's acres\n"
    "  generate --out DIR [--preset sample|large|large-x2] [--plots N] [--seed N]\n"
    "                              write a sample data set\n"
    "  spread --dataset NAME --coeff F --strata F --dbh F --trees F --ds1 F [--ds2 F]\n"
    "      [--seeds K] [--threads N]\n"
    "                              how much the random draws move the estimates\n"
    "\n"
    "Options:\n"
    "  --app-dir DIR   the application directory (PARAMETER.PRM and DATA FILES); by default\n"
    "                  the program's own directory when writable (never /usr/bin), else\n"
    "                  $XDG_DATA_HOME/Orravant\n"
    "  --help          show this text\n"
    "  --version       show the program's name and version\n"
    "\n"
    "'orravant-cli run --help' and 'orravant-cli generate --help' describe their options;\n"
    "the manual page orravant-cli(1) describes everything.\n"
    "\n"
    "Exit status: 0 success, 1 a refused value or a step that stopped on an error,\n"
    "2 usage error.\n";

// The first line of --version, as GNU programs write it: the program, the package, the version.
const char* const kVersion = "orravant-cli (Orravant) " ORRAVANT_VERSION "\n";

int usageError(std::ostream& err, std::string_view problem) {
    err << "orravant-cli: " << problem << "\n" << kUsage;
    return kExitUsage;
}

}  // namespace

int cliMain(int argc, const char* const* argv, std::istream& in, std::ostream& out,
            std::ostream& err) {
    return cliMain(argc, argv, in, out, err, false);
}

int cliMain(int argc, const char* const* argv, std::istream& in, std::ostream& out,
            std::ostream& err, bool stdinIsTerminal) {
    CliContext ctx{.appDir = std::nullopt,
                   .args = {},
                   .stdinIsTerminal = stdinIsTerminal,
                   .in = in,
                   .out = out,
                   .err = err};
    int i = 1;
    // Global options come before the command.
    for (; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--help" || word == "-h") {
            out << kUsage;
            return kExitOk;
        }
        if (word == "--version") {
            out << kVersion;
            return kExitOk;
        }
        if (word == "--app-dir") {
            if (i + 1 >= argc) return usageError(err, "--app-dir needs a directory");
            ctx.appDir = std::filesystem::path(argv[++i]);
        } else if (word.starts_with("--app-dir=")) {
            const std::string_view dir = word.substr(std::string_view("--app-dir=").size());
            if (dir.empty()) return usageError(err, "--app-dir needs a directory");
            ctx.appDir = std::filesystem::path(dir);
        } else if (word.starts_with("-")) {
            return usageError(err, "unknown option " + std::string(word));
        } else {
            break;
        }
    }
    if (i >= argc) return usageError(err, "no command given");
    const std::string_view command = argv[i];
    for (++i; i < argc; ++i) ctx.args.emplace_back(argv[i]);

    if (command == "params") return paramsCommand(ctx);
    if (command == "run") return runCommand(ctx);
    if (command == "generate") return generateCommand(ctx);
    if (command == "spread") return spreadCommand(ctx);
    return usageError(err, "unknown command " + std::string(command));
}

}  // namespace orr
