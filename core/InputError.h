// The one kind of error that a reader raises when it meets input it cannot use. Its text is the
// whole message shown to the user: it names the file, the record, the field and what was found.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orr {

class InputError : public std::runtime_error {
  public:
    explicit InputError(const std::string& message) : std::runtime_error(message) {}

    // "File <path>, record <n>, field <i> (<name>): "<text>" <problem>." The text found is
    // shown as shownText() shows it.
    static InputError at(const std::filesystem::path& file, long record, int field,
                         std::string_view fieldName, std::string_view found,
                         std::string_view problem);
    // "File <path>: <problem>."
    static InputError file(const std::filesystem::path& file, std::string_view problem);
};

// Text read from a file or typed by the user, as a message may show it: control bytes (ESC, BEL,
// NUL, line ends ...) and bytes that are not UTF-8 are written as \xHH, so nothing reaches a
// terminal or a message box that it would act on, and a text longer than `maxCharacters` is cut
// there and ends in "...". A field of a gigabyte gives a message of a line.
inline constexpr std::size_t kShownCharacters = 40;
std::string shownText(std::string_view text, std::size_t maxCharacters = kShownCharacters);
// A path as a message shows it: escaped like shownText(), never cut.
std::string shownPath(const std::filesystem::path& path);

// A format character (Unicode general category Cf): one that changes the direction of the text
// around it (U+200E, U+200F, U+061C, U+202A to U+202E, U+2066 to U+2069) or shows as nothing
// (U+200B to U+200D, U+2060, U+FEFF ...). shownText() writes them as \xHH.
bool isFormatCharacter(std::uint32_t codePoint);
// The UTF-8 bytes of the first format character in `text`; empty when it holds none.
std::string_view firstFormatCharacter(std::string_view text);

// What the system refused on a file: "<what> <path>: <the system's reason>".
[[noreturn]] void throwFileFailure(std::string_view what, const std::filesystem::path& path,
                                   int err);

// Characters of a UTF-8 text (a byte that is not part of a UTF-8 sequence counts as one).
std::size_t characterCount(std::string_view text);

}  // namespace orr
