// Start-up: the data directory, the user parameters and the first line of the status log.
#include "model/session/Startup.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

#include "model/session/ParameterRanges.h"

namespace orr {

namespace {

const char* const kFirstLogLine = "Please perform Steps 1 through 4...\r\n";

[[noreturn]] void failOn(const std::string& what, const std::filesystem::path& path,
                         const std::string& reason) {
    throw std::runtime_error(what + " " + path.string() + ": " + reason);
}

void makeDataDir(const std::filesystem::path& dir) {
    std::error_code ec;
    if (std::filesystem::is_directory(dir, ec)) return;  // present, empty or not: left as it is
    if (std::filesystem::exists(dir, ec)) {
        failOn("Cannot create the data directory", dir, "a file of that name is in the way");
    }
    std::filesystem::create_directories(dir, ec);
    if (ec) failOn("Cannot create the data directory", dir, ec.message());
}

}  // namespace

std::optional<std::string> parameterFileProblem(const std::filesystem::path& appDir,
                                                const ParamRecord& params) {
    const std::optional<std::string> problem = parameterProblem(params);
    if (!problem) return std::nullopt;
    return "The user parameters in " + paramFilePath(appDir).string() +
           " cannot be used: " + *problem +
           ". Set them in step 2 (or with 'orravant-cli params set').";
}

namespace {

// PARAMETER.PRM read into the session as start-up reads it. Under the parameter file's lock
// (`held`) a missing file is written with the defaults and a short one deleted; without it
// nothing is changed.
StartupResult loadParameters(Session& session, const ParameterFileLock* held) {
    StartupResult result;
    const std::filesystem::path paramFile = paramFilePath(session.appDir);
    const std::string bytes = readParameterFile(paramFile);
    std::error_code ec;
    const bool present = !bytes.empty() || std::filesystem::exists(paramFile, ec);
    if (present) {
        const std::optional<ParamRecord> record = decodeParamRecord(bytes);
        if (!record) {
            // An empty (or short) file is deleted; the parameters keep their zero start values
            // and start-up ends here, leaving the log empty. The next start writes the defaults.
            if (held) {
                std::filesystem::remove(paramFile, ec);
                if (ec) failOn("Cannot delete the empty parameter file", paramFile, ec.message());
            }
            session.params = ParamRecord{};
            result.paramFileWasEmpty = true;
            return result;
        }
        session.params = *record;
        result.parameterProblem = parameterFileProblem(session.appDir, session.params);
    } else {
        session.params = ParamRecord::defaults();
        if (held) saveParameters(session.appDir, session.params, held);
    }
    result.log = kFirstLogLine;
    return result;
}

}  // namespace

StartupResult startUp(Session& session, const ParameterFileLock* held) {
    // The taper tables of the tree equations are built in and need no filling.
    makeDataDir(session.dataFilesDir());
    // The file is read, and written when missing or deleted when short, under its lock: a file
    // being replaced by another process is never taken for a missing one.
    std::optional<ParameterFileLock> own;
    if (!held) held = &own.emplace(ParameterFileLock::acquire(session.appDir));
    return loadParameters(session, held);
}

StartupResult lookUp(Session& session) {
    std::error_code ec;
    const std::filesystem::path dataDir = session.dataFilesDir();
    if (std::filesystem::exists(dataDir, ec) && !std::filesystem::is_directory(dataDir, ec))
        failOn("Cannot create the data directory", dataDir, "a file of that name is in the way");
    // Without the lock: the file is only ever replaced whole (by a rename), so a reading sees
    // the old file or the new one.
    return loadParameters(session, nullptr);
}

}  // namespace orr
