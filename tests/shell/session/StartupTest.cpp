// Start-up: the data directory, PARAMETER.PRM and the first log line, in that order.
#include <gtest/gtest.h>

#include "shell/session/Startup.h"
#include "tests/support/TestFiles.h"

namespace orr {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

const char* const kDefaultBytes =
    "\x14\x00\x02\x00\x03\x00\x64\x00\xDC\x05\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00";
const char* const kFirstLine = "Please perform Steps 1 through 4...\r\n";

Session sessionIn(const std::filesystem::path& dir) {
    Session s;
    s.appDir = dir;
    return s;
}

TEST(Startup, FirstStartCreatesDataFilesAndTheDefaultParameterFile) {
    TempDir dir;
    Session s = sessionIn(dir.path());
    const StartupResult r = startUp(s);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "DATA FILES"));
    EXPECT_EQ(readFile(dir / "PARAMETER.PRM"), std::string(kDefaultBytes, 22));
    EXPECT_EQ(s.params, ParamRecord::defaults());
    EXPECT_FALSE(r.paramFileWasEmpty);
    EXPECT_EQ(r.log, kFirstLine);
}

TEST(Startup, ASecondStartLeavesDataFilesAndParametersAsTheyAre) {
    TempDir dir;
    std::filesystem::create_directory(dir / "DATA FILES");
    writeFile(dir / "DATA FILES" / "ABC_COEFFIC.csv", "1,2,3,4\r\n");
    ParamRecord stored{7, 3, 4, 50, 200, 0, 1, 4.0f, 2.5f};
    saveParameters(dir.path(), stored);
    Session s = sessionIn(dir.path());
    const StartupResult r = startUp(s);
    EXPECT_EQ(s.params, stored);
    EXPECT_EQ(r.log, kFirstLine);
    EXPECT_EQ(readFile(dir / "DATA FILES" / "ABC_COEFFIC.csv"), "1,2,3,4\r\n");
    EXPECT_EQ(readFile(dir / "PARAMETER.PRM"), encodeParamRecord(stored));
}

TEST(Startup, AnEmptyParameterFileIsDeletedAndAllParametersReadZero) {
    TempDir dir;
    writeFile(dir / "PARAMETER.PRM", "");
    Session s = sessionIn(dir.path());
    s.params = ParamRecord::defaults();
    const StartupResult r = startUp(s);
    EXPECT_FALSE(std::filesystem::exists(dir / "PARAMETER.PRM"));
    EXPECT_EQ(s.params, ParamRecord{});
    EXPECT_TRUE(r.paramFileWasEmpty);
    EXPECT_EQ(r.log, "");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "DATA FILES"));
    // The next start writes the defaults again.
    Session next = sessionIn(dir.path());
    EXPECT_EQ(startUp(next).log, kFirstLine);
    EXPECT_EQ(readFile(dir / "PARAMETER.PRM"), std::string(kDefaultBytes, 22));
}

TEST(Startup, AShortParameterFileCountsAsEmpty) {
    TempDir dir;
    writeFile(dir / "PARAMETER.PRM", std::string(kDefaultBytes, 21));
    Session s = sessionIn(dir.path());
    const StartupResult r = startUp(s);
    EXPECT_FALSE(std::filesystem::exists(dir / "PARAMETER.PRM"));
    EXPECT_EQ(s.params, ParamRecord{});
    EXPECT_TRUE(r.paramFileWasEmpty);
    EXPECT_EQ(r.log, "");
}

TEST(Startup, ALongerParameterFileIsReadFromOffsetZeroAndKept) {
    TempDir dir;
    const std::string content = std::string(kDefaultBytes, 22) + "more";
    writeFile(dir / "PARAMETER.PRM", content);
    Session s = sessionIn(dir.path());
    startUp(s);
    EXPECT_EQ(s.params, ParamRecord::defaults());
    EXPECT_EQ(readFile(dir / "PARAMETER.PRM"), content);
}

TEST(Startup, ADataDirectoryThatCannotBeMadeIsAnErrorNamingIt) {
    TempDir dir;
    writeFile(dir / "DATA FILES", "a file, not a directory");
    Session s = sessionIn(dir.path());
    try {
        startUp(s);
        FAIL() << "start-up went on without a data directory";
    } catch (const std::runtime_error& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find((dir / "DATA FILES").string()), std::string::npos) << message;
    }
}

TEST(Startup, AnApplicationDirectoryUnderAFileIsAnErrorWithTheSystemsReason) {
    TempDir dir;
    writeFile(dir / "plain", "x");
    Session s = sessionIn(dir / "plain" / "app");
    try {
        startUp(s);
        FAIL() << "start-up went on without a data directory";
    } catch (const std::runtime_error& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find((dir / "plain" / "app" / "DATA FILES").string()), std::string::npos)
            << message;
        EXPECT_NE(message.find("Not a directory"), std::string::npos) << message;
    }
}

TEST(Startup, AParameterFileThatIsADirectoryIsNotDeleted) {
    TempDir dir;
    std::filesystem::create_directory(dir / "PARAMETER.PRM");
    Session s = sessionIn(dir.path());
    EXPECT_THROW(startUp(s), std::runtime_error);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "PARAMETER.PRM"));
}

TEST(DataSetPath, IsTheDataDirectoryThenTheNameThenTheSuffix) {
    Session s = sessionIn("/opt/app");
    s.DataSetName = "ABC";
    EXPECT_EQ(s.dataSetFile("_COEFFIC.csv"),
              std::filesystem::path("/opt/app/DATA FILES/ABC_COEFFIC.csv"));
}

}  // namespace
}  // namespace orr
