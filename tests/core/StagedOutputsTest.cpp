#include <gtest/gtest.h>

#include "core/StagedOutputs.h"
#include "tests/support/TestFiles.h"

namespace orr {
namespace {

TEST(StagedOutputs, NothingReachesTheDiskBeforeCommit) {
    test::TempDir dir;
    test::writeFile(dir / "a.csv", "old a\r\n");
    test::writeFile(dir / "b.csv", "old b\r\n");
    {
        StagedOutputs out;
        out.file(dir / "a.csv") += "new a\r\n";
        out.file(dir / "b.csv");
        // Dropped without commit: the step stopped.
    }
    EXPECT_EQ(test::readFile(dir / "a.csv"), "old a\r\n");
    EXPECT_EQ(test::readFile(dir / "b.csv"), "old b\r\n");

    StagedOutputs out;
    out.file(dir / "b.csv");
    out.file(dir / "a.csv") += "new a\r\n";
    out.file(dir / "c.csv") += "c\r\n";
    auto written = out.commit();
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0], dir / "a.csv");
    EXPECT_EQ(written[1], dir / "c.csv");
    EXPECT_EQ(test::readFile(dir / "a.csv"), "new a\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "b.csv"));  // an empty output is not kept
    EXPECT_FALSE(std::filesystem::exists(dir / "a.csv.tmp"));
    EXPECT_EQ(fileLength(dir / "c.csv"), 3u);
    EXPECT_EQ(fileLength(dir / "none.csv"), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir / "none.csv"));  // a length test creates nothing
}

TEST(StagedOutputs, AFailedWriteNamesThePath) {
    test::TempDir dir;
    StagedOutputs out;
    out.file(dir / "missing-dir" / "x.csv") += "x\r\n";
    try {
        out.commit();
        FAIL() << "commit into a missing directory succeeded";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("missing-dir/x.csv"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace orr
