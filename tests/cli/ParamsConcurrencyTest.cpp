// PARAMETER.PRM shared by processes: `params set` reads and replaces it under the parameter file's
// lock, the file is replaced whole (never written in place), and printing the parameters changes
// nothing. Many orravant-cli processes setting different parameters at once lose no value.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "model/session/Startup.h"
#include "tests/cli/CliSupport.h"

extern char** environ;

namespace orr::test {
namespace {

namespace fs = std::filesystem;

ParamRecord stored(const fs::path& app) {
    return *decodeParamRecord(readFile(paramFilePath(app)));
}

// orravant-cli with `words`, its stdout to `out` (or /dev/null), started and not waited for.
pid_t spawnCli(const std::vector<std::string>& words, const fs::path& out = "/dev/null") {
    const char* cli = std::getenv("ORRAVANT_CLI");
    std::vector<std::string> all = {cli ? cli : "orravant-cli"};
    all.insert(all.end(), words.begin(), words.end());
    std::vector<char*> argv;
    for (std::string& w : all) argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? pid : -1;
}

int exitStatus(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Printing the parameters makes, writes and deletes nothing: not the default file, not DATA
// FILES, not a short file that start-up would delete.
TEST(ParamsCommand, PrintingWritesNothing) {
    TempDir dir;
    EXPECT_EQ(cliIn(dir / "app", {"params"}).out.substr(0, 8), "PACF=20\n");
    EXPECT_FALSE(fs::exists(dir / "app"));
    fs::create_directories(dir / "app");
    writeFile(dir / "app" / "PARAMETER.PRM", "short");
    EXPECT_EQ(cliIn(dir / "app", {"params"}).status, kExitOk);
    EXPECT_EQ(readFile(dir / "app" / "PARAMETER.PRM"), "short");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "app"), fs::directory_iterator()), 1);
}

// A save replaces the file by a rename: whoever has the old file open reads it whole, and no
// reader ever finds a file cut short or empty.
TEST(SaveParameters, TheFileIsReplacedWholeNeverWrittenInPlace) {
    TempDir dir;
    ParamRecord p = ParamRecord::defaults();
    p.MaxPlots = 40000;
    saveParameters(dir.path(), p);
    const std::string before = readFile(paramFilePath(dir.path()));
    const int old = ::open(paramFilePath(dir.path()).c_str(), O_RDONLY);
    ASSERT_GE(old, 0);
    p.MaxPlots = 12;
    saveParameters(dir.path(), p);
    std::string seen(before.size() + 10, '\0');
    const ssize_t n = ::pread(old, seen.data(), seen.size(), 0);
    ::close(old);
    seen.resize(static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    EXPECT_EQ(seen, before);
    EXPECT_EQ(stored(dir.path()).MaxPlots, 12);
    // No temporary file or lock file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

// `params set` waits for the lock of a save in progress, and then builds on what that save wrote.
TEST(ParamsCommand, SetWaitsForTheParameterFilesLock) {
    TempDir dir;
    saveParameters(dir.path(), ParamRecord::defaults());
    pid_t child = -1;
    {
        const ParameterFileLock held = ParameterFileLock::acquire(dir.path());
        child = spawnCli({"--app-dir", dir.path().string(), "params", "set", "MaxSpec=7"});
        ASSERT_GT(child, 0);
        // The child has had ample time to start and to read the file; it must not have saved.
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        EXPECT_EQ(stored(dir.path()).MaxSpec, 2);
        ParamRecord p = ParamRecord::defaults();
        p.PACF = 9;
        saveParameters(dir.path(), p, &held);
    }
    EXPECT_EQ(exitStatus(child), 0);
    EXPECT_EQ(stored(dir.path()).MaxSpec, 7);
    EXPECT_EQ(stored(dir.path()).PACF, 9);  // the save made under the lock was not undone
}

// Rounds of five processes, each setting its own parameter to the round's value at the same
// time, with two more printing the parameters: after every round each parameter holds the value
// of that round (none lost to another process's save), every printing saw a whole file, and the
// MaxPlots extension is never cut.
TEST(ParamsCommand, ConcurrentSetsOfDifferentParametersLoseNoValue) {
    TempDir dir;
    const std::string app = dir.path().string();
    ASSERT_EQ(cliIn(dir.path(), {"params", "set", "MaxPlots=40000"}).status, kExitOk);
    constexpr int kRounds = 12;
    for (int round = 1; round <= kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::string v = std::to_string(round);
        std::vector<pid_t> writers = {
            spawnCli({"--app-dir", app, "params", "set", "PACF=" + v}),
            spawnCli({"--app-dir", app, "params", "set", "MaxSpec=" + v}),
            spawnCli({"--app-dir", app, "params", "set", "MaxProd=" + v}),
            spawnCli({"--app-dir", app, "params", "set", "MaxItern=" + v}),
            spawnCli(
                {"--app-dir", app, "params", "set", "MaxPlots=" + std::to_string(40000 + round)}),
        };
        std::vector<pid_t> readers = {spawnCli({"--app-dir", app, "params"}, dir / "r1.txt"),
                                      spawnCli({"--app-dir", app, "params"}, dir / "r2.txt")};
        for (pid_t pid : writers) EXPECT_EQ(exitStatus(pid), 0);
        for (pid_t pid : readers) EXPECT_EQ(exitStatus(pid), 0);
        for (const char* seen : {"r1.txt", "r2.txt"}) {
            const std::string text = readFile(dir / seen);
            EXPECT_EQ(text.rfind("PACF=", 0), 0u) << text;
            EXPECT_NE(text.find("MaxPlots=4"), std::string::npos) << text;  // never cut short
        }
        const ParamRecord p = stored(dir.path());
        EXPECT_EQ(p.PACF, round);
        EXPECT_EQ(p.MaxSpec, round);
        EXPECT_EQ(p.MaxProd, round);
        EXPECT_EQ(p.MaxItern, round);
        EXPECT_EQ(p.MaxPlots, 40000 + round);
        if (::testing::Test::HasFailure()) break;
    }
    EXPECT_FALSE(fs::exists(paramFilePath(dir.path()).string() + ".lock"));
}

}  // namespace
}  // namespace orr::test
