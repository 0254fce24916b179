// An exclusive lock held through a lock file, for as long as the object lives. The lock is the
// system's lock on the open file (flock), so a process that ends, however it ends, holds it no
// longer; a second lock of the same file in the same process is refused like one from another
// process. The holder writes who it is into the file, for the message of whoever is refused.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orr {

class FileLock {
  public:
    // Takes the lock at `path`, making the file when it is missing, and writes `holder` into it
    // (as far as the disk lets it: the lock does not depend on it). When the lock is held
    // already, returns nullopt and sets `heldBy` to what its holder wrote (empty when it has not
    // written it). Never waits. A symbolic link or anything but a regular file at `path` is
    // never followed nor written: it throws std::runtime_error saying so. Throws the same, naming
    // the path and the system's reason, when the file cannot be made or locked.
    static std::optional<FileLock> tryLock(const std::filesystem::path& path,
                                           std::string_view holder, std::string& heldBy);

    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    // Removes the lock file, then lets the lock go.
    ~FileLock();

    const std::filesystem::path& path() const { return path_; }

  private:
    FileLock(std::filesystem::path path, int fd) : path_(std::move(path)), fd_(fd) {}
    void release();

    std::filesystem::path path_;
    int fd_ = -1;
};

}  // namespace orr
