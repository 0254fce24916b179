// Start-up: the data directory, the user parameters and the first line of the status log.
#include "model/session/Startup.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
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

std::string readWhole(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) failOn("Cannot read the parameter file", file, std::strerror(errno));
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) failOn("Cannot read the parameter file", file, "read error");
    return bytes;
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

StartupResult startUp(Session& session) {
    StartupResult result;
    // The taper tables of the tree equations are built in and need no filling.
    makeDataDir(session.dataFilesDir());

    const std::filesystem::path paramFile = paramFilePath(session.appDir);
    std::error_code ec;
    const bool present = std::filesystem::exists(paramFile, ec);
    if (ec) failOn("Cannot read the parameter file", paramFile, ec.message());
    if (present) {
        if (!std::filesystem::is_regular_file(paramFile, ec)) {
            failOn("Cannot read the parameter file", paramFile, "it is not a regular file");
        }
        const std::optional<ParamRecord> record = decodeParamRecord(readWhole(paramFile));
        if (!record) {
            // An empty (or short) file is deleted; the parameters keep their zero start values
            // and start-up ends here, leaving the log empty. The next start writes the defaults.
            std::filesystem::remove(paramFile, ec);
            if (ec) failOn("Cannot delete the empty parameter file", paramFile, ec.message());
            session.params = ParamRecord{};
            result.paramFileWasEmpty = true;
            return result;
        }
        session.params = *record;
        result.parameterProblem = parameterFileProblem(session.appDir, session.params);
    } else {
        session.params = ParamRecord::defaults();
        saveParameters(session.appDir, session.params);
    }
    result.log = kFirstLogLine;
    return result;
}

}  // namespace orr
