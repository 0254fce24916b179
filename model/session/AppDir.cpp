// Where the program keeps PARAMETER.PRM and DATA FILES: beside its executable when that
// directory is writable and is not one of the system's program directories (a build tree, a
// program unpacked into a folder of its own), otherwise in the user's data directory.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <system_error>

#include "model/session/Startup.h"
#include "model/session/UserDataDir.h"

namespace orr {

namespace {

std::optional<std::filesystem::path> executableDir() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) return std::nullopt;
    return exe.parent_path();
}

// The directories the system's packages install programs into: an installed program never
// keeps data there, not even when root runs it.
bool isSystemProgramDir(const std::filesystem::path& dir) {
    const std::string text = dir.lexically_normal().string();
    for (std::string_view prefix : {"/usr/", "/bin", "/sbin", "/opt/", "/snap/"}) {
        if (text == prefix || text.rfind(prefix, 0) == 0) return true;
    }
    return false;
}

bool isWritableDir(const std::filesystem::path& dir) {
    std::error_code ec;
    return std::filesystem::is_directory(dir, ec) && ::access(dir.c_str(), W_OK | X_OK) == 0;
}

std::string_view environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string_view(value) : std::string_view();
}

std::string homeDir() {
    if (const std::string_view home = environment("HOME"); !home.empty()) return std::string(home);
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir) {
        return entry->pw_dir;
    }
    return {};
}

}  // namespace

std::filesystem::path userDataDir(std::string_view xdgDataHome, std::string_view home) {
    if (!xdgDataHome.empty()) {
        const std::filesystem::path base(xdgDataHome);
        if (base.is_absolute()) return base / "Orravant";
    }
    if (home.empty()) {
        throw std::runtime_error(
            "Cannot find a directory for the program's data: neither XDG_DATA_HOME nor HOME is "
            "set");
    }
    return std::filesystem::path(home) / ".local" / "share" / "Orravant";
}

std::filesystem::path resolveAppDir(const std::optional<std::filesystem::path>& explicitDir) {
    if (explicitDir) return *explicitDir;
    if (const auto dir = executableDir(); dir && !isSystemProgramDir(*dir) && isWritableDir(*dir))
        return *dir;
    return userDataDir(environment("XDG_DATA_HOME"), homeDir());
}

}  // namespace orr
