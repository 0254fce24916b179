// A seam in the opening of input files: while a watch is set, every file a CommaReader opens, on
// any thread, is reported to it with the bytes as they are read, so that a step's runner can take
// each file's SHA-256 in the same pass as the step reads it, and tests can see which files a step
// opens. The files written through an OutputSet are reported the same way, with the bytes as
// they are written and their end once the file is in place under its final name.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <vector>

namespace orr {

// The bytes of one opened file, in order, then how the reading ended.
class ReadSink {
  public:
    virtual void bytes(const char* data, std::size_t size) = 0;
    // `whole`: the file was read to its end; otherwise the reader stopped before it.
    virtual void finished(bool whole) = 0;
    virtual ~ReadSink() = default;
};

class ReadWatch {
  public:
    // Called on the thread that opens the file; may return nullptr to ignore the file.
    virtual std::unique_ptr<ReadSink> opened(const std::filesystem::path& file) = 0;
    // Called when an output file is started, with its final name; its sink hears the bytes in
    // the order of the file and finished(true) once the file is committed under that name.
    virtual std::unique_ptr<ReadSink> writing(const std::filesystem::path& /*finalPath*/) {
        return nullptr;
    }
    virtual ~ReadWatch() = default;
};

// Sets a watch for its lifetime; watches may be set one inside another (all of them see every
// file).
class ScopedReadWatch {
  public:
    explicit ScopedReadWatch(ReadWatch& watch);
    ~ScopedReadWatch();
    ScopedReadWatch(const ScopedReadWatch&) = delete;
    ScopedReadWatch& operator=(const ScopedReadWatch&) = delete;

  private:
    ReadWatch& watch_;
};

// What a reader tells the watches about one file it opened (or a writer about one it writes).
class ReadReport {
  public:
    enum class Kind { Read, Written };
    // Asks every watch set now.
    explicit ReadReport(const std::filesystem::path& file, Kind kind = Kind::Read);
    ~ReadReport();  // a file not read to its end is reported as such
    ReadReport(const ReadReport&) = delete;
    ReadReport& operator=(const ReadReport&) = delete;

    bool watched() const { return !sinks_.empty(); }
    void bytes(const char* data, std::size_t size);
    void end();  // the file was read to its end

  private:
    std::vector<std::unique_ptr<ReadSink>> sinks_;
    bool ended_ = false;
};

}  // namespace orr
