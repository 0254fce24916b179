#include "core/CommaReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <system_error>

#include "core/FileReads.h"
#include "core/InputError.h"
#include "core/NumberText.h"
#include "core/Step.h"
#include "core/Warnings.h"

namespace orr {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}
bool isDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Digits of a plain decimal ("12", "-3.75") up to which both the digits as a whole number and
// the power of ten are exact doubles, so that one division gives the correctly rounded value,
// the same as parseNumber gives.
constexpr std::size_t kMostPlainDigits = 15;
// The value of a field that is not a plain decimal: no number read from a file is NaN.
constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();

// What scanNumber found: where the number's characters end, and its value when they are a plain
// decimal of at most 15 digits, "-" allowed in front (NaN otherwise).
struct Scanned {
    std::size_t end;
    double value;
};

// Passes over the digits, the point and the digits after it from d[p] on, converting as it goes.
inline Scanned scanNumber(const char* d, std::size_t p, std::size_t end) {
    const bool negative = p < end && d[p] == '-';
    if (negative) ++p;
    std::uint64_t digits = 0;
    const std::size_t wholeStart = p;
    while (p < end && isDigit(d[p])) digits = digits * 10 + static_cast<unsigned>(d[p++] - '0');
    const std::size_t before = p - wholeStart;
    std::size_t after = 0;
    bool point = false;
    if (p < end && d[p] == '.') {
        point = true;
        const std::size_t fractionStart = ++p;
        while (p < end && isDigit(d[p])) digits = digits * 10 + static_cast<unsigned>(d[p++] - '0');
        after = p - fractionStart;
    }
    if (before == 0 || (point && after == 0) || before + after > kMostPlainDigits)
        return {p, kUnknown};
    const double whole = static_cast<double>(digits);
    const double magnitude = after == 0 ? whole : whole / kPowersOfTen[after];
    // -0 reads as 0: adding 0 turns -0 into 0 and leaves every other value as it is.
    return {p, (negative ? -magnitude : magnitude) + 0.0};
}

// Where the plain decimal that scanNumber would read from d[p] on ends, or kNoPlainNumber when its
// characters are not one; its value is not worked out.
constexpr std::size_t kNoPlainNumber = std::numeric_limits<std::size_t>::max();
inline std::size_t plainNumberEnd(const char* d, std::size_t p, std::size_t end) {
    if (p < end && d[p] == '-') ++p;
    const std::size_t wholeStart = p;
    while (p < end && isDigit(d[p])) ++p;
    const std::size_t before = p - wholeStart;
    std::size_t after = 0;
    if (p < end && d[p] == '.') {
        const std::size_t fractionStart = ++p;
        while (p < end && isDigit(d[p])) ++p;
        after = p - fractionStart;
        if (after == 0) return kNoPlainNumber;
    }
    if (before == 0 || before + after > kMostPlainDigits) return kNoPlainNumber;
    return p;
}

// Asked at every refill of a reader's buffer: the stop of the whole program (Ctrl-C).
std::atomic<bool (*)()> stopCheck{nullptr};

// Throws InputError naming the file and its kind unless it is a regular file.
void refuseUnlessRegular(const std::filesystem::path& file, mode_t mode) {
    if (S_ISREG(mode)) return;
    if (S_ISDIR(mode)) throw InputError::file(file, "is a directory, not a file");
    const char* kind = S_ISFIFO(mode)                   ? "a FIFO (named pipe)"
                       : S_ISSOCK(mode)                 ? "a socket"
                       : S_ISCHR(mode) || S_ISBLK(mode) ? "a device"
                                                        : "not a regular file";
    throw InputError::file(
        file, std::string("is ") + kind + ", not a regular file; only a file on the disk is read");
}

}  // namespace

