// The one way every comma-style file of a data set is read: a format names its record type and
// its number of fields, and turns one record of the comma reader into a record with one set of
// checks (plot, species and product codes against the parameters). The same format writes the
// record, so a file reads back exactly as its step wrote it.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "core/CommaReader.h"
#include "core/Parameters.h"
#include "core/Step.h"

namespace orr::files {

// The ranges a record's codes are checked against.
struct Limits {
    std::int32_t maxPlots = 0;
    int maxSpec = 0;
    int maxProd = 0;
    static Limits of(const ParamRecord& p) { return {p.MaxPlots, p.MaxSpec, p.MaxProd}; }
};

// Reads the records of a file of format `Format` one at a time, streaming through the file.
// Every check that fails throws InputError naming the file, the record, the field and the text.
template <class Format>
class RecordReader {
  public:
    using Record = typename Format::Record;
    RecordReader(const std::filesystem::path& file, const Limits& limits)
        : in_(file), limits_(limits) {}
    // False once the file holds no further record.
    bool next(Record& r) {
        if (!in_.next(Format::kFields)) return false;
        Format::parse(in_, limits_, r);
        return true;
    }
    // Passes over the records that follow whose line is the first field of the record last read
    // (a plot's number, as it was written), its comma and one plain number: the rest of a plot's
    // run of records, without converting them (CommaReader::skipPlainRecords); returns how many.
    long skipSameFirstField() { return in_.skipPlainRecords(firstFieldAndComma()); }
    // The same, appending the last field of each as a number to `values`.
    long takeSameFirstField(std::vector<double>& values) {
        return in_.takePlainRecords(firstFieldAndComma(), values);
    }
    // The comma reader, for the record number and for further checks of the caller.
    const CommaReader& reader() const { return in_; }

  private:
    std::string_view firstFieldAndComma() {
        lead_.assign(in_.text(0));
        lead_ += ',';
        return lead_;
    }

    CommaReader in_;
    Limits limits_;
    std::string lead_;
};

// Calls use(record) for every record of the file, in file order.
template <class Format, class Use>
void forEachRecord(const std::filesystem::path& file, const Limits& limits, Use&& use) {
    RecordReader<Format> in(file, limits);
    typename Format::Record r{};
    while (in.next(r)) use(std::as_const(r));
}

// The same, for a file that may hold millions of records: every kRecordsBetweenReports records,
// and once more at the end, `onBytes(bytes read so far)` is called; it may throw (a cancel), which
// ends the reading.
inline constexpr long kRecordsBetweenReports = 1 << 16;
template <class Format, class Use, class OnBytes>
void forEachRecord(const std::filesystem::path& file, const Limits& limits, Use&& use,
                   OnBytes&& onBytes) {
    RecordReader<Format> in(file, limits);
    typename Format::Record r{};
    long records = 0;
    while (in.next(r)) {
        use(std::as_const(r));
        if (++records % kRecordsBetweenReports == 0) onBytes(in.reader().bytesRead());
    }
    onBytes(in.reader().bytesRead());
}

// A step's reading of its input files one after the other, told to the host as progress over
// their bytes in all; a cancel stops it at the next report (StepCancelled).
class ReadingProgress {
  public:
    ReadingProgress(StepHost& host, std::uintmax_t totalBytes) : host_(host), total_(totalBytes) {}
    // `alongside`, when given, counts the bytes of a file read at the same time on another thread:
    // they are shown with this file's.
    template <class Format, class Use>
    void forEach(const std::filesystem::path& file, const Limits& limits, Use&& use,
                 const std::atomic<std::uintmax_t>* alongside = nullptr) {
        std::uintmax_t read = 0;
        forEachRecord<Format>(file, limits, use, [&](std::uintmax_t bytes) {
            read = bytes;
            report(bytes + (alongside ? alongside->load() : 0));
        });
        before_ += read;
    }
    // The progress with `bytes` of files being read beside those read to their end; a cancel
    // stops it (StepCancelled).
    void report(std::uintmax_t bytes) {
        stopIfCancelled(host_);
        host_.progress(before_ + bytes, total_);
    }
    // The bytes of a file read to its end on another thread.
    void readElsewhere(std::uintmax_t bytes) {
        before_ += bytes;
        host_.progress(before_, total_);
    }

  private:
    StepHost& host_;
    std::uintmax_t total_;
    std::uintmax_t before_ = 0;  // bytes of the files read to their end
};

// Room for the records of a file, taken at once rather than by doubling, which takes fresh
// memory at every step (dearer than the copies): as many records as the file can hold (a record
// takes at least two bytes a field), each kept as a `Kept`, when that room is not too large;
// 0 when it is, or when the file's size is unknown. The pages the records do not fill are never
// touched.
template <class Format, class Kept = typename Format::Record>
std::size_t recordRoom(const std::filesystem::path& file) {
    constexpr std::uintmax_t kShortestRecord = 2 * Format::kFields;
    constexpr std::uintmax_t kLargestRoom = std::uintmax_t{64} << 20;  // bytes
    std::error_code unknown;
    const std::uintmax_t records = std::filesystem::file_size(file, unknown) / kShortestRecord;
    if (unknown || records > kLargestRoom / sizeof(Kept)) return 0;
    return static_cast<std::size_t>(records);
}

// Every record of the file, in file order.
template <class Format>
std::vector<typename Format::Record> readAll(const std::filesystem::path& file,
                                             const Limits& limits) {
    std::vector<typename Format::Record> all;
    all.reserve(recordRoom<Format>(file));
    forEachRecord<Format>(file, limits, [&](const auto& r) { all.push_back(r); });
    return all;
}

}  // namespace orr::files
