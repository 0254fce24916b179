// Unreadable inputs through the whole command line: every bad file ends the run with exit status 1
// and one message naming the file (and the record and field where there is one), and leaves every
// file of the data directory as the good run wrote it; inputs that are readable after all (a byte
// order mark, CR line ends, a blank line, -0) run through.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
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

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// The text with field `field` of record `record` (both 1-based, one record per line) replaced.
std::string withField(const std::string& text, std::size_t record, int field,
                      const std::string& value) {
    std::vector<std::string> lines = splitLines(text);
    std::string& line = lines.at(record - 1);
    std::size_t start = 0;
    for (int f = 1; f < field; ++f) start = line.find(',', start) + 1;
    std::size_t end = line.find(',', start);
    if (end == std::string::npos) end = line.size();
    line.replace(start, end - start, value);
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
    void SetUp() override {
        const CliRun good = data.run();
        ASSERT_EQ(0, good.status) << good.err;
        before = snapshot(data.dataDir());
        ASSERT_GE(before.size(), 13u);
    }

    // Writes the bad file with `make`, runs every step, checks the outcome, puts the good file
    // back and the data directory as it was.
    void check(const InputFile& file, const Case& c, const std::function<void(fs::path)>& make) {
        SCOPED_TRACE(std::string(file.name) + ": " + c.what);
        const fs::path path = data.input(file.name);
        const std::string good = readFile(path);
        make(path);
        const CliRun run = data.run();
        // Whatever the file holds, the message stays one short line of printable text.
        EXPECT_LT(run.err.size(), 1000u) << run.err.substr(0, 1000);
        EXPECT_FALSE(std::any_of(run.err.begin(), run.err.end(), [](char ch) {
            return (static_cast<unsigned char>(ch) < 0x20 && ch != '\n') || ch == 0x7F;
        })) << run.err;
        if (!c.message.empty()) {
            EXPECT_EQ(1, run.status) << run.out << run.err;
            EXPECT_NE(std::string::npos, run.err.find(c.message)) << c.message << "\n" << run.err;
        } else if (c.outcome == Expect::Refused) {
            EXPECT_EQ(1, run.status) << run.out << run.err;
            const std::string named = "File " + path.string();
            const std::size_t at = run.err.find(named);
            EXPECT_NE(std::string::npos, at) << run.err;
            EXPECT_EQ(std::string::npos, run.err.find(named, at + 1)) << "one message: " << run.err;
            if (c.record > 0) {
                const std::string where = named + ", record " + std::to_string(c.record) +
                                          ", field " + std::to_string(c.field);
                EXPECT_NE(std::string::npos, run.err.find(where)) << where << "\n" << run.err;
            }
        } else {
            EXPECT_EQ(0, run.status) << run.err;
        }
        const Snapshot after = snapshot(data.dataDir());
        if (c.outcome == Expect::Refused) {
            EXPECT_TRUE(after == before) << "the data files changed";
        } else if (c.outcome == Expect::ReadSame) {
            // The run record and the report name every input with its size and SHA-256: they
            // tell the two inputs apart, as they should; every other file is the same.
            const auto results = [](Snapshot s) {
                std::erase_if(s, [](const auto& file) {
                    return file.first.ends_with("_Run.csv") || file.first.ends_with("_Report.html");
                });
                return s;
            };
            EXPECT_TRUE(results(after) == results(before)) << "the data files changed";
        }
        EXPECT_TRUE(temporaryFiles(data.dataDir()).empty());
        // Put everything back for the next case.
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(path);
        writeFile(path, good);
        for (const auto& [name, bytes] : before) writeFile(data.dataDir() / name, bytes);
        for (const auto& [name, bytes] : after) {
            if (!before.count(name)) fs::remove(data.dataDir() / name);
        }
    }

    RobustData data;
    Snapshot before;
};