CommaReader::CommaReader(const std::filesystem::path& file, std::size_t bufferBytes) : file_(file) {
    // Only a regular file is read: a FIFO or a device would keep the run waiting (with its data
    // set locked) or feed it without end. The kind is asked before the file is opened, and asked
    // again of what was opened (without waiting for a writer), in case it changed in between.
    struct stat info {};
    if (::stat(file.c_str(), &info) == 0) refuseUnlessRegular(file, info.st_mode);
    fd_ = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        throw InputError::file(file, std::string("cannot be opened: ") + std::strerror(errno));
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int err = errno;
        const bool known = ::fstat(fd_, &info) == 0;
        ::close(fd_);
        if (!known)
            throw InputError::file(file, std::string("cannot be read: ") + std::strerror(err));
        refuseUnlessRegular(file, info.st_mode);
    }
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    if (info.st_size > 0) total_ = static_cast<std::uintmax_t>(info.st_size);
    watched_ = std::make_unique<ReadReport>(file);
    if (!watched_->watched()) watched_.reset();
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    capacity_ = std::max<std::size_t>(bufferBytes, 16);
    buffer_.reset(new char[capacity_]);
    data_ = buffer_.get();
    try {
        while (end_ < 3 && refill()) {
        }
    } catch (...) {
        ::close(fd_);
        throw;
    }
    // A UTF-8 byte-order mark carries no field.
    if (end_ >= 3 && std::memcmp(buffer_.get(), "\xEF\xBB\xBF", 3) == 0) pos_ = 3;
}

CommaReader::CommaReader(std::string text, std::filesystem::path file)
    : file_(std::move(file)), text_(std::move(text)) {
    data_ = text_.data();
    end_ = capacity_ = text_.size();
    total_ = text_.size();
    atEnd_ = true;
    if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;
}

CommaReader::~CommaReader() {
    warnEmptyFields();
    if (fd_ >= 0) ::close(fd_);
}

void CommaReader::setStopCheck(bool (*check)()) {
    stopCheck.store(check);
}

// The record that starts at pos_ fills the buffer: the field it was in the middle of, when that
// is longer than any real field, or a record longer than any real record, is refused.
void CommaReader::refuseLongRecord() const {
    const char* const d = data_;
    // The field in progress starts after the last separator; the fields before it are counted
    // as the splitting counts them (a line end ends a field, blank lines carry none).
    std::size_t fieldStart = pos_;
    int field = firstFieldAtPos_;
    bool inField = false;
    for (std::size_t p = pos_; p < end_; ++p) {
        const char c = d[p];
        if (c == ',' || (isLineEnd(c) && inField)) {
            ++field;
            inField = false;
            fieldStart = p + 1;
        } else if (isLineEnd(c) || (!inField && isBlank(c))) {
            fieldStart = p + 1;
        } else {
            inField = true;
        }
    }
    const std::string_view text(d + fieldStart, end_ - fieldStart);
    if (text.size() > kMostFieldBytes || capacity_ >= kMostRecordBytes) {
        throw InputError::at(file_, record_ + 1, field, "", text,
                             "runs on for more than " + std::to_string(kMostFieldBytes) +
                                 " bytes without its field ending (or its line, or its record), "
                                 "longer than any field of a real file");
    }
}

bool CommaReader::refill() {
    if (atEnd_) return false;
    if (const auto check = stopCheck.load(); check && check()) throw StepCancelled();
    char* data = buffer_.get();
    if (pos_ == 0 && end_ == capacity_) {
        refuseLongRecord();
        // One record fills the whole buffer: it grows to hold the record.
        std::unique_ptr<char[]> larger(new char[2 * capacity_]);
        std::memcpy(larger.get(), data, end_);
        buffer_ = std::move(larger);
        capacity_ *= 2;
        data = buffer_.get();
        data_ = data;
    } else if (pos_ > 0) {
        std::memmove(data, data + pos_, end_ - pos_);
        consumed_ += pos_;
        end_ -= pos_;
        pos_ = 0;
    }
    for (;;) {
        const ssize_t n = ::read(fd_, data + end_, capacity_ - end_);
        if (n > 0) {
            if (watched_) watched_->bytes(data + end_, static_cast<std::size_t>(n));
            end_ += static_cast<std::size_t>(n);
            return true;
        }
        if (n == 0) {
            atEnd_ = true;
            if (watched_) watched_->end();
            return false;
        }
        if (errno != EINTR)
            throw InputError::file(file_, std::string("cannot be read: ") + std::strerror(errno));
    }
}

