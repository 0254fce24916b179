// The command line's StepHost. The status log goes to stdout as the step writes it, message boxes
// become one line on stderr, the status caption and progress show only with --verbose. The
// command line gets its files from flags, so the pickers and the parameters dialog do nothing.
// The product-code prompt either asks on the terminal or drops the tree.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "core/Session.h"
#include "core/StepHost.h"

namespace orr {

enum class ProductCodeMode { Drop, Ask };

class CliHost : public StepHost {
  public:
    // `session` gives MaxProd to the product-code prompt; it must outlive the host.
    CliHost(const Session& session, std::istream& in, std::ostream& out, std::ostream& err,
            bool verbose, ProductCodeMode mode);

    void appendLog(std::string_view line) override;
    void setLog(std::string_view text) override;
    std::size_t logLength() const override { return log_.size(); }
    void setStatus(std::string_view caption) override;
    void message(std::string_view text, Icon icon) override;
    std::optional<int> askProductCode(int species, double dbh) override;
    void progress(std::size_t done, std::size_t total) override;
    void pickTreeFile(Session& session) override;
    void pickLidarFiles(Session& session) override;
    bool editParameters(Session& session) override;

    // Sets the log without printing it (the start-up text).
    void primeLog(std::string_view text) { log_ = text; }
    const std::string& log() const { return log_; }
    // Trees dropped at the product-code prompt since the host was made.
    std::size_t droppedTrees() const { return dropped_; }

  private:
    void print(std::string_view text, bool continuesLog);

    const Session& session_;
    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    bool verbose_;
    ProductCodeMode mode_;
    std::string log_;
    std::size_t dropped_ = 0;
    int lastDecile_ = -1;
    bool lineOpen_ = false;  // the last text printed did not end its line
};

}  // namespace orr
