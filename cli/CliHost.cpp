#include "cli/CliHost.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <istream>
#include <ostream>

#include "core/CommaReader.h"
#include "core/NumberText.h"

namespace orr {

namespace {

std::atomic<bool> interrupted{false};
std::atomic<int> stopSignal{0};  // the first signal that asked for the stop

extern "C" void onInterrupt(int signal) {
    int none = 0;
    stopSignal.compare_exchange_strong(none, signal);
    interrupted = true;
}

bool interruptedNow() {
    return interrupted.load();
}

// The log keeps CR LF; the terminal gets plain line ends.
std::string toTerminal(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 1);
    // The text between carriage returns goes as it is (a step logs millions of lines at once).
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t cr = std::min(text.find('\r', at), text.size());
        out.append(text, at, cr - at);
        if (cr == text.size()) break;
        // "\r\n" ends the line with its "\n"; a "\r" alone becomes one.
        if (cr + 1 == text.size() || text[cr + 1] != '\n') out += '\n';
        at = cr + 1;
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

// Minutes and seconds, or hours, minutes and seconds: "0:07", "12:40", "1:02:03".
std::string clockText(double seconds) {
    const long s = std::lround(std::max(0.0, seconds));
    char text[32];
    if (s >= 3600) {
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    } else {
        std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    }
    return text;
}

double secondsBetween(CliHost::Clock::time_point from, CliHost::Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// A step shows its progress line once it has run this long, and draws it again at most this often.
constexpr double kLineAfterSeconds = 0.5;
constexpr double kRedrawSeconds = 0.2;
// The log reaches stdout at least this often while a step runs.
constexpr double kFlushSeconds = 1.0;

}  // namespace

CliHost::CliHost(int maxProd, std::istream& in, std::ostream& out, std::ostream& err, bool verbose,
                 Display display)
    : maxProd_(maxProd), in_(in), out_(out), err_(err), verbose_(verbose) {
    if (display == Display::Terminal) {
        terminal_ = true;
    } else if (display == Display::Detect) {
        terminal_ = &err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
        sharedTerminal_ = terminal_ && &out == &std::cout && ::isatty(STDOUT_FILENO) == 1;
    }
    start_ = drawn_ = flushed_ = now();
}

CliHost::~CliHost() {
    try {
        if (stepRunning_) endStep();
        out_.flush();
    } catch (...) {  // nothing more can be shown
    }
}

void CliHost::catchInterrupt() {
    interrupted = false;
    stopSignal = 0;
    // Ctrl-C, a kill (SIGTERM) and a closed terminal (SIGHUP) all stop the run the same way: the
    // step stops at its next check, writes nothing, and the lock goes with the run. A closed pipe
    // on stdout is seen as a failed write (cancelled()), not as a signal that ends the program.
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    // A file being read stops at its next mebibyte, even in the middle of a record.
    CommaReader::setStopCheck(&interruptedNow);
}

std::string CliHost::stopReason() const {
    if (outputLost_) return "the standard output was closed";
    switch (stopSignal.load()) {
        case SIGTERM:
            return "SIGTERM";
        case SIGHUP:
            return "SIGHUP";
        default:
            return "Ctrl-C";
    }
}

bool CliHost::cancelled() const {
    return interrupted.load() || outputLost_.load();
}

void CliHost::noteOutput() {
    if (!out_.good()) outputLost_ = true;
}

void CliHost::primeLog(std::string_view text) {
    log_.clear();
    logKept_ = true;
    keep(text);
}

void CliHost::keep(std::string_view text) {
    if (!logKept_) return;
    if (log_.size() + text.size() > kKeptLog) {
        log_.clear();
        logKept_ = false;
        return;
    }
    // Its room is taken once and kept from step to step: grown by doubling, the log would be
    // copied again and again into fresh memory, which costs more than the copies.
    if (log_.capacity() < kKeptLog) log_.reserve(kKeptLog);
    log_ += text;
}

void CliHost::clearLine() {
    if (lineShown_ && !lineCleared_) {
        err_ << "\r\033[K" << std::flush;
        lineCleared_ = true;
    }
}

void CliHost::flushLog() {
    out_.flush();
    noteOutput();
    flushed_ = now();
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
    // On a terminal that shows the progress line too, the log line takes the line's place until
    // the next progress redraws it below.
    if (sharedTerminal_) clearLine();
    out_ << shown;
    noteOutput();
    if (sharedTerminal_ || secondsBetween(flushed_, now()) >= kFlushSeconds) flushLog();
}

void CliHost::log(std::string_view line) {
    keep(line);
    keep("\r\n");
    std::string text(line);
    text += "\r\n";
    print(text, false);
}

void CliHost::logLines(std::string_view lines) {
    keep(lines);
    print(lines, false);
}

void CliHost::replaceLog(std::string_view text) {
    // A step that rebuilds the log from its old text plus a new line prints only the new part;
    // any other replacement prints the whole new text.
    if (logKept_ && !log_.empty() && text.size() >= log_.size() &&
        text.substr(0, log_.size()) == log_) {
        print(text.substr(log_.size()), true);
    } else {
        print(text, false);
    }
    log_.clear();
    logKept_ = true;
    keep(text);
}

void CliHost::status(std::string_view caption) {
    if (verbose_) {
        flushLog();
        clearLine();
        err_ << oneLine(caption) << '\n' << std::flush;
    }
}

void CliHost::message(std::string_view text, workflow::Icon icon) {
    flushLog();
    clearLine();
    err_ << (icon == workflow::Icon::Critical ? "error: " : "note: ") << oneLine(text) << '\n'
         << std::flush;
}

void CliHost::beginStep(int number) {
    flushLog();
    step_ = number;
    start_ = drawn_ = now();
    share_ = -1;
    stepRunning_ = true;
    lineShown_ = lineCleared_ = false;
    lastDecile_ = -1;
}

void CliHost::endStep() {
    flushLog();
    if (terminal_ && stepRunning_ && lineShown_) drawLine(true);
    stepRunning_ = false;
    lineShown_ = lineCleared_ = false;
}

void CliHost::drawLine(bool done) {
    const auto at = now();
    const double elapsed = secondsBetween(start_, at);
    std::string line = "\rstep " + std::to_string(step_) + ": ";
    if (done) {
        line += "done in " + clockText(elapsed) + "\033[K\n";
    } else {
        if (share_ >= 0) line += std::to_string(static_cast<int>(share_ * 100)) + "%, ";
        line += clockText(elapsed) + " elapsed";
        // The time left from the pace so far, once there is a pace to go by.
        if (share_ >= 0.01 && share_ < 1) {
            line += ", about " + clockText(elapsed * (1 - share_) / share_) + " left";
        }
        line += "\033[K";
    }
    err_ << line << std::flush;
    drawn_ = at;
    lineShown_ = !done;
    lineCleared_ = false;
}

std::optional<int> CliHost::askProductCode(int species, double dbh) {
    ProductCodeQuestion question;
    question.species = species;
    question.dbh = dbh;
    return ask(question);
}

ProductCodeAnswer CliHost::answerProductQuestion(const ProductCodeQuestion& question) {
    return {ask(question), false};
}

std::optional<int> CliHost::ask(const ProductCodeQuestion& question) {
    err_ << "Product Code Error...\n";
    if (question.plot != 0) err_ << " PLOT = " << question.plot << '\n';
    err_ << " SPECIES = " << question.species << '\n';
    err_ << " DBH = " << shortest(question.dbh) << '\n';
    err_ << (maxProd_ == 1 ? " Valid product code: 1\n"
                           : " Valid product codes: 1 to " + std::to_string(maxProd_) + "\n");
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
    if (total == 0) {
        return;
    }
    share_ = done >= total ? 1.0 : static_cast<double>(done) / static_cast<double>(total);
    if (terminal_) {
        const auto at = now();
        if (secondsBetween(flushed_, at) >= kFlushSeconds) flushLog();
        if (stepRunning_ && secondsBetween(start_, at) >= kLineAfterSeconds &&
            (!lineShown_ || lineCleared_ || secondsBetween(drawn_, at) >= kRedrawSeconds)) {
            drawLine(false);
        }
        return;
    }
    if (!verbose_) {
        return;
    }
    const int percent = static_cast<int>(share_ * 100);
    // One line per tenth of the work is enough where the line cannot be rewritten.
    const int decile = percent / 10;
    if (decile != lastDecile_) {
        flushLog();
        err_ << "progress: " << percent << "% (" << done << " of " << total << ")\n" << std::flush;
    }
    lastDecile_ = percent == 100 ? -1 : decile;
}

}  // namespace orr
