// Files found in the data folder or given as input are trusted only as far as they are the
// program's own: a commit journal that names anything but its data set's outputs is refused, a
// link at the lock's name is never followed, an input that is no regular file is never opened
// for reading, reading stays within a bound whatever the file holds, and a stop is heard while a
// file is being read.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "core/CommaReader.h"
#include "core/FileLock.h"
#include "core/InputError.h"
#include "core/OutputSet.h"
#include "core/Step.h"
#include "tests/support/TestFiles.h"

namespace orr {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

// A complete journal of the program's layout with the given entries ("R", temp, final / "D",
// final), each part ended by a NUL byte.
std::string journal(const std::vector<std::string>& parts) {
    std::string bytes = std::string("orravant commit journal 1") + '\0';
    for (const std::string& part : parts) bytes += part + '\0';
    return bytes + "E" + '\0';
}

bool ours(std::string_view name) {
    return name == "A_x.csv" || name == "A_y.csv";
}

// Entries that a planted journal could use to move or delete files anywhere: each is refused
// before anything is renamed or removed, the journal stays, and every file stays as it was.
TEST(CommitJournal, EntriesOutsideTheDataSetAreRefusedAndNothingIsReplayed) {
    test::TempDir dir;
    const fs::path data = dir / "data";
    fs::create_directories(data);
    const fs::path outside = dir / "victim.txt";
    const std::string tmp = ".~0123456789abcdef.tmp";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"D", outside.string()}, outside.string()},
        {{"D", "../victim.txt"}, "../victim.txt"},
        {{"D", "sub/A_x.csv"}, "sub/A_x.csv"},
        {{"D", ".."}, "\"..\""},
        {{"D", "B_x.csv"}, "B_x.csv"},
        {{"R", "../victim.txt", "A_x.csv"}, "../victim.txt"},
        {{"R", "A_y.csv" + tmp, "A_x.csv"}, "not a temporary file of A_x.csv"},
        {{"R", "A_x.csv" + tmp, "A_x.csv", "D", "/etc/passwd"}, "/etc/passwd"},
        {{"X", "A_x.csv"}, "an entry this program does not write"},
    };
    for (const auto& [entries, named] : cases) {
        SCOPED_TRACE(named);
        writeFile(outside, "mine");
        writeFile(data / "A_x.csv", "old x");
        writeFile(data / ("A_x.csv" + tmp), "new x");
        const fs::path planted = data / "A_x.csv.~00000000000000aa.journal";
        writeFile(planted, journal(entries));
        try {
            recoverOutputs(data, ours);
            ADD_FAILURE() << "the journal was followed";
        } catch (const std::runtime_error& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind("The commit journal " + planted.string(), 0), 0u) << message;
            EXPECT_NE(message.find(named), std::string::npos) << message;
            EXPECT_NE(message.find("left in place"), std::string::npos) << message;
        }
        EXPECT_EQ(readFile(outside), "mine");
        EXPECT_EQ(readFile(data / "A_x.csv"), "old x");
        EXPECT_EQ(readFile(data / ("A_x.csv" + tmp)), "new x");
        EXPECT_EQ(readFile(planted), journal(entries));
        fs::remove(planted);
    }
}

// A journal that is a link, or larger than any journal, is not read at all.
TEST(CommitJournal, ALinkOrAnOversizedJournalIsRefused) {
    test::TempDir dir;
    writeFile(dir / "elsewhere", journal({"D", "A_x.csv"}));
    writeFile(dir / "A_x.csv", "x");
    fs::create_symlink(dir / "elsewhere", dir / "A_x.csv.~00000000000000aa.journal");
    EXPECT_THROW(recoverOutputs(dir.path(), ours), std::runtime_error);
    EXPECT_TRUE(fs::exists(dir / "A_x.csv"));
    fs::remove(dir / "A_x.csv.~00000000000000aa.journal");
    writeFile(dir / "A_x.csv.~00000000000000ab.journal", std::string(3 << 20, 'D'));
    EXPECT_THROW(recoverOutputs(dir.path(), ours), std::runtime_error);
    EXPECT_TRUE(fs::exists(dir / "A_x.csv"));
}

// The program's own journal is still rolled forward.
TEST(CommitJournal, TheProgramsOwnJournalIsStillCompleted) {
    test::TempDir dir;
    const std::string tmp = ".~0123456789abcdef.tmp";
    writeFile(dir / "A_x.csv", "old x");
    writeFile(dir / "A_y.csv", "old y");
    writeFile(dir / ("A_x.csv" + tmp), "new x");
    writeFile(dir / "A_x.csv.~00000000000000aa.journal",
              journal({"R", "A_x.csv" + tmp, "A_x.csv", "D", "A_y.csv"}));
    const RecoveredOutputs done = recoverOutputs(dir.path(), ours);
    EXPECT_EQ(done.completed.size(), 2u);
    EXPECT_EQ(readFile(dir / "A_x.csv"), "new x");
    EXPECT_FALSE(fs::exists(dir / "A_y.csv"));
    EXPECT_FALSE(fs::exists(dir / "A_x.csv.~00000000000000aa.journal"));
}

