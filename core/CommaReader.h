// Reader of the comma style shared by every input and intermediate file: fields are separated by
// commas or line ends (CR LF or LF alike), blanks around a field are ignored, double quotes are
// stripped, blank lines carry no fields, and a record is a fixed number of fields that may run
// over several lines. A record ends its line: a further field after its last one on the same line
// (a record with one field too many, or a trailing comma) is refused rather than read as the
// start of the next record, which would shift every later field. A quoted field ends at its
// closing quote on the same line.
//
// A file is streamed through one buffer of a quarter of a mebibyte that is used again and again, so
// the memory a reader needs does not grow with the file (only a single record longer than the
// buffer makes it grow, to hold that record). A field that is a plain decimal number is converted
// while it is split off, in the same pass over its bytes; number() then only hands the value over.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orr {

class ReadReport;

class CommaReader {
  public:
    // Bytes read from the file at a time.
    static constexpr std::size_t kBufferBytes = std::size_t{1} << 18;
    // No field of a real file comes near this; a longer one (or a line or record that does not
    // end within it) is refused, so that the reader's memory stays bounded whatever the file.
    static constexpr std::size_t kMostFieldBytes = std::size_t{1} << 20;
    // The buffer grows to hold a record of several long fields, never beyond this.
    static constexpr std::size_t kMostRecordBytes = std::size_t{64} << 20;

    // Called at every refill of the buffer (each 256 KiB), in every reader of the process: when
    // it returns true the reading stops with StepCancelled. The command line sets it to its
    // Ctrl-C; nullptr: never.
    static void setStopCheck(bool (*check)());

    // Opens the file; throws InputError naming the file when it cannot be read (missing, no
    // permission) or is not a regular file (a directory, a FIFO, a device, a socket: refused
    // before it is opened for reading). A read error later on throws the same way from next(),
    // and so does a field longer than kMostFieldBytes, naming the record and the field.
    // `bufferBytes` is only smaller in tests, to put records across the buffer's end.
    explicit CommaReader(const std::filesystem::path& file, std::size_t bufferBytes = kBufferBytes);
    ~CommaReader();
    CommaReader(const CommaReader&) = delete;
    CommaReader& operator=(const CommaReader&) = delete;
    // Reads from text already in memory; `file` is only used in messages.
    CommaReader(std::string text, std::filesystem::path file);

    // Reads the next record of `fields` fields. Returns false when the file holds no further
    // field. Throws InputError when the file ends inside the record (a record cut short), when
    // a further field follows its last field on the same line, and for a quote that is not
    // closed on its line or is followed by more text before the next separator.
    bool next(int fields);

    // Passes over the records that follow as long as each one's line is `lead` (the exact bytes
    // of its first fields and the comma after them) followed by one plain decimal number (digits,
    // at most one point with digits after it, a minus in front, at most 15 digits) and the line
    // end, with nothing else on it: records that next() would split into the same first fields
    // and read without a fault or a warning. They count as read (record() goes on) but their
    // fields are not kept. Stops at the first record of any other form, and at the end of the
    // bytes in the buffer; next() reads on from there. Returns the records passed over.
    long skipPlainRecords(std::string_view lead) { return plainRecords(lead, nullptr); }
    // The same, appending the number of each record passed over to `values` (the value number()
    // gives for its last field).
    long takePlainRecords(std::string_view lead, std::vector<double>& values) {
        return plainRecords(lead, &values);
    }

    // 1-based number of the record last read.
    long record() const { return record_; }
    // Bytes of the file read so far and in all, for progress.
    std::uintmax_t bytesRead() const { return consumed_ + pos_; }
    std::uintmax_t bytesTotal() const { return total_; }
    const std::filesystem::path& file() const { return file_; }

    // Field i (0-based) of the record last read, quotes and surrounding blanks removed.
    std::string_view text(int i) const;
    // Field i as a number; throws InputError naming the file, record, field and text when the
    // field is not a finite number. `name` is the field's name for the message. An empty field
    // reads as 0; the reader counts such fields and, when it goes, warns once for the file with
    // their number and the first record and field.
    double number(int i, std::string_view name) const {
        const auto at = static_cast<std::size_t>(i);
        if (at < count_) {
            const double value = values_[at];
            if (value == value) return value;  // NaN: not a plain decimal, see convert()
        }
        return convert(i, name);
    }
    // Field i as a 16-bit integer: the number rounded half to even; throws when it is not a
    // number or lies outside -32768..32767.
    std::int16_t int16(int i, std::string_view name) const;
    // Field i as a whole number in lo..hi (after rounding half to even); throws otherwise, with
    // a message that gives the allowed range.
    int intInRange(int i, std::string_view name, int lo, int hi) const;

    // Throws InputError for field i with the given problem (for checks made by the caller).
    [[noreturn]] void fail(int i, std::string_view name, std::string_view problem) const;

    // Counts the records of `fields` fields in a file without keeping them (a last, incomplete
    // group is not counted). Throws InputError when the file cannot be read.
    static long countRecords(const std::filesystem::path& file, int fields);

  private:
    // What was wrong with the quotes of the field last read.
    enum class QuoteFault { None, Unclosed, TextAfter };
    // What an attempt to take the next field found: a field, the end of the file, or the end of
    // the bytes in the buffer before the field could be told whole.
    enum class Take { Field, End, NeedMore };
    Take nextField(std::size_t slot);
    // Splits off the record of `fields` fields that starts at pos_; NeedMore leaves the reader as
    // it was before the call, so that the record can be split again once more bytes are in.
    Take takeRecord(int fields);
    // Moves the bytes from pos_ on to the front of the buffer and reads more after them (the
    // buffer grows only when a single record fills it). False at the end of the file.
    bool refill();
    // The record at pos_ fills the whole buffer: throws when it cannot be a real one.
    void refuseLongRecord() const;
    // Throws when field `field` (1-based) of the record being split is too long.
    void refuseLongField(int field) const;
    double convert(int i, std::string_view name) const;
    long plainRecords(std::string_view lead, std::vector<double>* values);
    [[noreturn]] void failQuote(int field, std::string_view text) const;
    void warnEmptyFields();

    std::filesystem::path file_;
    int fd_ = -1;
    // The watches of the files read (FileReads.h); null when none is set.
    std::unique_ptr<ReadReport> watched_;
    std::unique_ptr<char[]> buffer_;
    const char* data_ = nullptr;  // the buffer, or the text of a reader of text in memory
    std::size_t capacity_ = 0;
    std::size_t end_ = 0;          // bytes in the buffer
    std::size_t pos_ = 0;          // the next byte to split
    std::uintmax_t consumed_ = 0;  // bytes of the file before the buffer's first byte
    std::uintmax_t total_ = 0;
    bool atEnd_ = false;  // the buffer holds the file's last byte
    std::string text_;    // the whole text, for a reader of text in memory

    long record_ = 0;
    int firstFieldAtPos_ = 1;  // the number of the field that starts at pos_ (countRecords)
    bool afterComma_ = false;
    QuoteFault quoteFault_ = QuoteFault::None;
    std::string_view textAfterQuote_;
    // The fields of the record last read, and the value of each that is a plain decimal number
    // (NaN for any other).
    std::size_t count_ = 0;
    std::vector<std::string_view> fields_;
    std::vector<double> values_;
    // Empty fields read as 0: how many, and where the first was.
    mutable long emptyFields_ = 0;
    mutable long firstEmptyRecord_ = 0;
    mutable int firstEmptyField_ = 0;
    bool warned_ = false;
};

}  // namespace orr
