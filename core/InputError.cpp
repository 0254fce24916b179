#include "core/InputError.h"

#include <cstdint>
#include <cstring>

namespace orr {

bool isFormatCharacter(std::uint32_t c) {
    // The format characters (general category Cf) of Unicode 15.
    static constexpr std::uint32_t kRanges[][2] = {
        {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},
        {0x070F, 0x070F},   {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},
        {0x200B, 0x200F},   {0x202A, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
        {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
        {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
        {0xE0020, 0xE007F},
    };
    for (const auto& [from, to] : kRanges) {
        if (c >= from && c <= to) return true;
    }
    return false;
}

namespace {

// Length of the well-formed UTF-8 sequence at text[at] and its code point; 0 when the bytes there
// are not one (a stray continuation byte, a cut sequence, an overlong or surrogate form).
std::size_t utf8Sequence(std::string_view text, std::size_t at, std::uint32_t& codePoint) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3Fu);
    }
    const std::uint32_t smallest[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < smallest[length] || codePoint > 0x10FFFF) return 0;
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return 0;
    return length;
}

// Code points that steer a terminal or reorder the text around them, or that show as nothing:
// C1 controls and the format characters (bidirectional marks, embeddings, overrides and
// isolates, zero-width spaces and joiners, the byte-order mark ...).
bool isInvisibleControl(std::uint32_t c) {
    return (c >= 0x80 && c <= 0x9F) || isFormatCharacter(c);
}

void appendEscaped(std::string& out, std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        out += "\\x";
        out += kHex[c >> 4];
        out += kHex[c & 15];
    }
}

std::string escaped(std::string_view text, std::size_t maxCharacters) {
    std::string out;
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++characters) {
        if (characters == maxCharacters) {
            out += "...";
            break;
        }
        const auto c = static_cast<unsigned char>(text[at]);
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
            ++at;
            continue;
        }
        std::uint32_t codePoint = 0;
        const std::size_t length = c >= 0x80 ? utf8Sequence(text, at, codePoint) : 0;
        if (length == 0) {
            appendEscaped(out, text.substr(at, 1));
            ++at;
        } else {
            if (isInvisibleControl(codePoint)) {
                appendEscaped(out, text.substr(at, length));
            } else {
                out.append(text.substr(at, length));
            }
            at += length;
        }
    }
    return out;
}

}  // namespace

std::string shownText(std::string_view text, std::size_t maxCharacters) {
    return escaped(text, maxCharacters);
}

std::string shownPath(const std::filesystem::path& path) {
    return escaped(path.native(), std::string_view::npos);
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++count) {
        std::uint32_t codePoint = 0;
        const auto c = static_cast<unsigned char>(text[at]);
        const std::size_t length = c >= 0x80 ? utf8Sequence(text, at, codePoint) : 0;
        at += length == 0 ? 1 : length;
    }
    return count;
}

std::string_view firstFormatCharacter(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t codePoint = 0;
        const auto c = static_cast<unsigned char>(text[at]);
        const std::size_t length = c >= 0x80 ? utf8Sequence(text, at, codePoint) : 0;
        if (length > 0 && isFormatCharacter(codePoint)) return text.substr(at, length);
        at += length == 0 ? 1 : length;
    }
    return {};
}

InputError InputError::at(const std::filesystem::path& file, long record, int field,
                          std::string_view fieldName, std::string_view found,
                          std::string_view problem) {
    std::string text = "File " + shownPath(file) + ", record " + std::to_string(record) +
                       ", field " + std::to_string(field);
    if (!fieldName.empty()) text += " (" + std::string(fieldName) + ")";
    text += ": \"" + shownText(found) + "\" " + std::string(problem) + ".";
    return InputError(text);
}

InputError InputError::file(const std::filesystem::path& file, std::string_view problem) {
    return InputError("File " + shownPath(file) + ": " + std::string(problem) + ".");
}

void throwFileFailure(std::string_view what, const std::filesystem::path& path, int err) {
    throw std::runtime_error(std::string(what) + " " + shownPath(path) + ": " + std::strerror(err));
}

}  // namespace orr