// A link at the lock's name would have the lock truncate and write its target.
TEST(FileLock, ALinkAtTheLocksNameIsRefusedAndItsTargetUntouched) {
    test::TempDir dir;
    writeFile(dir / "precious.txt", "keep me");
    fs::create_symlink(dir / "precious.txt", dir / "A.lock");
    fs::create_symlink(dir / "missing.txt", dir / "B.lock");
    for (const char* name : {"A.lock", "B.lock"}) {
        SCOPED_TRACE(name);
        std::string heldBy;
        try {
            FileLock::tryLock(dir / name, "a test", heldBy);
            ADD_FAILURE() << "locked through the link";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), "The lock file " + (dir / name).string() +
                                                 " is a symbolic link, not a lock file of this "
                                                 "program; it is left as it is and nothing was "
                                                 "written through it. Remove it and start again.");
        }
        EXPECT_TRUE(fs::is_symlink(dir / name));
    }
    EXPECT_EQ(readFile(dir / "precious.txt"), "keep me");
    EXPECT_FALSE(fs::exists(dir / "missing.txt"));
}

// Inputs that are no regular file are refused by their kind, before a read could wait on them.
TEST(CommaReader, AFifoADeviceOrADirectoryIsRefusedBeforeItIsRead) {
    test::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    fs::create_directories(dir / "folder");
    const std::vector<std::pair<fs::path, std::string>> cases = {
        {dir / "pipe", "is a FIFO (named pipe), not a regular file"},
        {"/dev/zero", "is a device, not a regular file"},
        {dir / "folder", "is a directory, not a file"},
    };
    for (const auto& [path, problem] : cases) {
        SCOPED_TRACE(path);
        try {
            CommaReader reader(path);
            ADD_FAILURE() << "opened";
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("File " + path.string() + ": " + problem, 0), 0u)
                << e.what();
        }
    }
}

std::string messageOf(const fs::path& file, int fields) {
    try {
        CommaReader reader(file);
        while (reader.next(fields)) {
        }
    } catch (const InputError& e) {
        return e.what();
    }
    return "";
}

// A field of megabytes of NUL bytes, or a line that never ends, is refused naming its record and
// field, after reading little more than the bound.
TEST(CommaReader, AFieldLongerThanAnyRealOneIsRefusedNamingRecordAndField) {
    test::TempDir dir;
    const std::string longField(3 << 20, '\0');
    writeFile(dir / "nul.csv", "1,2,3\r\n4,5," + longField + "\r\n");
    EXPECT_EQ(
        messageOf(dir / "nul.csv", 3)
            .rfind("File " + (dir / "nul.csv").string() + ", record 2, field 3: \"\\x00\\x00", 0),
        0u)
        << messageOf(dir / "nul.csv", 3);
    // Quoted, and the line without an end.
    writeFile(dir / "quote.csv", "1,\"" + std::string(3 << 20, 'a'));
    EXPECT_NE(messageOf(dir / "quote.csv", 2).find("record 1, field 2: \"\"aaaa"),
              std::string::npos)
        << messageOf(dir / "quote.csv", 2);
    // Just above the limit, but whole within the buffer.
    writeFile(dir / "over.csv",
              "7," + std::string(CommaReader::kMostFieldBytes + 1, 'b') + "\r\n1,2\r\n");
    EXPECT_NE(messageOf(dir / "over.csv", 2).find("record 1, field 2: \"bbbb"), std::string::npos)
        << messageOf(dir / "over.csv", 2);
    EXPECT_NE(messageOf(dir / "over.csv", 2).find("longer than any field of a real file"),
              std::string::npos);
    // A field at the limit is read.
    writeFile(dir / "at.csv", "7," + std::string(CommaReader::kMostFieldBytes, 'b') + "\r\n");
    EXPECT_EQ(messageOf(dir / "at.csv", 2), "");
    // Counting records keeps the same bound.
    try {
        CommaReader::countRecords(dir / "nul.csv", 3);
        ADD_FAILURE() << "counted";
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find("record 2, field 3"), std::string::npos) << e.what();
    }
}

std::atomic<int> checks{0};
bool stopAfterThreeChecks() {
    return ++checks > 3;
}

// A stop asked while a file is being read ends the reading within a mebibyte or so.
TEST(CommaReader, AStopIsHeardWhileAFileIsBeingRead) {
    test::TempDir dir;
    std::string many;
    for (int i = 0; i < 2000; ++i) many += std::to_string(i) + ",1.5\r\n";
    writeFile(dir / "many.csv", many);
    checks = 0;
    CommaReader::setStopCheck(&stopAfterThreeChecks);
    long records = 0;
    try {
        CommaReader reader(dir / "many.csv", 64);
        while (reader.next(2)) ++records;
        ADD_FAILURE() << "read to the end";
    } catch (const StepCancelled&) {
    }
    CommaReader::setStopCheck(nullptr);
    EXPECT_LT(records, 100);
    CommaReader again(dir / "many.csv", 64);
    while (again.next(2)) ++records;
}

// Names that show one text and are another: the characters are found and shown escaped.
TEST(ShownText, FormatCharactersAreFoundAndShownEscaped) {
    for (const char* hidden : {"\u202E", "\u2066", "\u200E", "\u200F", "\u061C", "\u200B", "\u200D",
                               "\u2060", "\uFEFF", "\u00AD", "\U000E0041"}) {
        const std::string name = std::string("ab") + hidden + "c";
        EXPECT_EQ(firstFormatCharacter(name), hidden);
        EXPECT_EQ(shownText(name).find(hidden), std::string::npos) << shownText(name);
        EXPECT_EQ(shownText(name).rfind("ab\\x", 0), 0u) << shownText(name);
    }
    EXPECT_EQ(firstFormatCharacter("\xC3\xA4\xC3\xA4 plot"), "");
    EXPECT_EQ(shownText("\u202E"), "\\xE2\\x80\\xAE");
}

}  // namespace
}  // namespace orr
