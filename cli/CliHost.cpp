#include "cli/CliHost.h"

#include <atomic>
#include <cmath>
#include <csignal>
#include <istream>
#include <ostream>

#include "core/NumberText.h"

namespace orr {

namespace {

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) {
    interrupted = true;
}

// The log keeps CR LF; the terminal gets plain line ends.
std::string toTerminal(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        out += text[i] == '\r' ? '\n' : text[i];
    }
    return out;
}

// A message box is one line on stderr.
std::string oneLine(std::string_view text) {
    std::string out;
    for (char c : text) {
        out += (c == '\r' || c == '\n') ? ' ' : c;
    }
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out;
}

}  // namespace

CliHost::CliHost(int maxProd, std::istream& in, std::ostream& out, std::ostream& err, bool verbose)
    : maxProd_(maxProd), in_(in), out_(out), err_(err), verbose_(verbose) {}

void CliHost::catchInterrupt() {
    interrupted = false;
    std::signal(SIGINT, onInterrupt);
}

bool CliHost::cancelled() const {
    return interrupted.load();
}

void CliHost::print(std::string_view text, bool continuesLog) {
    std::string shown = toTerminal(text);
    // A line that the log left open was ended on the terminal already.
    if (continuesLog && lineOpen_ && !shown.empty() && shown.front() == '\n') {
        shown.erase(0, 1);
    }
    if (shown.empty()) {
        return;
    }
    lineOpen_ = shown.back() != '\n';
    if (lineOpen_) {
        shown += '\n';
    }
    out_ << shown << std::flush;
}

void CliHost::log(std::string_view line) {
    log_ += line;
    log_ += "\r\n";
    print(std::string(line) + "\r\n", false);
}

void CliHost::replaceLog(std::string_view text) {
    // A step that rebuilds the log from its old text plus a new line prints only the new part;
    // any other replacement prints the whole new text.
    if (!log_.empty() && text.size() >= log_.size() && text.substr(0, log_.size()) == log_) {
        print(text.substr(log_.size()), true);
    } else {
        print(text, false);
    }
    log_ = text;
}

void CliHost::status(std::string_view caption) {
    if (verbose_) {
        err_ << oneLine(caption) << '\n' << std::flush;
    }
}

void CliHost::message(std::string_view text, workflow::Icon icon) {
    err_ << (icon == workflow::Icon::Critical ? "error: " : "note: ") << oneLine(text) << '\n'
         << std::flush;
}

std::optional<int> CliHost::askProductCode(int species, double dbh) {
    err_ << "Product Code Error...\n";
    err_ << " SPECIES = " << species << '\n';
    err_ << " DBH = " << shortest(dbh) << '\n';
    for (;;) {
        err_ << " ENTER PRODUCT CODE... " << std::flush;
        std::string answer;
        if (!std::getline(in_, answer)) {
            err_ << '\n';
            return std::nullopt;
        }
        if (!answer.empty() && answer.back() == '\r') answer.pop_back();
        if (answer.find_first_not_of(" \t") == std::string::npos) return std::nullopt;
        const auto code = parseNumber(answer);
        if (code && *code == std::floor(*code) && *code >= 1 && *code <= maxProd_) {
            return static_cast<int>(*code);
        }
        err_ << "Please enter a valid product code (1 to " << maxProd_
             << "), or nothing to drop the tree.\n";
    }
}

void CliHost::progress(std::size_t done, std::size_t total) {
    if (!verbose_ || total == 0) {
        return;
    }
    const int percent = static_cast<int>(done >= total ? 100 : done * 100 / total);
    // One line per tenth of the work is enough on a terminal.
    const int decile = percent / 10;
    if (decile != lastDecile_) {
        err_ << "progress: " << percent << "% (" << done << " of " << total << ")\n" << std::flush;
    }
    lastDecile_ = percent == 100 ? -1 : decile;
}

}  // namespace orr
