// The command line's view of a running step. The status log goes to stdout as the step writes
// it, message boxes become one line on stderr, the status caption and progress show only with
// --verbose. The product-code question is asked on the terminal (only under --product-code ask;
// otherwise the step drops such trees without asking). Ctrl-C asks the running step to stop;
// it then writes nothing.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "model/workflow/StepRunner.h"

namespace orr {

class CliHost : public workflow::StepView {
  public:
    // `maxProd` bounds the product codes the terminal prompt accepts.
    CliHost(int maxProd, std::istream& in, std::ostream& out, std::ostream& err, bool verbose);

    void log(std::string_view line) override;
    void replaceLog(std::string_view text) override;
    void status(std::string_view caption) override;
    void message(std::string_view text, workflow::Icon icon) override;
    std::optional<int> askProductCode(int species, double dbh) override;
    void progress(std::size_t done, std::size_t total) override;
    bool cancelled() const override;

    // Sets the log without printing it (the start-up text).
    void primeLog(std::string_view text) { log_ = text; }
    const std::string& logText() const { return log_; }

    // Ctrl-C (SIGINT) from now on cancels the running step instead of ending the program.
    static void catchInterrupt();

  private:
    void print(std::string_view text, bool continuesLog);

    int maxProd_;
    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    bool verbose_;
    std::string log_;
    int lastDecile_ = -1;
    bool lineOpen_ = false;  // the last text printed did not end its line
};

}  // namespace orr
