#include "files/FileFingerprint.h"

#include <openssl/evp.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <vector>

namespace orr::files {

namespace {

struct ContextFree {
    void operator()(EVP_MD_CTX* c) const { EVP_MD_CTX_free(c); }
};
struct FileClose {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

class Sha256 {
  public:
    Sha256() : ctx_(EVP_MD_CTX_new()) {
        if (!ctx_ || EVP_DigestInit_ex(ctx_.get(), EVP_sha256(), nullptr) != 1)
            throw std::runtime_error("SHA-256 is not available from libcrypto");
    }
    void add(const void* data, std::size_t size) {
        if (EVP_DigestUpdate(ctx_.get(), data, size) != 1)
            throw std::runtime_error("SHA-256 failed in libcrypto");
    }
    std::string hex() {
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int length = 0;
        if (EVP_DigestFinal_ex(ctx_.get(), digest, &length) != 1)
            throw std::runtime_error("SHA-256 failed in libcrypto");
        static constexpr char kDigits[] = "0123456789abcdef";
        std::string text;
        text.reserve(2 * std::size_t{length});
        for (unsigned int i = 0; i < length; ++i) {
            text += kDigits[digest[i] >> 4];
            text += kDigits[digest[i] & 0xf];
        }
        return text;
    }

  private:
    std::unique_ptr<EVP_MD_CTX, ContextFree> ctx_;
};

// What the file system says of a file: while none of it changed, neither did the bytes.
struct FileState {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modified = 0;  // nanoseconds
    std::int64_t changed = 0;
    bool operator==(const FileState&) const = default;
};

std::int64_t nanoseconds(const timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

std::optional<FileState> stateOf(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return FileState{info.st_dev, info.st_ino, info.st_size, nanoseconds(info.st_mtim),
                     nanoseconds(info.st_ctim)};
}

// Files hashed earlier in the process, by path, with their state when they were opened.
struct Remembered {
    FileState state;
    FileFingerprint fingerprint;
};
std::mutex& rememberedLock() {
    static std::mutex lock;
    return lock;
}
std::map<std::filesystem::path, Remembered>& remembered() {
    static std::map<std::filesystem::path, Remembered> files;
    return files;
}

// A change closer than this to the hashing may not show in the times (see the header).
std::atomic<std::int64_t> settledNanoseconds{2'000'000'000};

void remember(const std::filesystem::path& file, const FileState& state,
              const FileFingerprint& fingerprint) {
    const std::int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
    if (now - std::max(state.modified, state.changed) < settledNanoseconds.load()) return;
    if (static_cast<std::uintmax_t>(state.size) != fingerprint.size) return;
    const std::lock_guard<std::mutex> lock(rememberedLock());
    remembered()[file] = {state, fingerprint};
}

std::optional<FileFingerprint> rememberedFingerprint(const std::filesystem::path& file) {
    const std::optional<FileState> state = stateOf(file);
    if (!state) return std::nullopt;
    const std::lock_guard<std::mutex> lock(rememberedLock());
    const auto found = remembered().find(file);
    if (found == remembered().end() || !(found->second.state == *state)) return std::nullopt;
    return found->second.fingerprint;
}

[[noreturn]] void cannotRead(const std::filesystem::path& file, int err) {
    throw std::runtime_error("File " + file.string() + " cannot be read: " + std::strerror(err));
}

// One file's digest as its reader streams it or its writer writes it; `done` takes it when the
// file was gone through to its end.
class FingerprintSink : public ReadSink {
  public:
    FingerprintSink(std::filesystem::path file, std::optional<FileState> state,
                    std::function<void(FileFingerprint)> done)
        : file_(std::move(file)), state_(state), done_(std::move(done)) {}
    void bytes(const char* data, std::size_t size) override {
        sha_.add(data, size);
        size_ += size;
    }
    void finished(bool whole) override {
        if (!whole) return;
        FileFingerprint fingerprint{file_.filename().string(), size_, sha_.hex()};
        if (state_) remember(file_, *state_, fingerprint);
        done_(std::move(fingerprint));
    }

  private:
    std::filesystem::path file_;
    std::optional<FileState> state_;  // of a file read, when it was opened
    std::function<void(FileFingerprint)> done_;
    Sha256 sha_;
    std::uintmax_t size_ = 0;
};

}  // namespace

FileFingerprint fingerprint(const std::filesystem::path& file) {
    std::unique_ptr<std::FILE, FileClose> in(std::fopen(file.c_str(), "rb"));
    if (!in) cannotRead(file, errno);
    Sha256 sha;
    std::vector<unsigned char> buffer(1 << 20);
    FileFingerprint f;
    f.name = file.filename().string();
    for (;;) {
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in.get());
        if (got > 0) {
            sha.add(buffer.data(), got);
            f.size += got;
        }
        if (got < buffer.size()) {
            if (std::ferror(in.get())) cannotRead(file, errno != 0 ? errno : EIO);
            break;
        }
    }
    f.sha256 = sha.hex();
    return f;
}

void setSettledAfterForTests(std::chrono::nanoseconds settled) {
    settledNanoseconds.store(settled.count());
}

void forgetRememberedFingerprints() {
    const std::lock_guard<std::mutex> lock(rememberedLock());
    remembered().clear();
}

std::unique_ptr<ReadSink> ReadFingerprints::opened(const std::filesystem::path& file) {
    {
        const std::lock_guard<std::mutex> lock(lock_);
        if (read_.count(file) != 0) return nullptr;  // read whole once already
    }
    // Hashed whole earlier in the process and unchanged since: no need to hash it again.
    if (std::optional<FileFingerprint> known = rememberedFingerprint(file)) {
        add(file, *known, false);
        return nullptr;
    }
    return std::make_unique<FingerprintSink>(
        file, stateOf(file), [this, file](FileFingerprint f) { add(file, std::move(f), false); });
}

std::unique_ptr<ReadSink> ReadFingerprints::writing(const std::filesystem::path& finalPath) {
    return std::make_unique<FingerprintSink>(
        finalPath, std::nullopt,
        [this, finalPath](FileFingerprint f) { add(finalPath, std::move(f), true); });
}

void ReadFingerprints::add(const std::filesystem::path& file, FileFingerprint fingerprint,
                           bool written) {
    const std::lock_guard<std::mutex> lock(lock_);
    if (written) {
        written_[file] = std::move(fingerprint);  // the file's last commit counts
    } else {
        read_.emplace(file, std::move(fingerprint));
    }
}

std::optional<FileFingerprint> ReadFingerprints::found(
    const std::map<std::filesystem::path, FileFingerprint>& files,
    const std::filesystem::path& file) const {
    const std::lock_guard<std::mutex> lock(lock_);
    const auto at = files.find(file);
    if (at == files.end()) return std::nullopt;
    return at->second;
}

std::optional<FileFingerprint> ReadFingerprints::ofWritten(
    const std::filesystem::path& finalPath) const {
    return found(written_, finalPath);
}

FileFingerprint ReadFingerprints::ofWrittenOrRead(const std::filesystem::path& finalPath) const {
    if (std::optional<FileFingerprint> written = ofWritten(finalPath)) return *written;
    return fingerprint(finalPath);
}

std::optional<FileFingerprint> ReadFingerprints::of(const std::filesystem::path& file) const {
    return found(read_, file);
}

FileFingerprint ReadFingerprints::ofOrRead(const std::filesystem::path& file) const {
    if (std::optional<FileFingerprint> read = of(file)) return *read;
    if (std::optional<FileFingerprint> known = rememberedFingerprint(file)) return *known;
    const std::optional<FileState> before = stateOf(file);
    FileFingerprint read = fingerprint(file);
    if (before) remember(file, *before, read);
    return read;
}

}  // namespace orr::files