// One field into `slot`: the text up to the next comma or line end, blanks around it removed,
// quotes stripped, and its value when it is a plain decimal number. A comma directly followed by
// a line end or the end of the file leaves one empty field; blank lines carry none. The position
// is kept in a local and stored once, as this runs for every field of every file.
CommaReader::Take CommaReader::nextField(std::size_t slot) {
    const char* const d = data_;
    const std::size_t end = end_;
    std::size_t p = pos_;
    for (;;) {
        while (p < end && isBlank(d[p])) ++p;
        if (p >= end) {
            pos_ = p;
            if (!atEnd_) return Take::NeedMore;
            if (!afterComma_) return Take::End;
            afterComma_ = false;
            fields_[slot] = {};
            values_[slot] = kUnknown;
            return Take::Field;
        }
        const char c = d[p];
        if (isLineEnd(c)) {
            if (afterComma_) {
                pos_ = p;
                afterComma_ = false;
                fields_[slot] = {};
                values_[slot] = kUnknown;
                return Take::Field;
            }
            ++p;
            if (c == '\r' && p < end && d[p] == '\n') ++p;
            continue;
        }
        break;
    }
    quoteFault_ = QuoteFault::None;
    double value = kUnknown;
    if (d[p] == '"') {
        // A quoted field ends at its closing quote, which must stand on the same line; only
        // blanks may follow it before the next separator.
        const std::string_view rest(d + p + 1, end - p - 1);
        std::size_t lineEnd = rest.find_first_of("\r\n");
        if (lineEnd == std::string_view::npos) {
            if (!atEnd_) return Take::NeedMore;
            lineEnd = rest.size();
        }
        const std::size_t close = rest.substr(0, lineEnd).find('"');
        if (close == std::string_view::npos) {
            quoteFault_ = QuoteFault::Unclosed;
            fields_[slot] = rest.substr(0, lineEnd);
            p += 1 + lineEnd;
        } else {
            fields_[slot] = rest.substr(0, close);
            p += close + 2;
            const std::size_t after = p;
            while (p < end && d[p] != ',' && !isLineEnd(d[p])) ++p;
            const std::string_view trailing = trim(std::string_view(d + after, p - after));
            if (!trailing.empty()) {
                quoteFault_ = QuoteFault::TextAfter;
                textAfterQuote_ = trailing;
            }
        }
    } else {
        // A plain decimal is converted while its digits are passed over; anything else ("+3",
        // "1e3", "12 ", more than 15 digits) is left to parseNumber when number() asks for it.
        // (takeRecord's quick way converts a plain decimal with blanks around it.)
        const std::size_t start = p;
        const Scanned scanned = scanNumber(d, p, end);
        p = scanned.end;
        if (p < end ? (d[p] == ',' || isLineEnd(d[p])) : atEnd_) {
            fields_[slot] = std::string_view(d + start, p - start);
            value = scanned.value;
        } else {
            while (p < end && d[p] != ',' && !isLineEnd(d[p])) ++p;
            if (p >= end && !atEnd_) return Take::NeedMore;
            fields_[slot] = trim(std::string_view(d + start, p - start));
        }
    }
    // Whether a comma follows can only be told once the byte after the field is in.
    if (p >= end && !atEnd_) return Take::NeedMore;
    values_[slot] = value;
    afterComma_ = p < end && d[p] == ',';
    pos_ = afterComma_ ? p + 1 : p;
    return Take::Field;
}

