#include "core/CommaReader.h"

#include <algorithm>
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
    quoteFault_ = QuoteFault::None;
    if (data_[pos_] == '"') {
        // A quoted field ends at its closing quote, which must stand on the same line; only
        // blanks may follow it before the next separator.
        const std::string_view rest = std::string_view(data_).substr(pos_ + 1);
        const std::size_t lineEnd = std::min(rest.find_first_of("\r\n"), rest.size());
        const std::size_t close = rest.substr(0, lineEnd).find('"');
        if (close == std::string_view::npos) {
            quoteFault_ = QuoteFault::Unclosed;
            out = rest.substr(0, lineEnd);
            pos_ += 1 + lineEnd;
        } else {
            out = rest.substr(0, close);
            pos_ += close + 2;
            const std::size_t after = pos_;
            while (pos_ < end && data_[pos_] != ',' && !isLineEnd(data_[pos_])) ++pos_;
            const std::string_view trailing =
                trim(std::string_view(data_).substr(after, pos_ - after));
            if (!trailing.empty()) {
                quoteFault_ = QuoteFault::TextAfter;
                textAfterQuote_ = trailing;
            }
        }
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
            if (i == 0) {
                warnEmptyFields();  // the file is read: its warning comes in reading order
                return false;
            }
            ++record_;
            throw InputError::at(file_, record_, i + 1, "", "end of file",
                                 "was found where the record goes on: the record is cut short");
        }
        if (quoteFault_ != QuoteFault::None) {
            ++record_;
            failQuote(i + 1, field);
        }
        fields_.push_back(field);
    }
    ++record_;
    // The last field ended in a comma: another field stands on the same line. Read as the first
    // field of the next record it would shift every field after it, so it is refused.
    if (afterComma_) {
        nextField(field);
        throw InputError::at(file_, record_, fields + 1, "", field,
                             "stands after the last of the record's " + std::to_string(fields) +
                                 " fields, on the same line; a record ends its line");
    }
    return true;
}

void CommaReader::failQuote(int field, std::string_view text) const {
    if (quoteFault_ == QuoteFault::Unclosed) {
        throw InputError::at(file_, record_, field, "", text,
                             "starts with a quote that is not closed on its line");
    }
    throw InputError::at(
        file_, record_, field, "", text,
        "is followed by \"" + shownText(textAfterQuote_) + "\" after its closing quote");
}

std::string_view CommaReader::text(int i) const {
    return fields_.at(static_cast<std::size_t>(i));
}

void CommaReader::fail(int i, std::string_view name, std::string_view problem) const {
    throw InputError::at(file_, record_, i + 1, name, text(i), problem);
}

CommaReader::~CommaReader() {
    warnEmptyFields();
}

void CommaReader::warnEmptyFields() {
    if (emptyFields_ == 0 || warned_) return;
    warned_ = true;
    warn("empty fields", "File " + shownPath(file_) + ": " + std::to_string(emptyFields_) +
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
