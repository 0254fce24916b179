#include "core/CommaReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>

#include "core/InputError.h"
#include "core/NumberText.h"
#include "core/Warnings.h"

namespace orr {

namespace {

std::string readWholeFile(const std::filesystem::path& file) {
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec))
        throw InputError::file(file, "is a directory, not a file");
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) throw InputError::file(file, std::string("cannot be opened: ") + std::strerror(errno));
    std::string data;
    char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
    bool failed = std::ferror(f) != 0;
    int err = errno;
    std::fclose(f);
    if (failed) throw InputError::file(file, std::string("cannot be read: ") + std::strerror(err));
    return data;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace

CommaReader::CommaReader(const std::filesystem::path& file)
    : CommaReader(readWholeFile(file), file) {}

CommaReader::CommaReader(std::string text, std::filesystem::path file)
    : file_(std::move(file)), data_(std::move(text)) {
    // A UTF-8 byte-order mark carries no field.
    if (data_.size() >= 3 && data_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;
}

// One field: the text up to the next comma or line end, blanks around it removed, quotes
// stripped. A comma directly followed by a line end or the end of the file leaves one empty
// field; blank lines carry none.
bool CommaReader::nextField(std::string_view& out) {
    const std::size_t end = data_.size();
    for (;;) {
        while (pos_ < end && isBlank(data_[pos_])) ++pos_;
        if (pos_ >= end) {
            if (afterComma_) {
                afterComma_ = false;
                out = {};
                return true;
            }
            return false;
        }
        char c = data_[pos_];
        if (isLineEnd(c)) {
            if (afterComma_) {
                afterComma_ = false;
                out = {};
                return true;
            }
            ++pos_;
            if (c == '\r' && pos_ < end && data_[pos_] == '\n') ++pos_;
            continue;
        }
        break;
    }
    if (data_[pos_] == '"') {
        std::size_t close = data_.find('"', pos_ + 1);
        if (close == std::string::npos) close = end;
        out = std::string_view(data_).substr(pos_ + 1, close - pos_ - 1);
        pos_ = close < end ? close + 1 : end;
        // Anything between the closing quote and the next separator is not part of the field.
        while (pos_ < end && data_[pos_] != ',' && !isLineEnd(data_[pos_])) ++pos_;
    } else {
        std::size_t start = pos_;
        while (pos_ < end && data_[pos_] != ',' && !isLineEnd(data_[pos_])) ++pos_;
        out = trim(std::string_view(data_).substr(start, pos_ - start));
    }
    afterComma_ = pos_ < end && data_[pos_] == ',';
    if (afterComma_) ++pos_;
    return true;
}

bool CommaReader::next(int fields) {
    fields_.clear();
    std::string_view field;
    for (int i = 0; i < fields; ++i) {
        if (!nextField(field)) {
            if (i == 0) return false;
            ++record_;
            throw InputError::at(file_, record_, i + 1, "", "end of file",
                                 "was found where the record goes on: the record is cut short");
        }
        fields_.push_back(field);
    }
    ++record_;
    return true;
}

std::string_view CommaReader::text(int i) const {
    return fields_.at(static_cast<std::size_t>(i));
}

void CommaReader::fail(int i, std::string_view name, std::string_view problem) const {
    throw InputError::at(file_, record_, i + 1, name, text(i), problem);
}

CommaReader::~CommaReader() {
    if (emptyFields_ == 0) return;
    warn("empty fields", "File " + file_.string() + ": " + std::to_string(emptyFields_) +
                             (emptyFields_ == 1 ? " empty field" : " empty fields") +
                             " read as 0, the first in record " +
                             std::to_string(firstEmptyRecord_) + ", field " +
                             std::to_string(firstEmptyField_) + ".");
}

double CommaReader::number(int i, std::string_view name) const {
    if (text(i).empty()) {
        if (emptyFields_++ == 0) {
            firstEmptyRecord_ = record_;
            firstEmptyField_ = i + 1;
        }
        return 0;
    }
    auto value = parseNumber(text(i));
    if (!value) fail(i, name, "is not a number");
    return *value;
}

std::int16_t CommaReader::int16(int i, std::string_view name) const {
    auto value = toInt16(number(i, name));
    if (!value) fail(i, name, "is outside the whole numbers -32768 to 32767");
    return *value;
}

int CommaReader::intInRange(int i, std::string_view name, int lo, int hi) const {
    long long value = cintHalfEven(number(i, name));
    if (value < lo || value > hi) {
        fail(i, name,
             "is outside the allowed range " + std::to_string(lo) + " to " + std::to_string(hi));
    }
    return static_cast<int>(value);
}

long CommaReader::countRecords(const std::filesystem::path& file, int fields) {
    CommaReader reader(file);
    long count = 0;
    std::string_view field;
    for (;;) {
        for (int i = 0; i < fields; ++i) {
            if (!reader.nextField(field)) return count;
        }
        ++count;
    }
}

}  // namespace orr
