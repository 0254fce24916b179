// What a run read or wrote, told apart from any other file: its name, its size and its SHA-256.
// The digest comes from OpenSSL's libcrypto, which uses the processor's SHA instructions where
// there are any, so a LiDAR file of tens of megabytes costs a few hundredths of a second.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace orr::files {

struct FileFingerprint {
    std::string name;  // the file name without its directory
    std::uintmax_t size = 0;
    std::string sha256;  // 64 lower-case hexadecimal digits
    bool operator==(const FileFingerprint&) const = default;
};

// Reads the file through once. Throws std::runtime_error naming the file and the system's reason
// when it cannot be read.
FileFingerprint fingerprint(const std::filesystem::path& file);

}  // namespace orr::files
