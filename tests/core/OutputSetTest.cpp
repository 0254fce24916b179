// All-or-nothing outputs: nothing reaches a final name before commit, and a failure anywhere
// leaves every earlier file whole.
#include <gtest/gtest.h>

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
    {
        OutputSet out;
        out.file(dir / "a.csv").append("new a\r\n");
        out.file(dir / "big.csv").append(big);
        // Dropped without commit: the step stopped. Its temporary files go with it.
    }
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a.csv", "b.csv"}));
    EXPECT_EQ(readFile(dir / "a.csv"), "old a\r\n");

    OutputSet out;
    out.file(dir / "b.csv");  // nothing written: the old file is removed, not kept
    out.file(dir / "a.csv").append("new ");
    out.file(dir / "big.csv").append(big);
    out.file(dir / "a.csv").append("a\r\n");  // the same path is the same file
    const auto written = out.commit();
    EXPECT_EQ(written, (std::vector<std::filesystem::path>{dir / "a.csv", dir / "big.csv"}));
    EXPECT_EQ(readFile(dir / "a.csv"), "new a\r\n");
    EXPECT_EQ(readFile(dir / "big.csv"), big);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a.csv", "big.csv"}));
    EXPECT_EQ(fileLength(dir / "none.csv"), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir / "none.csv"));  // a length test creates nothing
}

TEST(OutputSet, AFailureOnTheSecondOfSeveralOutputsLeavesThePreviousFilesWhole) {
    // The second output cannot be written (its directory is missing), or cannot be renamed
    // into place (a directory stands under its name), after the first was renamed.
    for (int how = 0; how < 2; ++how) {
        SCOPED_TRACE(how == 0 ? "write fails" : "final name taken by a directory");
        test::TempDir dir;
        writeFile(dir / "a.csv", "old a\r\n");
        writeFile(dir / "c.csv", "old c\r\n");
        std::filesystem::path second = dir / "missing" / "b.csv";
        if (how == 1) {
            second = dir / "b.csv";
            std::filesystem::create_directories(second / "inside");
        }
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

TEST(OutputSet, TemporaryNamesAreUniqueAndRecognised) {
    test::TempDir dir;
    OutputSet a, b;
    a.file(dir / "x.csv").append(std::string(2 << 20, 'a'));  // both spill now
    b.file(dir / "x.csv").append(std::string(2 << 20, 'b'));
    const auto names = namesIn(dir.path());
    ASSERT_EQ(names.size(), 2u);
    EXPECT_NE(names[0], names[1]);
    for (const auto& name : names) EXPECT_TRUE(isTemporaryOutputName(name)) << name;
    EXPECT_FALSE(isTemporaryOutputName("x.csv.tmp"));
    EXPECT_FALSE(isTemporaryOutputName("x.csv.~0123456789abcdeg.tmp"));
    b.commit();
    a.commit();  // the later commit wins, whole
    EXPECT_EQ(readFile(dir / "x.csv"), std::string(2 << 20, 'a'));
}

}  // namespace
}  // namespace orr
