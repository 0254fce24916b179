// Warnings: something a forester should know about a run that completed (an empty field read as
// 0, a tree dropped for want of a product code, an implausible height). A step, or a reader deep
// inside it, calls warn(); the step's runner collects every warning raised while the step runs
// (parallelFor brings those of its helper threads to the calling thread), puts them in the
// step's result and the log, and the command line counts them.
#pragma once

#include <string>
#include <vector>

namespace orr {

struct Warning {
    std::string kind;  // a short name shared by warnings of one kind ("empty fields")
    std::string text;  // the whole line for the log
    bool operator==(const Warning&) const = default;
};

// Collects the warnings raised on this thread while it lives; collectors nest, the innermost
// takes them. Without a collector a warning is dropped.
class WarningCollector {
  public:
    WarningCollector();
    ~WarningCollector();
    WarningCollector(const WarningCollector&) = delete;
    WarningCollector& operator=(const WarningCollector&) = delete;

    // The warnings collected so far, in the order raised; the collector is empty afterwards.
    std::vector<Warning> take();
    // The same, left in the collector.
    const std::vector<Warning>& collected() const { return warnings_; }

  private:
    friend void warn(std::string kind, std::string text);
    std::vector<Warning> warnings_;
    WarningCollector* outer_;
};

void warn(std::string kind, std::string text);

}  // namespace orr
