// Reading a comma file that starts with a header line of its field names, as the files step 9
// writes for spreadsheets and R: the header is checked, then every record is read with the
// format's own checks.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/CommaReader.h"
#include "files/RecordFile.h"

namespace orr::files {

// An optional number: nullopt for an empty field.
std::optional<double> optionalNumber(const CommaReader& in, int i, std::string_view name);

// Throws InputError naming the file and field when the record read is not `header`.
void checkHeader(const CommaReader& in, std::string_view header);
[[noreturn]] void noHeader(const std::filesystem::path& file, std::string_view header);

// Every record of the file after its header, in file order. Throws InputError when the file has
// no header, when the header differs, and for a record the format refuses.
template <class Format>
std::vector<typename Format::Record> readWithHeader(const std::filesystem::path& file,
                                                    const Limits& limits) {
    CommaReader in(file);
    if (!in.next(Format::kFields)) noHeader(file, Format::kHeader);
    checkHeader(in, Format::kHeader);
    std::vector<typename Format::Record> all;
    typename Format::Record r{};
    while (in.next(Format::kFields)) {
        Format::parse(in, limits, r);
        all.push_back(r);
    }
    return all;
}

}  // namespace orr::files
