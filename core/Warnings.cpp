#include "core/Warnings.h"

#include <utility>

namespace orr {

namespace {
thread_local WarningCollector* innermost = nullptr;
}  // namespace

WarningCollector::WarningCollector(Mode mode) : mode_(mode), outer_(innermost) {
    innermost = this;
}

WarningCollector::~WarningCollector() {
    innermost = outer_;
}

std::vector<Warning> WarningCollector::take() {
    return std::exchange(warnings_, {});
}

void warn(std::string kind, std::string text) {
    const Warning warning{std::move(kind), std::move(text)};
    for (WarningCollector* c = innermost; c != nullptr;
         c = c->mode_ == WarningCollector::Mode::PassOn ? c->outer_ : nullptr) {
        c->warnings_.push_back(warning);
    }
}

}  // namespace orr
