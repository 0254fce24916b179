// A whole command-line run against what a hostile or careless folder holds: a planted commit
// journal, a link at the lock's name, a FIFO as input, a run record that cannot be written, a
// data-set name that shows one text and is another, and a closed pipe on stdout. Each ends the
// run with exit status 1 (2 for the name), a message, no file outside the data folder touched
// and no lock or temporary file left.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/robustness/RobustData.h"

extern char** environ;

namespace orr::test {
namespace {

namespace fs = std::filesystem;

class HostileRun : public ::testing::Test {
  protected:
    RobustData data;
    const Snapshot before = data.goodRun();

    // The data folder holds what it held before: no lock and no temporary file left (a regular
    // file at any name shows in the snapshot), `besides` aside.
    void expectDataFolderAsBefore(const std::vector<std::string>& besides = {}) const {
        Snapshot now = snapshot(data.dataDir());
        for (const std::string& name : besides) now.erase(name);
        std::string differences;
        for (const auto& [name, bytes] : now)
            if (!before.count(name) || before.at(name) != bytes) differences += name + " ";
        for (const auto& [name, bytes] : before)
            if (!now.count(name)) differences += "(gone) " + name + " ";
        EXPECT_EQ(differences, "") << "a data file changed or was left";
    }
};

TEST_F(HostileRun, APlantedJournalIsRefusedAndNothingOutsideIsTouched) {
    writeFile(data.dir / "victim.txt", "mine");
    const fs::path journal = data.dataDir() / "ROB_PH2Plot.csv.~00000000000000aa.journal";
    const std::string bytes = std::string("orravant commit journal 1") + '\0' + "D" + '\0' +
                              (data.dir / "victim.txt").string() + '\0' + "E" + '\0';
    writeFile(journal, bytes);
    const Outcome run = data.run();
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("error: The commit journal " + journal.string(), 0), 0u) << run.err;
    EXPECT_EQ(readFile(data.dir / "victim.txt"), "mine");
    EXPECT_EQ(readFile(journal), bytes);
    expectDataFolderAsBefore({journal.filename().string()});
}

TEST_F(HostileRun, ALinkAtTheLocksNameIsRefusedAndItsTargetUntouched) {
    writeFile(data.dir / "precious.txt", "keep me");
    fs::create_symlink(data.dir / "precious.txt", data.dataDir() / "ROB.lock");
    const Outcome run = data.run();
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("ROB.lock is a symbolic link"), std::string::npos) << run.err;
    EXPECT_EQ(readFile(data.dir / "precious.txt"), "keep me");
    EXPECT_TRUE(fs::is_symlink(data.dataDir() / "ROB.lock"));
    // The link shows in the snapshot under its target's name.
    expectDataFolderAsBefore(
        {fs::relative(data.dataDir() / "ROB.lock", data.dataDir()).generic_string()});
}

TEST_F(HostileRun, AFifoAsInputIsRefusedAndTheLockGoes) {
    fs::remove(data.input("lidar-ds1.csv"));
    ASSERT_EQ(::mkfifo(data.input("lidar-ds1.csv").c_str(), 0600), 0);
    const Outcome run = data.run();
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("File " + data.input("lidar-ds1.csv").string() +
                           ": is a FIFO (named pipe), not a regular file"),
              std::string::npos)
        << run.err;
    expectDataFolderAsBefore();
}

TEST_F(HostileRun, ARunRecordThatCannotBeWrittenFailsTheRun) {
    const fs::path record = data.dataDir() / "ROB_Run.csv";
    fs::remove(record);
    fs::create_directories(record / "in the way");
    const Outcome run = data.run();
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(
        run.err.find("error: The run of step 5 could not be recorded in " + record.string() + ": "),
        std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("error: step 5 did not complete"), std::string::npos) << run.err;
}

TEST_F(HostileRun, ADataSetNameThatSteersTheTextIsRefusedShownEscaped) {
    const std::pair<std::string, std::string> cases[] = {
        {"AB\u202EC", "'AB\\xE2\\x80\\xAEC' holds \\xE2\\x80\\xAE"},
        {"A\u200BB", "'A\\xE2\\x80\\x8BB' holds \\xE2\\x80\\x8B"},
        {"\u2066X", "'\\xE2\\x81\\xA6X' holds \\xE2\\x81\\xA6"},
        {"X\u200F", "'X\\xE2\\x80\\x8F' holds \\xE2\\x80\\x8F"},
        {"X\uFEFF", "'X\\xEF\\xBB\\xBF' holds \\xEF\\xBB\\xBF"},
    };
    for (const auto& [name, shown] : cases) {
        SCOPED_TRACE(shown);
        const Outcome run = data.run(name);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.rfind("error: --dataset " + shown +
                                    ", a character that changes the direction or visibility "
                                    "of text\n",
                                0),
                  0u)
            << run.err;
    }
    expectDataFolderAsBefore();
}

// orravant-cli run as its own process, its stdout a pipe nobody reads any more (as under
// `| head -1` once head has ended).
TEST_F(HostileRun, AClosedPipeOnStdoutEndsTheRunWithItsLockRemoved) {
    const char* cli = std::getenv("ORRAVANT_CLI");
    ASSERT_NE(cli, nullptr);
    fs::remove_all(data.dataDir());
    fs::create_directories(data.dataDir());
    std::vector<std::string> words = {
        cli,      "--app-dir", data.app().string(), "run", "--dataset", "ROB",
        "--seed", "1",         "--product-code",    "drop"};
    for (const auto& [flag, name] : {std::pair{"--coeff", "coefficients.csv"},
                                     {"--strata", "strata.csv"},
                                     {"--dbh", "dbh.csv"},
                                     {"--trees", "trees.csv"},
                                     {"--ds1", "lidar-ds1.csv"},
                                     {"--ds2", "lidar-ds2.csv"}})
        words.insert(words.end(), {flag, data.input(name).string()});
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);  // nobody will read
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (data.dir / "err.txt").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    const std::string err = readFile(data.dir / "err.txt");
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status) << "\n" << err;
    EXPECT_EQ(WEXITSTATUS(status), 1) << err;
    EXPECT_NE(err.find("the standard output was closed"), std::string::npos) << err;
    for (const auto& entry : fs::directory_iterator(data.dataDir())) {
        const std::string name = entry.path().filename().string();
        EXPECT_FALSE(name == "ROB.lock" || name.find(".~") != std::string::npos) << name;
    }
}

}  // namespace
}  // namespace orr::test
