// The application directory: explicit, beside the executable, or the user's data directory.
#include <gtest/gtest.h>
#include <unistd.h>

#include "shell/session/Startup.h"
#include "shell/session/UserDataDir.h"

namespace orr {
namespace {

TEST(AppDir, AnExplicitDirectoryAlwaysWins) {
    EXPECT_EQ(resolveAppDir(std::filesystem::path("/some/where")),
              std::filesystem::path("/some/where"));
}

TEST(AppDir, IsTheExecutablesDirectoryWhenItIsWritable) {
    // The test program's own directory (the build tree) is writable.
    const auto exe = std::filesystem::read_symlink("/proc/self/exe");
    ASSERT_EQ(::access(exe.parent_path().c_str(), W_OK), 0);
    EXPECT_EQ(resolveAppDir(std::nullopt), exe.parent_path());
}

TEST(AppDir, FallbackIsUnderXdgDataHome) {
    EXPECT_EQ(userDataDir("/data/home", "/home/u"), std::filesystem::path("/data/home/Orravant"));
}

TEST(AppDir, FallbackDefaultsToTheHomesLocalShare) {
    EXPECT_EQ(userDataDir("", "/home/u"), std::filesystem::path("/home/u/.local/share/Orravant"));
    // A relative XDG_DATA_HOME is not used.
    EXPECT_EQ(userDataDir("rel/dir", "/home/u"),
              std::filesystem::path("/home/u/.local/share/Orravant"));
    EXPECT_THROW(userDataDir("", ""), std::runtime_error);
}

}  // namespace
}  // namespace orr