void CommaReader::refuseLongField(int field) const {
    const std::string_view text = fields_[static_cast<std::size_t>(field - 1)];
    if (text.size() <= kMostFieldBytes) return;
    throw InputError::at(file_, record_ + 1, field, "", text,
                         "is " + std::to_string(text.size()) + " bytes long, longer than any " +
                             "field of a real file (at most " + std::to_string(kMostFieldBytes) +
                             ")");
}

CommaReader::Take CommaReader::takeRecord(int fields) {
    const std::size_t start = pos_;
    const bool startAfterComma = afterComma_;
    const auto restore = [&] {
        pos_ = start;
        afterComma_ = startAfterComma;
        return Take::NeedMore;
    };
    const auto slots = static_cast<std::size_t>(fields) + 1;
    if (fields_.size() < slots) {
        fields_.resize(slots);
        values_.resize(slots);
    }
    // Most fields are plain decimals at the position (blanks around them aside), ended by a comma
    // or a line end that is already in the buffer: taken here without the general way of
    // nextField, the position in locals until the first field that needs it.
    int i = 0;
    {
        const char* const d = data_;
        const std::size_t end = end_;
        std::string_view* const texts = fields_.data();
        double* const values = values_.data();
        std::size_t p = pos_;
        bool comma = afterComma_;
        for (; i < fields; ++i) {
            std::size_t s = p;
            while (s < end && isBlank(d[s])) ++s;
            if (s >= end || !(isDigit(d[s]) || d[s] == '-')) break;
            const Scanned scanned = scanNumber(d, s, end);
            std::size_t q = scanned.end;
            while (q < end && isBlank(d[q])) ++q;
            if (q >= end || scanned.value != scanned.value || !(d[q] == ',' || isLineEnd(d[q])))
                break;
            const auto at = static_cast<std::size_t>(i);
            texts[at] = std::string_view(d + s, scanned.end - s);
            values[at] = scanned.value;
            comma = d[q] == ',';
            p = comma ? q + 1 : q;
        }
        pos_ = p;
        afterComma_ = comma;
    }
    for (; i < fields; ++i) {
        const Take took = nextField(static_cast<std::size_t>(i));
        if (took == Take::NeedMore) return restore();
        if (took == Take::End) {
            if (i == 0) return Take::End;
            record_ += 1;
            throw InputError::at(file_, record_, i + 1, "", "end of file",
                                 "was found where the record goes on: the record is cut short");
        }
        if (quoteFault_ != QuoteFault::None) {
            record_ += 1;
            failQuote(i + 1, fields_[static_cast<std::size_t>(i)]);
        }
        refuseLongField(i + 1);
    }
    // The last field ended in a comma: another field stands on the same line. Read as the first
    // field of the next record it would shift every field after it, so it is refused.
    if (afterComma_) {
        if (nextField(static_cast<std::size_t>(fields)) == Take::NeedMore) return restore();
        record_ += 1;
        throw InputError::at(file_, record_, fields + 1, "",
                             fields_[static_cast<std::size_t>(fields)],
                             "stands after the last of the record's " + std::to_string(fields) +
                                 " fields, on the same line; a record ends its line");
    }
    record_ += 1;
    count_ = static_cast<std::size_t>(fields);
    return Take::Field;
}

bool CommaReader::next(int fields) {
    count_ = 0;
    for (;;) {
        // Blanks and line ends before a record carry no field: they are passed over for good.
        if (!afterComma_) {
            const char* const d = data_;
            while (pos_ < end_ && (isBlank(d[pos_]) || isLineEnd(d[pos_]))) ++pos_;
            if (pos_ >= end_ && !atEnd_) {
                refill();
                continue;
            }
        }
        switch (takeRecord(fields)) {
            case Take::Field:
                return true;
            case Take::End:
                warnEmptyFields();  // the file is read: its warning comes in reading order
                return false;
            case Take::NeedMore:
                refill();
                break;
        }
    }
}

