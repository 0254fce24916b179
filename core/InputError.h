// The one kind of error that a reader raises when it meets input it cannot use. Its text is the
// whole message shown to the user: it names the file, the record, the field and what was found.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orr {

class InputError : public std::runtime_error {
  public:
    explicit InputError(const std::string& message) : std::runtime_error(message) {}

    // "File <path>, record <n>, field <i> (<name>): "<text>" <problem>."
    static InputError at(const std::filesystem::path& file, long record, int field,
                         std::string_view fieldName, std::string_view found,
                         std::string_view problem);
    // "File <path>: <problem>."
    static InputError file(const std::filesystem::path& file, std::string_view problem);
};

}  // namespace orr
