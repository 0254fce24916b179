#include "files/FileFingerprint.h"

#include <openssl/evp.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
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

[[noreturn]] void cannotRead(const std::filesystem::path& file, int err) {
    throw std::runtime_error("File " + file.string() + " cannot be read: " + std::strerror(err));
}

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

// One file's digest as its reader streams it.
class FingerprintSink : public ReadSink {
  public:
    FingerprintSink(ReadFingerprints& owner, std::filesystem::path file)
        : owner_(owner), file_(std::move(file)) {}
    void bytes(const char* data, std::size_t size) override {
        sha_.add(data, size);
        size_ += size;
    }
    void finished(bool whole) override {
        if (whole) owner_.add(file_, {file_.filename().string(), size_, sha_.hex()});
    }

  private:
    ReadFingerprints& owner_;
    std::filesystem::path file_;
    Sha256 sha_;
    std::uintmax_t size_ = 0;
};

std::unique_ptr<ReadSink> ReadFingerprints::opened(const std::filesystem::path& file) {
    {
        const std::lock_guard<std::mutex> lock(lock_);
        if (read_.count(file) != 0) return nullptr;  // read whole once already
    }
    return std::make_unique<FingerprintSink>(*this, file);
}

void ReadFingerprints::add(const std::filesystem::path& file, FileFingerprint fingerprint) {
    const std::lock_guard<std::mutex> lock(lock_);
    read_.emplace(file, std::move(fingerprint));
}

std::optional<FileFingerprint> ReadFingerprints::of(const std::filesystem::path& file) const {
    const std::lock_guard<std::mutex> lock(lock_);
    const auto found = read_.find(file);
    if (found == read_.end()) return std::nullopt;
    return found->second;
}

FileFingerprint ReadFingerprints::ofOrRead(const std::filesystem::path& file) const {
    if (std::optional<FileFingerprint> read = of(file)) return *read;
    return fingerprint(file);
}

}  // namespace orr::files
