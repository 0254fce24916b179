#include "core/OutputSet.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>
#include <stdexcept>
#include <system_error>

#include "core/RandomStreams.h"

namespace orr {

namespace {

constexpr std::size_t kSpillBytes = std::size_t{1} << 20;
constexpr std::string_view kTempMark = ".~";
constexpr std::string_view kTempEnd = ".tmp";
constexpr std::size_t kTempHexDigits = 16;

// A name no other run, thread or earlier temporary file uses: the process, a counter and the
// clock mixed together, with the random device when it answers.
std::string uniqueSuffix() {
    static std::atomic<std::uint64_t> counter{0};
    std::uint64_t x = static_cast<std::uint64_t>(::getpid()) << 32;
    x ^= counter.fetch_add(1) * 0x9e3779b97f4a7c15ULL;
    x ^= static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    try {
        std::random_device device;
        x ^= (static_cast<std::uint64_t>(device()) << 32) ^ device();
    } catch (...) {
        // The clock and the counter still make the name unique within this machine.
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text(kTempMark);
    std::uint64_t bits = mix(x);
    for (std::size_t i = 0; i < kTempHexDigits; ++i, bits >>= 4) text += kHex[bits & 15];
    text += kTempEnd;
    return text;
}

std::string reason(int err) {
    return std::strerror(err);
}

}  // namespace

bool isTemporaryOutputName(std::string_view name) {
    if (name.size() < kTempMark.size() + kTempHexDigits + kTempEnd.size()) return false;
    if (name.substr(name.size() - kTempEnd.size()) != kTempEnd) return false;
    const std::size_t mark = name.size() - kTempEnd.size() - kTempHexDigits - kTempMark.size();
    if (name.substr(mark, kTempMark.size()) != kTempMark) return false;
    for (char c : name.substr(mark + kTempMark.size(), kTempHexDigits)) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

OutputFile::~OutputFile() {
    discard();
}

void OutputFile::failed(std::string_view what, int err) {
    throw std::runtime_error("Cannot " + std::string(what) + " " + temp_.string() + ": " +
                             reason(err));
}

void OutputFile::append(std::string_view text) {
    buffer_ += text;
    if (buffer_.size() >= kSpillBytes) spill();
}

void OutputFile::spill() {
    if (!file_) {
        // O_EXCL: a name that exists already is never taken over.
        for (int attempt = 0;; ++attempt) {
            temp_ = final_;
            temp_ += uniqueSuffix();
            const int fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (fd >= 0) {
                file_ = ::fdopen(fd, "wb");
                if (!file_) {
                    const int err = errno;
                    ::close(fd);
                    std::remove(temp_.c_str());
                    failed("write", err);
                }
                break;
            }
            if (errno != EEXIST || attempt == 8) {
                const int err = errno;
                throw std::runtime_error("Cannot write " + temp_.string() + ": " + reason(err));
            }
        }
    }
    if (buffer_.empty()) return;
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
        failed("write", errno);
    }
    written_ += buffer_.size();
    buffer_.clear();
}

void OutputFile::finish() {
    spill();
    if (std::fflush(file_) != 0) failed("write", errno);
    if (::fsync(::fileno(file_)) != 0 && errno != EINVAL && errno != EROFS) failed("write", errno);
    std::FILE* f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0) failed("write", errno);
}

void OutputFile::discard() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temp_, ignored);
        temp_.clear();
    }
}

OutputSet::~OutputSet() {
    if (!committed_) discardAll();
}

void OutputSet::discardAll() {
    for (auto& f : files_) f->discard();
}

OutputFile& OutputSet::file(const std::filesystem::path& finalPath) {
    for (auto& f : files_) {
        if (f->finalPath() == finalPath) return *f;
    }
    files_.push_back(std::make_unique<OutputFile>(finalPath));
    return *files_.back();
}

std::vector<std::filesystem::path> OutputSet::commit() {
    // First every file whole on the disk; a failure here leaves every final file as it was.
    try {
        for (auto& f : files_) {
            if (f->writes()) f->finish();
        }
    } catch (...) {
        discardAll();
        throw;
    }

    // Then the renames. Each final file that is about to be replaced or removed is kept under a
    // second name first, so a failed rename can put the earlier files back.
    struct Swap {
        OutputFile* file;
        std::filesystem::path backup;  // empty: there was no final file
        bool done = false;
    };
    std::vector<Swap> swaps;
    auto undo = [&] {
        std::error_code ignored;
        for (auto it = swaps.rbegin(); it != swaps.rend(); ++it) {
            if (it->done) {
                if (it->backup.empty()) {
                    std::filesystem::remove(it->file->finalPath(), ignored);
                } else {
                    std::filesystem::rename(it->backup, it->file->finalPath(), ignored);
                }
            } else if (!it->backup.empty()) {
                std::filesystem::remove(it->backup, ignored);
            }
        }
        discardAll();
    };
    try {
        for (auto& f : files_) {
            Swap swap{f.get(), {}, false};
            std::error_code ec;
            if (std::filesystem::exists(f->finalPath(), ec)) {
                swap.backup = f->finalPath();
                swap.backup += uniqueSuffix();
                std::filesystem::create_hard_link(f->finalPath(), swap.backup, ec);
                if (ec) {
                    swap.backup.clear();
                    throw std::runtime_error("Cannot replace " + f->finalPath().string() + ": " +
                                             ec.message());
                }
            } else if (!f->writes()) {
                continue;  // nothing to write, nothing to remove
            }
            swaps.push_back(swap);
        }
        for (auto& swap : swaps) {
            std::error_code ec;
            if (swap.file->writes()) {
                std::filesystem::rename(swap.file->temp_, swap.file->finalPath(), ec);
            } else {
                std::filesystem::remove(swap.file->finalPath(), ec);
            }
            if (ec) {
                throw std::runtime_error("Cannot replace " + swap.file->finalPath().string() +
                                         ": " + ec.message());
            }
            swap.done = true;
            swap.file->temp_.clear();
        }
    } catch (...) {
        undo();
        throw;
    }
    std::error_code ignored;
    for (auto& swap : swaps) {
        if (!swap.backup.empty()) std::filesystem::remove(swap.backup, ignored);
    }
    committed_ = true;
    std::vector<std::filesystem::path> written;
    for (auto& f : files_) {
        if (f->writes()) written.push_back(f->finalPath());
    }
    return written;
}

void writeFileAtomically(const std::filesystem::path& path, std::string_view content) {
    OutputSet set;
    OutputFile& file = set.file(path);
    file.keepWhenEmpty();
    file.append(content);
    set.commit();
}

std::uintmax_t fileLength(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return 0;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : size;
}

}  // namespace orr
