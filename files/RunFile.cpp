#include "files/RunFile.h"

#include <array>

#include "core/CommaWriter.h"

namespace orr::files {

namespace {

constexpr std::array<std::string_view, 5> kKinds = {run::kParameter, run::kSeed, run::kRead,
                                                    run::kWrote, run::kWarning};

std::string encoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '%':
                out += "%25";
                break;
            case '"':
                out += "%22";
                break;
            case '\r':
                out += "%0D";
                break;
            case '\n':
                out += "%0A";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// Whether an entry's value is text (a parameter as given, a warning) rather than a number.
bool carriesText(std::string_view entry) {
    return entry == run::kParameter || entry == run::kWarning;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string decoded(const CommaReader& in, int i, std::string_view name) {
    const std::string_view text = in.text(i);
    std::string out;
    out.reserve(text.size());
    for (std::size_t p = 0; p < text.size(); ++p) {
        if (text[p] != '%') {
            out += text[p];
            continue;
        }
        const int high = p + 1 < text.size() ? hexDigit(text[p + 1]) : -1;
        const int low = p + 2 < text.size() ? hexDigit(text[p + 2]) : -1;
        if (high < 0 || low < 0)
            in.fail(i, name, "holds a % that is not followed by two hexadecimal digits");
        out += static_cast<char>(high * 16 + low);
        p += 2;
    }
    return out;
}

}  // namespace

void RunFile::parse(const CommaReader& in, const Limits&, Record& r) {
    r.step = in.intInRange(0, "step", 5, 9);
    const std::string_view kind = in.text(1);
    bool known = false;
    for (std::string_view k : kKinds) known = known || k == kind;
    if (!known) in.fail(1, "entry", "is not parameter, seed, read, wrote or warning");
    r.entry = std::string(kind);
    // The name and the value are user text (file names, warnings, parameters), written so that
    // a spreadsheet never evaluates them; a seed and a file size are numbers.
    r.name = decoded(in, 2, "name");
    r.value = decoded(in, 3, "value");
    r.name = std::string(withoutFormulaGuard(r.name));
    if (carriesText(r.entry)) r.value = std::string(withoutFormulaGuard(r.value));
    r.sha256 = std::string(in.text(4));
}

void RunFile::write(OutputFile& out, const Record& r) {
    RecordLine()
        .integer(r.step)
        .quoted(r.entry)
        .userText(encoded(r.name))
        .quoted(carriesText(r.entry) ? formulaSafe(encoded(r.value)) : encoded(r.value))
        .quoted(r.sha256)
        .appendTo(out);
}

}  // namespace orr::files
