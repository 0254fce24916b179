// The application directory, PARAMETER.PRM and start-up.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "core/FileLock.h"
#include "model/session/Session.h"

namespace orr {

// PARAMETER.PRM: one packed little-endian record of 22 bytes. A MaxPlots above 32767 does not fit
// its 16-bit field. The field then holds kMaxPlotsMarker, -32768, which no valid file holds (an
// older program refuses such a file as "Max number of Plots should be greater than 0" instead of
// misreading it), and the value follows the record in a tagged extension of 12 bytes at offset
// 22: the tag "MaxP", the value as a little-endian 32-bit integer, and its bitwise complement as a
// check. A MaxPlots that fits (every value up to 32767) is written into the 22 bytes as always,
// with no extension.
inline constexpr std::size_t kParamRecordSize = 22;
inline constexpr std::size_t kMaxPlotsExtensionSize = 12;
inline constexpr std::int16_t kMaxPlotsMarker = -32768;
std::string encodeParamRecord(const ParamRecord& p);  // exactly 22 bytes
// The extension that follows the record when MaxPlots does not fit its 16-bit field (or is the
// marker itself); empty otherwise.
std::string encodeMaxPlotsExtension(const ParamRecord& p);
// The later settings (LidarClasses, GroundPlotCost, LidarPlotCost, TargetError) follow the record
// and the MaxPlots extension, when one differs from its default, in the settings extension: the
// tag "Opts", the length of its text as a little-endian 32-bit integer and its complement, then
// the text, a line "Name=value" for each setting that differs (numbers in their shortest form).
// A file of the defaults keeps its 22 bytes; an older file reads with the defaults.
std::string encodeSettingsExtension(const ParamRecord& p);
// Reads the record at offset 0; a file of 0 to 21 bytes gives nullopt. With the marker in the
// MaxPlots field, MaxPlots is the value of a whole extension whose tag and check are right, and
// otherwise the marker itself (out of range, so the file is reported, never misread).
std::optional<ParamRecord> decodeParamRecord(const std::string& bytes);

std::filesystem::path paramFilePath(const std::filesystem::path& appDir);

// The lock that every change of PARAMETER.PRM holds, from the reading of the file to the
// replacement: its own lock file, PARAMETER.PRM.lock beside it. PARAMETER.PRM belongs to no data
// set (every data set of the application directory shares it, and `params set` names none), so
// the data set's lock cannot guard it, and a run that holds its data set for hours does not keep
// the parameters from being set. Taking it waits while another process changes the file (which
// takes milliseconds), at most half a minute; then it throws std::runtime_error naming the
// file and the process that holds it.
class ParameterFileLock {
  public:
    static ParameterFileLock acquire(const std::filesystem::path& appDir);

  private:
    explicit ParameterFileLock(FileLock lock) : lock_(std::move(lock)) {}
    FileLock lock_;
};

// Replaces PARAMETER.PRM with the record at offset 0, followed by the MaxPlots and settings
// extensions it needs; the extensions the file held are replaced, while bytes of other origin
// after them stay. The new file is written beside the old one, flushed to the disk and renamed
// over it, so that a reader sees the old file or the new one and never a part of either. Holds
// the parameter file's lock while it reads the old file and replaces it (`held`: the caller holds
// it already). Throws std::runtime_error naming the path and the system's reason.
void saveParameters(const std::filesystem::path& appDir, const ParamRecord& p,
                    const ParameterFileLock* held = nullptr);
// The bytes of PARAMETER.PRM (empty when it is missing), read with a bound: a file larger than
// any parameter file is refused. Throws std::runtime_error naming the path and the reason.
std::string readParameterFile(const std::filesystem::path& file);

// The application directory: the directory of the running executable when it is writable,
// otherwise $XDG_DATA_HOME/Orravant (default ~/.local/share/Orravant). An explicit directory
// (tests, --app-dir) always wins.
std::filesystem::path resolveAppDir(const std::optional<std::filesystem::path>& explicitDir);

struct StartupResult {
    bool paramFileWasEmpty = false;  // an empty (or short) PARAMETER.PRM was found and deleted
    std::string log;                 // the status log's whole text after start-up
    // PARAMETER.PRM holds a value out of its range (ParameterRanges.h): the message, naming the
    // file and the parameter. The values are loaded as they are, so that they can be shown and
    // corrected; no step may start until they are.
    std::optional<std::string> parameterProblem;
};
// Start-up in its order: create DATA FILES when missing; load PARAMETER.PRM (an empty or short
// one is deleted and the parameters read 0; a missing one gets the defaults, written to a new
// file) and check its values; the first log line. PARAMETER.PRM is read, and written or deleted,
// under its lock (`held`: the caller holds it already). Throws std::runtime_error naming the path
// and the system's reason when the directory or the file cannot be made.
StartupResult startUp(Session& session, const ParameterFileLock* held = nullptr);
// The same reading without changing anything (`orravant-cli params`): the same checks and the
// same parameters, but a missing DATA FILES is not made, a missing PARAMETER.PRM gives the
// defaults without writing them, and an empty or short one reads 0 without being deleted.
StartupResult lookUp(Session& session);

// The message for parameters out of range, naming PARAMETER.PRM of `appDir` and how to set them;
// nullopt when every parameter is in range.
std::optional<std::string> parameterFileProblem(const std::filesystem::path& appDir,
                                                const ParamRecord& params);

}  // namespace orr
