#include "core/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "core/InputError.h"

namespace orr {

namespace {

[[noreturn]] void refuseLockFile(const std::filesystem::path& path, std::string_view what) {
    throw std::runtime_error("The lock file " + shownPath(path) + " is " + std::string(what) +
                             ", not a lock file of this program; it is left as it is and "
                             "nothing was written through it. Remove it and start again.");
}

// What the file holds, at most a few kilobytes; empty when it cannot be read.
std::string readHolder(int fd) {
    std::string text;
    char buf[512];
    for (off_t at = 0; text.size() < 4096;) {
        const ssize_t n = ::pread(fd, buf, sizeof buf, at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buf, static_cast<std::size_t>(n));
        at += n;
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

// Writes who holds the lock, for the message of whoever is refused. The lock does not depend on
// it: when it cannot be written (a full disk), the lock holds all the same and the refused run's
// message only cannot say who holds it, so the failure is not raised.
void writeHolder(int fd, std::string_view holder) {
    if (::ftruncate(fd, 0) != 0) return;
    std::string text(holder);
    text += '\n';
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n =
            ::pwrite(fd, text.data() + done, text.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // No half a description: an empty file says only that the lock is held.
            const int truncated = ::ftruncate(fd, 0);
            (void)truncated;
            return;
        }
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

std::optional<FileLock> FileLock::tryLock(const std::filesystem::path& path,
                                          std::string_view holder, std::string& heldBy) {
    heldBy.clear();
    // The holder removes the file before it lets the lock go; a lock taken on a file that has
    // been removed (or replaced) meanwhile guards nothing, so the file is opened again.
    for (int attempt = 0;; ++attempt) {
        // A link at the lock's name is never followed (it would let the lock write into any
        // file the user can write), and only a regular file is a lock file.
        const int fd =
            ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
        if (fd < 0 && errno == ELOOP) refuseLockFile(path, "a symbolic link");
        if (fd < 0) throwFileFailure("Cannot make the lock file", path, errno);
        struct stat kind {};
        if (::fstat(fd, &kind) != 0 || !S_ISREG(kind.st_mode)) {
            ::close(fd);
            refuseLockFile(path, "not a regular file");
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            if (err == EWOULDBLOCK || err == EINTR) {
                heldBy = readHolder(fd);
                ::close(fd);
                return std::nullopt;
            }
            ::close(fd);
            throwFileFailure("Cannot lock", path, err);
        }
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
            opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
            writeHolder(fd, holder);
            return FileLock(path, fd);
        }
        ::close(fd);
        if (attempt == 100) throwFileFailure("Cannot lock", path, EAGAIN);
    }
}

FileLock::FileLock(FileLock&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        release();
        path_ = std::move(other.path_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

FileLock::~FileLock() {
    release();
}

void FileLock::release() {
    if (fd_ < 0) return;
    ::unlink(path_.c_str());
    ::close(fd_);  // closing the last descriptor of the open file lets the lock go
    fd_ = -1;
}

}  // namespace orr
