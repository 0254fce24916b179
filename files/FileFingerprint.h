// What a run read or wrote, told apart from any other file: its name, its size and its SHA-256.
// The digest comes from OpenSSL's libcrypto, which uses the processor's SHA instructions where
// there are any, so a LiDAR file of tens of megabytes costs a few hundredths of a second.
#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "core/FileReads.h"
#include "core/RunHistory.h"

namespace orr::files {

using orr::FileFingerprint;

// Reads the file through once. Throws std::runtime_error naming the file and the system's reason
// when it cannot be read.
FileFingerprint fingerprint(const std::filesystem::path& file);

// The fingerprints of the files read and written while it is set as a watch (ScopedReadWatch),
// each taken from the bytes as the reader streams them or the writer writes them, so that no file
// is read a second time for its digest. Files may be read and written on any thread.
//
// A file read whole is also remembered for the rest of the process with what the file system
// says of it (device, inode, size, modification and change times): a later step that opens the
// file while all of these are unchanged takes the digest from there instead of hashing the bytes
// again. A file changed less than two seconds before it was hashed is not remembered, as a change
// within the same tick of the file system's clock could leave all of these as they were.
class ReadFingerprints : public ReadWatch {
  public:
    std::unique_ptr<ReadSink> opened(const std::filesystem::path& file) override;
    std::unique_ptr<ReadSink> writing(const std::filesystem::path& finalPath) override;
    // The fingerprint of `file` when it was read to its end while watched.
    std::optional<FileFingerprint> of(const std::filesystem::path& file) const;
    // The same, or, for a file that was not read whole while watched, read through now.
    FileFingerprint ofOrRead(const std::filesystem::path& file) const;
    // The fingerprint of an output committed under `finalPath` while watched.
    std::optional<FileFingerprint> ofWritten(const std::filesystem::path& finalPath) const;
    // The same, or, for a file not written through an OutputSet while watched, read through now.
    FileFingerprint ofWrittenOrRead(const std::filesystem::path& finalPath) const;

  private:
    void add(const std::filesystem::path& file, FileFingerprint fingerprint, bool written);
    // The fingerprint of `file` in `files` (read_ or written_), under the lock.
    std::optional<FileFingerprint> found(
        const std::map<std::filesystem::path, FileFingerprint>& files,
        const std::filesystem::path& file) const;
    mutable std::mutex lock_;
    std::map<std::filesystem::path, FileFingerprint> read_;
    std::map<std::filesystem::path, FileFingerprint> written_;
};

// Forgets the fingerprints remembered across steps (for tests).
void forgetRememberedFingerprints();
// Only for tests, which cannot set a file's change time into the past: how long before its
// hashing a file must have last changed to be remembered (two seconds unless set).
void setSettledAfterForTests(std::chrono::nanoseconds settled);

}  // namespace orr::files
