// What every command of orravant-cli receives.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace orr {

struct CliContext {
    std::optional<std::filesystem::path> appDir;  // --app-dir, when given
    std::vector<std::string> args;                // the words after the command's name
    bool stdinIsTerminal = false;
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// orravant-cli [--app-dir DIR] params [set NAME=VALUE ...]
int paramsCommand(CliContext& ctx);
// orravant-cli [--app-dir DIR] run --dataset NAME --coeff F --strata F --dbh F --trees F --ds1 F
//              [--ds2 F] [--steps 5,6,7,8,9] [--seed N] [--product-code drop|ask] [--verbose]
int runCommand(CliContext& ctx);
// orravant-cli generate --out DIR [--plots N] [--seed N]
int generateCommand(CliContext& ctx);
// orravant-cli [--app-dir DIR] spread --dataset NAME --coeff F --strata F --dbh F --trees F
//              --ds1 F [--ds2 F] [--seeds K] [--threads N]
int spreadCommand(CliContext& ctx);

// The value of --dataset with the blanks around it gone; throws UsageError for a name that is
// empty, longer than 6 characters, or holds a character a file name or a report cannot carry.
std::string checkedDataSetName(std::string name);
// A file named on the command line, made absolute.
std::filesystem::path inputPath(const std::string& text);

}  // namespace orr
