// The command line's view of a running step. The status log goes to stdout as the step writes
// it, message boxes become one line on stderr. Progress: on a terminal, one line on stderr per
// step, rewritten in place, with the share done, the time taken and an estimate of the time left
// (shown once a step has run for half a second, and left standing when it ends); otherwise, with
// --verbose, a plain line per tenth of the work. The status captions show only with --verbose.
// The product-code question is asked on the terminal (only under --product-code ask; otherwise
// the step drops such trees without asking). Ctrl-C asks the running step to stop; it then
// writes nothing.
//
// A run of a million plots logs millions of lines: they go to stdout through its buffer, which is
// flushed whenever something else is shown, a step starts or ends, and now and then while it
// runs, never once per line.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "model/workflow/StepRunner.h"

namespace orr {

class CliHost : public workflow::StepView {
  public:
    // Where the progress goes: a line rewritten in place on a terminal, or plain lines.
    enum class Display { Detect, Terminal, Plain };
    using Clock = std::chrono::steady_clock;

    // `maxProd` bounds the product codes the terminal prompt accepts. With Display::Detect the
    // progress line is used when `err` is the standard error and that is a terminal.
    CliHost(int maxProd, std::istream& in, std::ostream& out, std::ostream& err, bool verbose,
            Display display = Display::Detect);
    ~CliHost() override;
    CliHost(const CliHost&) = delete;
    CliHost& operator=(const CliHost&) = delete;

    void log(std::string_view line) override;
    void logLines(std::string_view lines) override;
    void replaceLog(std::string_view text) override;
    void status(std::string_view caption) override;
    void message(std::string_view text, workflow::Icon icon) override;
    std::optional<int> askProductCode(int species, double dbh) override;
    // The question with the plot that raises it; one answer per tree (no whole-gap answer).
    ProductCodeAnswer answerProductQuestion(const ProductCodeQuestion& question) override;
    void progress(std::size_t done, std::size_t total) override;
    bool cancelled() const override;

    // The command line's steps begin and end here, so that the progress line can name the step
    // and be left standing with its time when the step ends.
    void beginStep(int number);
    void endStep();

    // Sets the log without printing it (the start-up text).
    void primeLog(std::string_view text);

    // Ctrl-C (SIGINT), SIGTERM and SIGHUP from now on cancel the running step (and the reading
    // of a file) instead of ending the program; SIGPIPE is ignored, and a write to `out` that
    // fails (a closed pipe) cancels the running step too.
    static void catchInterrupt();
    // What stopped the run, for its last message: "Ctrl-C", "SIGTERM", "SIGHUP" or "the standard
    // output was closed".
    std::string stopReason() const;

    // Only for tests of the progress line: the clock it reads.
    Clock::time_point (*now)() = &Clock::now;

  private:
    // The log is kept only to see whether a replacement continues it (see replaceLog); a log
    // longer than this is a step's output of many lines, which no replacement continues.
    static constexpr std::size_t kKeptLog = std::size_t{1} << 20;

    // Asks on the terminal until a valid code or an empty answer (nullopt: drop the tree).
    std::optional<int> ask(const ProductCodeQuestion& question);
    void keep(std::string_view text);
    // A write to `out` failed: the run stops at its next check.
    void noteOutput();
    std::atomic<bool> outputLost_{false};
    void print(std::string_view text, bool continuesLog);
    // Flushes the log to stdout and takes the progress line off the terminal while something
    // else is written there.
    void flushLog();
    void clearLine();
    // The progress line, drawn again with the latest share; `done` leaves it standing with the
    // step's time.
    void drawLine(bool done);

    int maxProd_;
    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    bool verbose_;
    bool terminal_ = false;        // progress as a line rewritten in place on stderr
    bool sharedTerminal_ = false;  // stdout is the same terminal: a log line clears the line first
    std::string log_;
    bool logKept_ = true;
    bool lineOpen_ = false;  // the last text printed did not end its line
    int lastDecile_ = -1;

    // The running step's progress line.
    int step_ = 0;             // the running step's number
    Clock::time_point start_;  // when the step started
    Clock::time_point drawn_;  // when its line was last drawn
    Clock::time_point flushed_;
    double share_ = -1;  // share done; below 0 while the step has told none
    bool stepRunning_ = false;
    bool lineShown_ = false;    // the progress line stands on the terminal
    bool lineCleared_ = false;  // ... but a log line took its place for now
};

}  // namespace orr