long CommaReader::plainRecords(std::string_view lead, std::vector<double>* values) {
    if (afterComma_ || lead.empty()) return 0;
    const char* const d = data_;
    const std::size_t end = end_;
    std::size_t p = pos_;
    long taken = 0;
    // A lead of at most eight bytes (a plot number and its comma) is compared as one word.
    const bool word = lead.size() <= sizeof(std::uint64_t);
    std::uint64_t leadWord = 0;
    std::uint64_t leadMask = 0;
    if (word) {
        std::memcpy(&leadWord, lead.data(), lead.size());
        std::memset(&leadMask, 0xff, lead.size());
    }
    for (;;) {
        while (p < end && (isBlank(d[p]) || isLineEnd(d[p]))) ++p;
        pos_ = p;  // a record that is not taken is read by next() from here
        if (end - p <= lead.size()) break;
        if (word && end - p >= sizeof(std::uint64_t)) {
            std::uint64_t bytes = 0;
            std::memcpy(&bytes, d + p, sizeof bytes);
            if (((bytes ^ leadWord) & leadMask) != 0) break;
        } else if (std::memcmp(d + p, lead.data(), lead.size()) != 0) {
            break;
        }
        // A plain decimal ended by a line end that is in the buffer (a digit or a comma could
        // follow otherwise): converted as next() converts it, when its value is wanted.
        std::size_t q = 0;
        if (values) {
            const Scanned scanned = scanNumber(d, p + lead.size(), end);
            q = scanned.end;
            if (scanned.value != scanned.value || q >= end || !isLineEnd(d[q])) break;
            values->push_back(scanned.value);
        } else {
            q = plainNumberEnd(d, p + lead.size(), end);
            if (q == kNoPlainNumber || q >= end || !isLineEnd(d[q])) break;
        }
        p = q;
        ++taken;
    }
    record_ += taken;
    return taken;
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
    if (i < 0 || static_cast<std::size_t>(i) >= count_)
        throw std::out_of_range("CommaReader::text: no field " + std::to_string(i));
    return fields_[static_cast<std::size_t>(i)];
}

void CommaReader::fail(int i, std::string_view name, std::string_view problem) const {
    throw InputError::at(file_, record_, i + 1, name, text(i), problem);
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

double CommaReader::convert(int i, std::string_view name) const {
    const std::string_view field = text(i);
    if (field.empty()) {
        if (emptyFields_++ == 0) {
            firstEmptyRecord_ = record_;
            firstEmptyField_ = i + 1;
        }
        return 0;
    }
    auto value = parseNumber(field);
    if (!value) fail(i, name, "is not a number");
    return *value;
}

std::int16_t CommaReader::int16(int i, std::string_view name) const {
    auto value = toInt16(number(i, name));
    if (!value) fail(i, name, "is outside the whole numbers -32768 to 32767");
    return *value;
}

int CommaReader::intInRange(int i, std::string_view name, int lo, int hi) const {
    long long value = nearestWholeHalfEven(number(i, name));
    if (value < lo || value > hi) {
        fail(i, name,
             "is outside the allowed range " + std::to_string(lo) + " to " + std::to_string(hi));
    }
    return static_cast<int>(value);
}

long CommaReader::countRecords(const std::filesystem::path& file, int fields) {
    CommaReader reader(file);
    const auto slots = static_cast<std::size_t>(std::max(fields, 0)) + 1;
    reader.fields_.resize(slots);
    reader.values_.resize(slots);
    long count = 0;
    for (;;) {
        reader.record_ = count;  // for the message of a record that is too long
        for (int i = 0; i < fields; ++i) {
            for (;;) {
                const std::size_t start = reader.pos_;
                const bool afterComma = reader.afterComma_;
                const Take took = reader.nextField(static_cast<std::size_t>(i));
                if (took == Take::Field) break;
                if (took == Take::End) return count;
                reader.pos_ = start;
                reader.afterComma_ = afterComma;
                reader.firstFieldAtPos_ = i + 1;
                reader.refill();
            }
        }
        ++count;
    }
}

}  // namespace orr
