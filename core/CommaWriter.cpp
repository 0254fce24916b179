#include "core/CommaWriter.h"

#include "core/NumberText.h"

namespace orr {

void RecordLine::separate() {
    if (!first_) text_ += ',';
    first_ = false;
}

RecordLine& RecordLine::number(double x) {
    separate();
    text_ += shortest(x);
    return *this;
}

RecordLine& RecordLine::rounded(double x, int decimals) {
    separate();
    text_ += roundedText(x, decimals);
    return *this;
}

RecordLine& RecordLine::integer(long long x) {
    separate();
    text_ += std::to_string(x);
    return *this;
}

RecordLine& RecordLine::quoted(std::string_view text) {
    separate();
    text_ += '"';
    text_ += text;
    text_ += '"';
    return *this;
}

RecordLine& RecordLine::raw(std::string_view text) {
    separate();
    text_ += text;
    return *this;
}

}  // namespace orr
