#include "files/HeaderedFile.h"

#include "core/InputError.h"

namespace orr::files {

std::optional<double> optionalNumber(const CommaReader& in, int i, std::string_view name) {
    if (in.text(i).empty()) return std::nullopt;
    return in.number(i, name);
}

void noHeader(const std::filesystem::path& file, std::string_view header) {
    throw InputError::file(file, "has no header line (" + std::string(header) + ")");
}

void checkHeader(const CommaReader& in, std::string_view header) {
    int i = 0;
    std::size_t start = 0;
    while (start <= header.size()) {
        std::size_t comma = header.find(',', start);
        if (comma == std::string_view::npos) comma = header.size();
        const std::string_view name = header.substr(start, comma - start);
        if (in.text(i) != name) in.fail(i, "header", "is not the field name " + std::string(name));
        ++i;
        start = comma + 1;
    }
}

}  // namespace orr::files