TEST_F(BadInputTable, EveryBadInputIsRefusedWithOneMessageAndNoOutputChanges) {
    for (const InputFile& file : kFiles) {
        const fs::path path = data.input(file.name);
        const std::string good = readFile(path);
        const std::size_t records = splitLines(good).size();
        const int num = file.numberField;
        auto field = [&](std::size_t record, int f, const std::string& value) {
            return
                [=, &good](const fs::path& p) { writeFile(p, withField(good, record, f, value)); };
        };
        auto text = [](std::string t) { return [t](const fs::path& p) { writeFile(p, t); }; };
        const bool dbh = std::string(file.name) == "dbh.csv";
        const std::string emptyMessage = dbh ? kNoDbhLimits : "";

        // The last record loses its last field.
        std::string cut = good.substr(0, good.size() - 2);
        cut = cut.substr(0, cut.rfind(',')) + "\r\n";
        check(file, {"truncated record", Expect::Refused, static_cast<long>(records), file.fields},
              text(cut));
        const std::size_t middle = good.find("\r\n", good.size() / 2) + 2;
        check(file, {"blank line in the middle", Expect::ReadSame, 0, 0},
              text(good.substr(0, middle) + "\r\n" + good.substr(middle)));
        check(file, {"byte order mark", Expect::ReadSame, 0, 0}, text("\xEF\xBB\xBF" + good));
        std::string crOnly = good;
        std::erase(crOnly, '\n');
        check(file, {"CR-only line ends", Expect::ReadSame, 0, 0}, text(crOnly));
        check(file, {"1e400", Expect::Refused, 2, num}, field(2, num, "1e400"));
        check(file, {"-0", Expect::Read, 0, 0}, field(2, file.zeroField, "-0"));
        check(file, {"NaN", Expect::Refused, 2, num}, field(2, num, "NaN"));
        check(file, {"decimal comma", Expect::Refused, 2, num}, field(2, num, "\"1,5\""));
        if (file.codeField > 0) {
            check(file, {"40000 in a code or plot field", Expect::Refused, 2, file.codeField},
                  field(2, file.codeField, "40000"));
        }
        // A field more on a record's line would shift every later field by one.
        std::vector<std::string> lines = splitLines(good);
        lines[1] += ",9";
        check(file, {"a further field on a record's line", Expect::Refused, 2, file.fields + 1},
              text(crlf(lines)));
        lines[1].pop_back();  // a trailing comma: an empty further field
        check(file, {"a trailing comma", Expect::Refused, 2, file.fields + 1}, text(crlf(lines)));
        check(file, {"text after a closing quote", Expect::Refused, 2, num},
              field(2, num, "\"8.9\"abc"));
        check(file, {"a quote not closed on its line", Expect::Refused, 2, num},
              field(2, num, "\"8.9"));
        // Control bytes and a huge field reach the message escaped and cut.
        check(file, {"control bytes", Expect::Refused, 2, num},
              field(2, num, std::string("\x1B]0;x\x07\x1B[2J\0tail", 15)));
        check(file, {"a field of a mebibyte", Expect::Refused, 2, num},
              field(2, num, std::string(1 << 20, '7') + "x"));
        check(file, {"empty file", Expect::Refused, 0, 0, emptyMessage}, text(""));
        check(file, {"blank lines only", Expect::Refused, 0, 0, emptyMessage}, text("\r\n\r\n"));
        check(file, {"a directory", Expect::Refused, 0, 0}, [](const fs::path& p) {
            fs::remove(p);
            fs::create_directory(p);
        });
    }
}

// Files that read well but leave a step without the data it needs: the step stops naming the
// file instead of writing files without them over the results of the run before.
TEST_F(BadInputTable, FilesWithoutTheNeededRecordsAreRefused) {
    const InputFile& lidar = kFiles[1];
    const InputFile& dbh = kFiles[3];
    const fs::path ds1 = data.input(lidar.name);
    const std::string heights = readFile(ds1);
    check(lidar, {"every height 10 feet or less", Expect::Refused, 0, 0}, [&](const fs::path& p) {
        std::vector<std::string> lines = splitLines(heights);
        for (std::string& line : lines) line = line.substr(0, line.find(',')) + ",10";
        writeFile(p, crlf(lines));
    });
    const std::string limits = readFile(data.input(dbh.name));
    check(dbh, {"1 of its 9 records", Expect::Refused, 0, 0},
          [&](const fs::path& p) { writeFile(p, splitLines(limits).front() + "\r\n"); });
    check(dbh, {"a species-product class left out", Expect::Refused, 0, 0}, [&](const fs::path& p) {
        std::vector<std::string> lines = splitLines(limits);
        lines.erase(lines.begin() + 4);
        writeFile(p, crlf(lines));
    });
}

}  // namespace
}  // namespace orr::test
