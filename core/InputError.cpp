#include "core/InputError.h"

namespace orr {

InputError InputError::at(const std::filesystem::path& file, long record, int field,
                          std::string_view fieldName, std::string_view found,
                          std::string_view problem) {
    std::string text = "File " + file.string() + ", record " + std::to_string(record) + ", field " +
                       std::to_string(field);
    if (!fieldName.empty()) text += " (" + std::string(fieldName) + ")";
    text += ": \"" + std::string(found) + "\" " + std::string(problem) + ".";
    return InputError(text);
}

InputError InputError::file(const std::filesystem::path& file, std::string_view problem) {
    return InputError("File " + file.string() + ": " + std::string(problem) + ".");
}

}  // namespace orr
