#include "model/workflow/StatusLog.h"

namespace orr::workflow {

bool StatusLog::append(std::string_view line) {
    const bool clear = text_.size() > kClearAbove;
    if (clear) text_.clear();
    text_ += line;
    text_ += "\r\n";
    return clear;
}

void StatusLog::set(std::string_view text) {
    text_ = std::string(text);
}

std::string StatusLog::forDisplay(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace orr::workflow
