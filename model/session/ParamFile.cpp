// PARAMETER.PRM: the nine user parameters as one packed little-endian record of 22 bytes at
// offset 0 of the file, the MaxPlots extension after it when MaxPlots does not fit its 16-bit
// field, and the settings extension when a later setting differs from its default (Startup.h).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <thread>

#include "core/NumberText.h"
#include "core/OutputSet.h"
#include "model/session/DataSetLock.h"
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
constexpr std::string_view kSettingsTag = "Opts";
constexpr std::size_t kSettingsHeaderSize = 12;  // the tag, the length and its complement

// The settings of the extension, each with the field it fills.
struct IntegerSetting {
    std::string_view name;
    std::int16_t ParamRecord::*field;
};
struct NumberSetting {
    std::string_view name;
    double ParamRecord::*field;
};
constexpr IntegerSetting kIntegerSettings[] = {{"LidarClasses", &ParamRecord::LidarClasses}};
constexpr NumberSetting kNumberSettings[] = {{"GroundPlotCost", &ParamRecord::GroundPlotCost},
                                             {"LidarPlotCost", &ParamRecord::LidarPlotCost},
                                             {"TargetError", &ParamRecord::TargetError}};

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

std::string encodeSettingsExtension(const ParamRecord& p) {
    const ParamRecord defaults = ParamRecord::defaults();
    std::string text;
    for (const IntegerSetting& s : kIntegerSettings) {
        if (p.*s.field != defaults.*s.field)
            text += std::string(s.name) + "=" + std::to_string(p.*s.field) + "\n";
    }
    for (const NumberSetting& s : kNumberSettings) {
        // Written whenever not the very default, so that a NaN is kept (and reported) too.
        if (!(p.*s.field == defaults.*s.field))
            text += std::string(s.name) + "=" + shortest(p.*s.field) + "\n";
    }
    if (text.empty()) return {};
    std::string out(kSettingsTag);
    const auto length = static_cast<std::uint32_t>(text.size());
    putU32(out, length);
    putU32(out, ~length);
    return out + text;
}

namespace {

// The length of the program's own extensions that follow the record: the MaxPlots extension when
// its tag is there, then the settings extension when its tag and length check are right.
std::size_t ownExtensionsLength(const std::string& bytes) {
    std::size_t at = kParamRecordSize;
    if (bytes.size() >= at + kMaxPlotsExtensionSize &&
        bytes.compare(at, kMaxPlotsTag.size(), kMaxPlotsTag) == 0)
        at += kMaxPlotsExtensionSize;
    if (bytes.size() >= at + kSettingsHeaderSize &&
        bytes.compare(at, kSettingsTag.size(), kSettingsTag) == 0) {
        const std::uint32_t length = getU32(bytes, at + 4);
        if (getU32(bytes, at + 8) == ~length && bytes.size() - at - kSettingsHeaderSize >= length)
            at += kSettingsHeaderSize + length;
    }
    return at - kParamRecordSize;
}

// Reads the settings extension's NAME=VALUE lines into `p`. A value that is not a number of its
// kind is kept as one out of range (-1, NaN), so that the range check names the setting; a name
// this program does not know is passed over.
void decodeSettings(std::string_view text, ParamRecord& p) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view name = line.substr(0, eq);
        const std::string_view value = line.substr(eq + 1);
        for (const IntegerSetting& s : kIntegerSettings) {
            if (name != s.name) continue;
            std::int16_t v = -1;
            const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
            p.*s.field = ec == std::errc() && ptr == value.data() + value.size() ? v : -1;
        }
        for (const NumberSetting& s : kNumberSettings) {
            if (name != s.name) continue;
            double v = 0;
            const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
            p.*s.field = ec == std::errc() && ptr == value.data() + value.size()
                             ? v
                             : std::numeric_limits<double>::quiet_NaN();
        }
    }
}

}  // namespace

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
    std::size_t at = kParamRecordSize;
    if (bytes.size() >= at + kMaxPlotsExtensionSize &&
        bytes.compare(at, kMaxPlotsTag.size(), kMaxPlotsTag) == 0)
        at += kMaxPlotsExtensionSize;
    if (kParamRecordSize + ownExtensionsLength(bytes) > at)
        decodeSettings(std::string_view(bytes).substr(at + kSettingsHeaderSize), p);
    return p;
}

std::filesystem::path paramFilePath(const std::filesystem::path& appDir) {
    return appDir / "PARAMETER.PRM";
}

namespace {

// No parameter file this program writes comes near this: 22 bytes and two short extensions.
constexpr std::size_t kMostParameterFileBytes = std::size_t{1} << 20;
constexpr auto kLockPause = std::chrono::milliseconds(10);
constexpr auto kLockWait = std::chrono::seconds(30);

}  // namespace

ParameterFileLock ParameterFileLock::acquire(const std::filesystem::path& appDir) {
    std::filesystem::path lockFile = paramFilePath(appDir);
    lockFile += ".lock";
    std::error_code ignored;  // a directory that cannot be made is named by the lock's failure
    std::filesystem::create_directories(appDir, ignored);
    const std::string me = describeThisRun("orravant");
    const auto until = std::chrono::steady_clock::now() + kLockWait;
    for (;;) {
        std::string heldBy;
        if (std::optional<FileLock> lock = FileLock::tryLock(lockFile, me, heldBy))
            return ParameterFileLock(std::move(*lock));
        if (std::chrono::steady_clock::now() >= until) {
            throw std::runtime_error(
                "The parameter file " + paramFilePath(appDir).string() +
                " is being changed by another process (" +
                (heldBy.empty() ? std::string("one that is just starting") : heldBy) +
                ") and was not changed; try again when it has ended.");
        }
        std::this_thread::sleep_for(kLockPause);
    }
}

std::string readParameterFile(const std::filesystem::path& file) {
    const auto fail = [&file](const std::string& reason) {
        throw std::runtime_error("Cannot read the parameter file " + file.string() + ": " + reason);
    };
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return {};
        fail(std::strerror(errno));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        fail("it is not a regular file");
    }
    std::optional<std::string> bytes;
    try {
        bytes = readToEndAtMost(fd, kMostParameterFileBytes);
    } catch (const std::system_error& e) {
        fail(std::strerror(e.code().value()));
    }
    if (!bytes) fail("it is larger than any parameter file");
    return std::move(*bytes);
}

void saveParameters(const std::filesystem::path& appDir, const ParamRecord& p,
                    const ParameterFileLock* held) {
    std::optional<ParameterFileLock> own;
    if (!held) own.emplace(ParameterFileLock::acquire(appDir));
    const std::filesystem::path file = paramFilePath(appDir);
    // What follows the record and this program's own extensions in the file stays: an earlier
    // save's extensions are replaced, bytes of other origin are kept after the new ones.
    const std::string old = readParameterFile(file);
    std::string bytes =
        encodeParamRecord(p) + encodeMaxPlotsExtension(p) + encodeSettingsExtension(p);
    if (old.size() > kParamRecordSize)
        bytes += old.substr(kParamRecordSize + ownExtensionsLength(old));
    writeFileAtomically(file, bytes);  // throws "Cannot write <file>: <reason>"
}

}  // namespace orr
