#include "core/CommaWriter.h"

#include <charconv>

#include "core/NumberText.h"

namespace orr {

void RecordLine::separate() {
    if (!first_) text_ += ',';
    first_ = false;
}

RecordLine& RecordLine::number(double x) {
    separate();
    appendShortest(text_, x);
    return *this;
}

RecordLine& RecordLine::rounded(double x, int decimals) {
    separate();
    appendRoundedShortest(text_, x, decimals);
    return *this;
}

RecordLine& RecordLine::integer(long long x) {
    separate();
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, x).ptr;
    text_.append(digits, static_cast<std::size_t>(end - digits));
    return *this;
}

RecordLine& RecordLine::quoted(std::string_view text) {
    separate();
    text_ += '"';
    text_ += text;
    text_ += '"';
    return *this;
}

RecordLine& RecordLine::userText(std::string_view text) {
    return quoted(formulaSafe(text));
}

std::string formulaSafe(std::string_view text) {
    const bool guarded =
        !text.empty() && std::string_view("=+-@\t\r'").find(text.front()) != std::string_view::npos;
    return guarded ? "'" + std::string(text) : std::string(text);
}

std::string_view withoutFormulaGuard(std::string_view cell) {
    if (!cell.empty() && cell.front() == '\'') cell.remove_prefix(1);
    return cell;
}

RecordLine& RecordLine::raw(std::string_view text) {
    separate();
    text_ += text;
    return *this;
}

}  // namespace orr
