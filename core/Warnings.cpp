#include "core/Warnings.h"

#include <utility>

namespace orr {

namespace {
thread_local WarningCollector* innermost = nullptr;
}  // namespace

WarningCollector::WarningCollector() : outer_(innermost) {
    innermost = this;
}

WarningCollector::~WarningCollector() {
    innermost = outer_;
}

std::vector<Warning> WarningCollector::take() {
    return std::exchange(warnings_, {});
}

void warn(std::string kind, std::string text) {
    if (innermost) innermost->warnings_.push_back({std::move(kind), std::move(text)});
}

}  // namespace orr
