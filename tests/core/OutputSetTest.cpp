// All-or-nothing outputs: nothing reaches a final name before commit, a failure anywhere leaves
// every earlier file whole, and a commit killed half way is completed at the next start.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/OutputSet.h"
#include "tests/support/TestFiles.h"

namespace orr {
namespace {

using test::readFile;
using test::writeFile;

// The names in the directory, sorted.
std::vector<std::string> namesIn(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(OutputSet, NothingReachesTheDiskBeforeCommitAndCommitReplacesEveryFile) {
    test::TempDir dir;
    writeFile(dir / "a.csv", "old a\r\n");
    writeFile(dir / "b.csv", "old b\r\n");
    const std::string big(3 * 1024 * 1024 + 17, 'x');  // spills to its temporary file in pieces
    OutputSet out;
    out.file(dir / "b.csv");  // nothing written: the old file is removed, not kept
    out.file(dir / "a.csv").append("new ");
    out.file(dir / "big.csv").append(big);
    EXPECT_EQ(readFile(dir / "a.csv"), "old a\r\n");  // nothing reaches a final name before commit
    out.file(dir / "a.csv").append("a\r\n");          // the same path is the same file
    const auto written = out.commit();
    EXPECT_EQ(written, (std::vector<std::filesystem::path>{dir / "a.csv", dir / "big.csv"}));
    EXPECT_EQ(readFile(dir / "a.csv"), "new a\r\n");
    EXPECT_EQ(readFile(dir / "big.csv"), big);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a.csv", "big.csv"}));
    EXPECT_EQ(fileLength(dir / "none.csv"), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir / "none.csv"));  // a length test creates nothing
}

// A file sent to the disk ahead of the commit (while its step goes on) is still written whole by
// the commit, text appended after it included; without a commit it is gone as any other.
TEST(OutputSet, AFileSentToTheDiskAheadIsWholeAtTheCommitAndGoneWithoutOne) {
    test::TempDir dir;
    writeFile(dir / "a.csv", "old a\r\n");
    const std::string first(700 * 1024 + 3, 'f');  // spilled in pieces, some left in memory
    {
        OutputSet out;
        out.file(dir / "a.csv").append("never");
        out.file(dir / "a.csv").toDiskAhead();
    }  // no commit
    EXPECT_EQ(readFile(dir / "a.csv"), "old a\r\n");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a.csv"}));

    OutputSet out;
    out.file(dir / "a.csv").append(first);
    out.file(dir / "a.csv").toDiskAhead();
    out.file(dir / "empty.csv").toDiskAhead();  // nothing to send: no file
    EXPECT_EQ(readFile(dir / "a.csv"), "old a\r\n");
    out.file(dir / "a.csv").append("and after\r\n");
    EXPECT_EQ(out.commit(), (std::vector<std::filesystem::path>{dir / "a.csv"}));
    EXPECT_EQ(readFile(dir / "a.csv"), first + "and after\r\n");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a.csv"}));
}

TEST(OutputSet, AFailureOnTheSecondOfSeveralOutputsLeavesThePreviousFilesWhole) {
    // The second output cannot be written (its directory is missing), or cannot be renamed
    // into place (a directory stands under its name), after the first was renamed.
    for (const bool renameFails : {false, true}) {
        SCOPED_TRACE(renameFails ? "final name taken by a directory" : "write fails");
        test::TempDir dir;
        writeFile(dir / "a.csv", "old a\r\n");
        writeFile(dir / "c.csv", "old c\r\n");
        const std::filesystem::path second = renameFails ? dir / "b.csv" : dir / "missing/b.csv";
        if (renameFails) std::filesystem::create_directories(second / "inside");
        OutputSet out;
        out.file(dir / "a.csv").append("new a\r\n");
        out.file(second).append("new b\r\n");
        out.file(dir / "c.csv");  // would remove c.csv
        try {
            out.commit();
            FAIL() << "commit succeeded";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("b.csv"), std::string::npos) << e.what();
        }
        EXPECT_EQ(readFile(dir / "a.csv"), "old a\r\n");
        EXPECT_EQ(readFile(dir / "c.csv"), "old c\r\n");
        for (const auto& name : namesIn(dir.path()))
            EXPECT_FALSE(isTemporaryOutputName(name)) << name << " left behind";
    }
}

// A run killed during its commit: the next start completes it (every new file was whole before
// the first rename) and removes what the run left; a journal cut short means no rename began, so
// the old files stay. The kill is played in a child process, after 0, 1 or 2 renames (-1: after
// none, the journal then cut short).
TEST(OutputSet, ACommitKilledDuringItsRenamesIsCompletedAtTheNextStart) {
    for (const int renames : {0, 1, 2, -1}) {
        SCOPED_TRACE(renames);
        const bool cutShort = renames < 0;
        test::TempDir dir;
        for (const std::string name : {"a", "b", "c"})
            writeFile(dir / (name + ".csv"), "old " + name);
        static std::size_t killAt;
        killAt = cutShort ? 0 : static_cast<std::size_t>(renames);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            afterCommitRenameForTests = [](std::size_t done) {
                if (done == killAt) ::_exit(0);
            };
            OutputSet out;
            out.file(dir / "a.csv").append("new a");
            out.file(dir / "b.csv").append("new b");
            out.file(dir / "c.csv");  // empty: removes c.csv
            out.commit();
            ::_exit(1);  // not killed
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        for (const auto& name : namesIn(dir.path())) {
            if (!cutShort || !name.ends_with(".journal")) continue;
            const std::string journal = readFile(dir / name);
            writeFile(dir / name, journal.substr(0, journal.size() - 3));
        }
        // Another data set's leftovers in the same directory are not touched.
        writeFile(dir / "other.csv.~0123456789abcdef.tmp", "x");
        const RecoveredOutputs done =
            recoverOutputs(dir.path(), [](std::string_view name) { return name != "other.csv"; });
        EXPECT_EQ(done.completed.empty(), cutShort);
        EXPECT_FALSE(done.removed.empty());  // the old versions kept for an undo, at least
        std::string files;
        for (const auto& name : namesIn(dir.path()))
            files += name + ": " + readFile(dir / name) + "; ";
        EXPECT_EQ(files, (cutShort ? "a.csv: old a; b.csv: old b; c.csv: old c; "
                                   : "a.csv: new a; b.csv: new b; ") +
                             std::string("other.csv.~0123456789abcdef.tmp: x; "));
    }
}

}  // namespace
}  // namespace orr
