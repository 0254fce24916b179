// Unreadable inputs through the whole command line: every bad file ends the run with exit status 1
// and one message naming the file (and the record and field where there is one), and leaves every
// file of the data directory as the good run wrote it; inputs that are readable after all (a byte
// order mark, CR line ends, a blank line, -0) run through.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/robustness/RobustData.h"

namespace orr::test {
namespace {

namespace fs = std::filesystem;

// One input file of the data set and where its kinds of values are (1-based fields).
struct InputFile {
    const char* name;
    int fields;
    int codeField;    // a field that takes no 40000 (a code, or a plot past MaxPlots); 0: none
    int numberField;  // a number field
    int zeroField;    // a field where -0 may stand
};

// clang-format off
const InputFile kFiles[] = {
    {"trees.csv",        8, 1, 4, 8},
    {"lidar-ds1.csv",    2, 1, 2, 2},
    {"strata.csv",       4, 1, 4, 4},
    {"dbh.csv",          4, 1, 3, 3},
    {"coefficients.csv", 4, 0, 1, 4},
};
// clang-format on

// An empty DBH file has a message of its own; every other file is refused by name.
const char* const kNoDbhLimits = "Error: No min/max dbhes on file for dataset ROB";

// The lines of a text whose lines end in CR LF.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; at < text.size(); at = end + 2) {
        end = std::min(text.find("\r\n", at), text.size());
        lines.push_back(text.substr(at, end - at));
    }
    return lines;
}

// The text with field `field` (1-based) of its second record (one record per line) replaced.
std::string withField(const std::string& text, int field, const std::string& value) {
    std::vector<std::string> lines = splitLines(text);
    std::size_t start = 0;
    for (int f = 1; f < field; ++f) start = lines[1].find(',', start) + 1;
    lines[1].replace(start, lines[1].find(',', start) - start, value);  // npos: to the line's end
    return crlf(lines);
}

enum class Expect {
    Refused,   // exit 1, one message naming the file, the data files as they were
    Read,      // exit 0
    ReadSame,  // exit 0 and the same files as from the good input
};

struct Case {
    std::string what;
    Expect outcome;
    long record;  // 0: a message about the whole file
    int field;
    std::string message = "";  // when set, the message looked for instead of the file's name
};

class BadInputTable : public ::testing::Test {
  protected:
    // Writes the bad file (nullopt: a directory in its place), runs every step, checks the
    // outcome, puts the good file back and the data directory as it was.
    void check(const InputFile& file, const Case& c, const std::optional<std::string>& bad) {
        SCOPED_TRACE(std::string(file.name) + ": " + c.what);
        const fs::path path = data.input(file.name);
        const std::string good = readFile(path);
        fs::remove(path);
        bad ? writeFile(path, *bad) : void(fs::create_directory(path));
        const Outcome run = data.run();
        EXPECT_EQ(run.status, c.outcome == Expect::Refused ? 1 : 0) << run.out << run.err;
        // Whatever the file holds, the message stays one short line of printable text.
        EXPECT_LT(run.err.size(), 1000u) << run.err.substr(0, 1000);
        EXPECT_FALSE(std::any_of(run.err.begin(), run.err.end(), [](char ch) {
            return (static_cast<unsigned char>(ch) < 0x20 && ch != '\n') || ch == 0x7F;
        })) << run.err;
        const std::string named = "File " + path.string();
        const std::size_t at = run.err.find(named);
        if (!c.message.empty()) {
            EXPECT_NE(std::string::npos, run.err.find(c.message)) << c.message << "\n" << run.err;
        } else if (c.outcome == Expect::Refused) {
            EXPECT_NE(std::string::npos, at) << run.err;
            EXPECT_EQ(std::string::npos, run.err.find(named, at + 1)) << "one message: " << run.err;
            const std::string where = named + ", record " + std::to_string(c.record) + ", field " +
                                      std::to_string(c.field);
            EXPECT_TRUE(c.record == 0 || run.err.find(where) != std::string::npos) << where;
        }
        // The run record and the report name every input with its size and SHA-256: they tell
        // two inputs apart, as they should; every other file is the same after a refusal or a
        // ReadSame input.
        Snapshot after = snapshot(data.dataDir());
        const auto results = [&](Snapshot s) {
            std::erase_if(s, [&](const auto& f) {
                return c.outcome == Expect::ReadSame &&
                       (f.first.ends_with("_Run.csv") || f.first.ends_with("_Report.html"));
            });
            return s;
        };
        EXPECT_TRUE(c.outcome == Expect::Read || results(after) == results(before))
            << "the data files changed";
        // Put everything back for the next case.
        fs::remove_all(path);
        writeFile(path, good);
        for (const auto& [name, bytes] : before) writeFile(data.dataDir() / name, bytes);
        for (const auto& [name, bytes] : after)
            if (!before.count(name)) fs::remove(data.dataDir() / name);
    }

