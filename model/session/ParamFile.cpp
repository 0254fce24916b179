// PARAMETER.PRM: the nine user parameters as one packed little-endian record of 22 bytes at
// offset 0 of the file, and the MaxPlots extension after it when MaxPlots does not fit its 16-bit
// field (Startup.h).
#include <fcntl.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string_view>

#include "model/session/Startup.h"

namespace orr {

namespace {

void putU16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void putU32(std::string& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

std::uint32_t getU32(const std::string& in, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(in[at + i]);
    return v;
}

std::int16_t getI16(const std::string& in, std::size_t at) {
    const auto lo = static_cast<unsigned char>(in[at]);
    const auto hi = static_cast<unsigned char>(in[at + 1]);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
}

void putI16(std::string& out, std::int16_t v) {
    putU16(out, static_cast<std::uint16_t>(v));
}

constexpr std::string_view kMaxPlotsTag = "MaxP";

// Whether MaxPlots goes into the extension: it does not fit the 16-bit field, or it is the marker
// itself (which the field alone would not give back).
bool needsExtension(std::int32_t maxPlots) {
    return maxPlots > 32767 || maxPlots <= kMaxPlotsMarker;
}

}  // namespace

std::string encodeParamRecord(const ParamRecord& p) {
    std::string out;
    out.reserve(kParamRecordSize);
    putI16(out, p.PACF);
    putI16(out, p.MaxSpec);
    putI16(out, p.MaxProd);
    putI16(out, p.MaxItern);
    putI16(out,
           needsExtension(p.MaxPlots) ? kMaxPlotsMarker : static_cast<std::int16_t>(p.MaxPlots));
    putI16(out, p.LiHgtAdj);
    putI16(out, p.ModelSet);
    putU32(out, std::bit_cast<std::uint32_t>(p.PTIP));
    putU32(out, std::bit_cast<std::uint32_t>(p.STIP));
    return out;
}

std::string encodeMaxPlotsExtension(const ParamRecord& p) {
    if (!needsExtension(p.MaxPlots)) return {};
    std::string out(kMaxPlotsTag);
    const auto value = static_cast<std::uint32_t>(p.MaxPlots);
    putU32(out, value);
    putU32(out, ~value);
    return out;
}

std::optional<ParamRecord> decodeParamRecord(const std::string& bytes) {
    if (bytes.size() < kParamRecordSize) return std::nullopt;
    ParamRecord p;
    p.PACF = getI16(bytes, 0);
    p.MaxSpec = getI16(bytes, 2);
    p.MaxProd = getI16(bytes, 4);
    p.MaxItern = getI16(bytes, 6);
    p.MaxPlots = getI16(bytes, 8);
    if (p.MaxPlots == kMaxPlotsMarker &&
        bytes.size() >= kParamRecordSize + kMaxPlotsExtensionSize &&
        bytes.compare(kParamRecordSize, kMaxPlotsTag.size(), kMaxPlotsTag) == 0) {
        const std::uint32_t value = getU32(bytes, kParamRecordSize + kMaxPlotsTag.size());
        const std::uint32_t check = getU32(bytes, kParamRecordSize + kMaxPlotsTag.size() + 4);
        if (check == ~value) p.MaxPlots = static_cast<std::int32_t>(value);
    }
    p.LiHgtAdj = getI16(bytes, 10);
    p.ModelSet = getI16(bytes, 12);
    p.PTIP = std::bit_cast<float>(getU32(bytes, 14));
    p.STIP = std::bit_cast<float>(getU32(bytes, 18));
    return p;
}

std::filesystem::path paramFilePath(const std::filesystem::path& appDir) {
    return appDir / "PARAMETER.PRM";
}

void saveParameters(const std::filesystem::path& appDir, const ParamRecord& p) {
    const std::filesystem::path file = paramFilePath(appDir);
    const std::string extension = encodeMaxPlotsExtension(p);
    const std::string bytes = encodeParamRecord(p) + extension;
    const auto fail = [&file](int error) {
        throw std::runtime_error("Cannot write the parameter file " + file.string() + ": " +
                                 std::strerror(error));
    };
    // Opened for writing without truncating: the record replaces the first 22 bytes and
    // anything beyond them stays, but for an extension of an earlier save.
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) fail(errno);
    const auto failClosing = [&](int error) {
        ::close(fd);
        fail(error);
    };
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + written, bytes.size() - written,
                                   static_cast<off_t>(written));
        if (n < 0) {
            if (errno == EINTR) continue;
            failClosing(errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (extension.empty()) {
        // A MaxPlots that fits its field leaves no stale extension behind.
        char tag[4];
        const ssize_t n = ::pread(fd, tag, sizeof tag, static_cast<off_t>(kParamRecordSize));
        if (n == static_cast<ssize_t>(sizeof tag) &&
            std::string_view(tag, sizeof tag) == kMaxPlotsTag &&
            ::ftruncate(fd, static_cast<off_t>(kParamRecordSize)) != 0) {
            failClosing(errno);
        }
    }
    if (::close(fd) != 0) fail(errno);
}

}  // namespace orr