    RobustData data;
    const Snapshot before = data.goodRun();
};

TEST_F(BadInputTable, EveryBadInputIsRefusedWithOneMessageAndNoOutputChanges) {
    for (const InputFile& file : kFiles) {
        const std::string good = readFile(data.input(file.name));
        const long records = static_cast<long>(splitLines(good).size());
        const int num = file.numberField;
        const std::string emptyMessage = std::string(file.name) == "dbh.csv" ? kNoDbhLimits : "";

        // The last record loses its last field.
        const std::string cut = good.substr(0, good.rfind(',')) + "\r\n";
        check(file, {"truncated record", Expect::Refused, records, file.fields}, cut);
        const std::size_t middle = good.find("\r\n", good.size() / 2) + 2;
        check(file, {"blank line in the middle", Expect::ReadSame, 0, 0},
              good.substr(0, middle) + "\r\n" + good.substr(middle));
        check(file, {"byte order mark", Expect::ReadSame, 0, 0}, "\xEF\xBB\xBF" + good);
        std::string crOnly = good;
        std::erase(crOnly, '\n');
        check(file, {"CR-only line ends", Expect::ReadSame, 0, 0}, crOnly);
        check(file, {"1e400", Expect::Refused, 2, num}, withField(good, num, "1e400"));
        check(file, {"-0", Expect::Read, 0, 0}, withField(good, file.zeroField, "-0"));
        check(file, {"NaN", Expect::Refused, 2, num}, withField(good, num, "NaN"));
        check(file, {"decimal comma", Expect::Refused, 2, num}, withField(good, num, "\"1,5\""));
        if (file.codeField > 0) {
            check(file, {"40000 in a code or plot field", Expect::Refused, 2, file.codeField},
                  withField(good, file.codeField, "40000"));
        }
        // A field more on a record's line would shift every later field by one.
        std::vector<std::string> lines = splitLines(good);
        lines[1] += ",9";
        check(file, {"a further field on a record's line", Expect::Refused, 2, file.fields + 1},
              crlf(lines));
        lines[1].pop_back();  // a trailing comma: an empty further field
        check(file, {"a trailing comma", Expect::Refused, 2, file.fields + 1}, crlf(lines));
        check(file, {"text after a closing quote", Expect::Refused, 2, num},
              withField(good, num, "\"8.9\"abc"));
        check(file, {"a quote not closed on its line", Expect::Refused, 2, num},
              withField(good, num, "\"8.9"));
        // Control bytes and a huge field reach the message escaped and cut.
        check(file, {"control bytes", Expect::Refused, 2, num},
              withField(good, num, std::string("\x1B]0;x\x07\x1B[2J\0tail", 15)));
        check(file, {"a field of a mebibyte", Expect::Refused, 2, num},
              withField(good, num, std::string(1 << 20, '7') + "x"));
        check(file, {"empty file", Expect::Refused, 0, 0, emptyMessage}, "");
        check(file, {"blank lines only", Expect::Refused, 0, 0, emptyMessage}, "\r\n\r\n");
        check(file, {"a directory", Expect::Refused, 0, 0}, std::nullopt);
    }
}

// Files that read well but leave a step without the data it needs: the step stops naming the
// file instead of writing files without them over the results of the run before.
TEST_F(BadInputTable, FilesWithoutTheNeededRecordsAreRefused) {
    const InputFile& lidar = kFiles[1];
    std::vector<std::string> lines = splitLines(readFile(data.input(lidar.name)));
    for (std::string& line : lines) line = line.substr(0, line.find(',')) + ",10";
    check(lidar, {"every height 10 feet or less", Expect::Refused, 0, 0}, crlf(lines));
    const InputFile& dbh = kFiles[3];
    lines = splitLines(readFile(data.input(dbh.name)));
    check(dbh, {"1 of its 9 records", Expect::Refused, 0, 0}, lines.front() + "\r\n");
    lines.erase(lines.begin() + 4);
    check(dbh, {"a species-product class left out", Expect::Refused, 0, 0}, crlf(lines));
}

}  // namespace
}  // namespace orr::test
