// Start-up (the data directory, PARAMETER.PRM and the first log line, in that order), the
// packed parameter record, where the application directory is, and the lock of a data set.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "model/session/DataSetLock.h"
#include "model/session/Startup.h"
#include "model/session/UserDataDir.h"
#include "tests/support/TestFiles.h"

namespace orr::test {
namespace {

const std::string kDefaultBytes(
    "\x14\x00\x02\x00\x03\x00\x64\x00\xDC\x05\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 22);
const char* const kFirstLine = "Please perform Steps 1 through 4...\r\n";

Session sessionIn(const std::filesystem::path& appDir) {
    Session s;
    s.appDir = appDir;
    return s;
}

// A start without PARAMETER.PRM creates DATA FILES and the default parameter file.
TEST(Startup, AnEmptyOrShortParameterFileIsDeletedAndTheNextStartWritesTheDefaults) {
    for (std::size_t size : {0, 1, 21}) {
        SCOPED_TRACE(size);
        TempDir dir;
        writeFile(dir / "PARAMETER.PRM", kDefaultBytes.substr(0, size));
        Session s = sessionIn(dir.path());
        s.params = ParamRecord::defaults();
        const StartupResult r = startUp(s);
        EXPECT_FALSE(std::filesystem::exists(dir / "PARAMETER.PRM"));
        EXPECT_EQ(s.params, ParamRecord{});
        EXPECT_TRUE(r.paramFileWasEmpty);
        EXPECT_EQ(r.log, "");
        Session next = sessionIn(dir.path());
        const StartupResult first = startUp(next);
        EXPECT_EQ(first.log, kFirstLine);
        EXPECT_FALSE(first.paramFileWasEmpty);
        EXPECT_EQ(next.params, ParamRecord::defaults());
        EXPECT_TRUE(std::filesystem::is_directory(dir / "DATA FILES"));
        EXPECT_EQ(readFile(dir / "PARAMETER.PRM"), kDefaultBytes);
    }
}

// Each failure is an error naming the path and the system's reason; what was there stays.
TEST(Startup, FailuresNameThePathAndTheReason) {
    // What stands in the way (PARAMETER.PRM as a directory, the others as files), the application
    // directory and the path named, under the temporary directory, and the system's reason.
    const std::tuple<std::string, std::string, std::string, std::string> cases[] = {
        {"DATA FILES", "", "DATA FILES", ""},
        {"plain", "plain/app", "plain/app/DATA FILES", "Not a directory"},
        {"PARAMETER.PRM", "", "PARAMETER.PRM", ""},
    };
    for (const auto& [blocker, app, path, reason] : cases) {
        SCOPED_TRACE(path);
        TempDir dir;
        if (blocker == "PARAMETER.PRM")
            std::filesystem::create_directory(dir / blocker);
        else
            writeFile(dir / blocker, "x");
        Session s = sessionIn(dir / app);
        try {
            startUp(s);
            ADD_FAILURE() << "start-up went on";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find((dir / path).string()), std::string::npos)
                << e.what();
            EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
        }
        EXPECT_TRUE(std::filesystem::exists(dir / blocker));
    }
}

// One run at a time on a data set: a second one is refused at once with a message naming the
// first; the lock goes with its holder. Taking it tidies what a killed run left of the step
// outputs of that data set, and nothing else.
TEST(DataSetLock, ASecondRunIsRefusedNamingTheFirstAndLeftoversAreTidied) {
    TempDir dir;
    const std::filesystem::path data = dir / "DATA FILES";
    std::filesystem::create_directories(data);
    const std::vector<std::string> leftovers = {"ABC_PH2Plot.csv.~0123456789abcdef.tmp",
                                                "ABC_Regress.txt.~00000000000000ff.tmp"};
    const std::vector<std::string> kept = {"ABC_DBH.csv.~0123456789abcdef.tmp",
                                           "ABCD_PH2Plot.csv.~0123456789abcdef.tmp", "ABC_DBH.csv"};
    for (const auto& name : leftovers) writeFile(data / name, "x");
    for (const auto& name : kept) writeFile(data / name, "x");
    {
        const DataSetLock first = DataSetLock::acquire(data, "ABC", "orravant-cli run");
        ASSERT_EQ(first.notes().size(), 1u);
        for (const auto& name : leftovers) {
            EXPECT_FALSE(std::filesystem::exists(data / name)) << name;
            EXPECT_NE(first.notes()[0].find(name), std::string::npos) << first.notes()[0];
        }
        for (const auto& name : kept) EXPECT_TRUE(std::filesystem::exists(data / name)) << name;
        // The message naming the first run is checked where a run meets it (RunGuards, Workflow).
        EXPECT_THROW(DataSetLock::acquire(data, "ABC", "the Orravant window"), DataSetBusy);
        // Another data set of the same directory is free.
        EXPECT_NO_THROW(DataSetLock::acquire(data, "ABCD", "the Orravant window"));
    }
    EXPECT_TRUE(DataSetLock::acquire(data, "ABC", "the Orravant window").notes().empty());
    EXPECT_FALSE(std::filesystem::exists(data / "ABC.lock"));
}

TEST(ParamRecordBytes, FieldsAreLittleEndianSignedAndFloatsIeee) {
    const ParamRecord p{-2, 300, 1, 32767, -32768, 0, 1, 4.5f, -1.0f};
    // 4.5f is 0x40900000, -1.0f is 0xBF800000.
    const unsigned char raw[] = {0xFE, 0xFF, 0x2C, 0x01, 0x01, 0x00, 0xFF, 0x7F, 0x00, 0x80, 0x00,
                                 0x00, 0x01, 0x00, 0x00, 0x00, 0x90, 0x40, 0x00, 0x00, 0x80, 0xBF};
    const std::string expected(reinterpret_cast<const char*>(raw), sizeof raw);
    EXPECT_EQ(encodeParamRecord(p), expected);
    EXPECT_EQ(decodeParamRecord(expected), p);
}

// Parameters are written at offset 0 of a longer file and read back from there, the rest kept
// after the program's own extensions;
// a MaxPlots past 16 bits survives a restart; one that fits leaves the 22 bytes as they always
// were; a damaged extension is never read as a plot count.
TEST(SaveParameters, AMaxPlotsPast16BitsFollowsTheRecordAndOneThatFitsDoesNot) {
    TempDir dir;
    const std::filesystem::path file = paramFilePath(dir.path());
    writeFile(file, std::string(22, 'x') + "TAIL");  // written at offset 0 without truncating
    ParamRecord p = ParamRecord::defaults();
    p.MaxSpec = 4;
    saveParameters(dir.path(), p);
    EXPECT_EQ(readFile(file), encodeParamRecord(p) + "TAIL");
    Session s = sessionIn(dir.path());
    EXPECT_EQ(startUp(s).log, kFirstLine);
    EXPECT_EQ(s.params, p);
    EXPECT_EQ(readFile(file), encodeParamRecord(p) + "TAIL");
    p.MaxPlots = 1000000;
    saveParameters(dir.path(), p);
    const std::string bytes = readFile(file);
    ASSERT_EQ(bytes.size(), 38u);  // the extension comes before the bytes of other origin
    EXPECT_EQ(bytes.substr(8, 2), std::string("\x00\x80", 2));  // the marker, -32768
    // "MaxP", 1000000 = 0x000F4240 and its complement, little-endian.
    EXPECT_EQ(bytes.substr(22), std::string("MaxP\x40\x42\x0F\x00\xBF\xBD\xF0\xFF", 12) + "TAIL");
    Session restarted = sessionIn(dir.path());
    startUp(restarted);
    EXPECT_EQ(restarted.params, p);

    std::string damaged = bytes;
    damaged[33] = 0;  // the check no longer matches
    EXPECT_EQ(decodeParamRecord(damaged)->MaxPlots, kMaxPlotsMarker);
    EXPECT_EQ(decodeParamRecord(bytes.substr(0, 22))->MaxPlots, kMaxPlotsMarker);

    p.MaxPlots = 32767;
    saveParameters(dir.path(), p);
    EXPECT_EQ(readFile(file), encodeParamRecord(p) + "TAIL");
    EXPECT_EQ(readFile(file).substr(8, 2), std::string("\xFF\x7F", 2));
}

// The later settings follow the record (and a MaxPlots extension) only when one differs from its
// default; they survive a restart, an older file reads as the defaults, another save replaces
// them, and bytes of other origin after them stay.
TEST(SaveParameters, LaterSettingsFollowTheRecordOnlyWhenTheyDifferFromTheDefaults) {
    TempDir dir;
    const std::filesystem::path file = paramFilePath(dir.path());
    ParamRecord p = ParamRecord::defaults();
    saveParameters(dir.path(), p);
    EXPECT_EQ(readFile(file).size(), 22u);
    p.LidarClasses = 1;
    p.GroundPlotCost = 12.5;
    p.MaxPlots = 40000;
    saveParameters(dir.path(), p);
    const std::string text = "LidarClasses=1\nGroundPlotCost=12.5\n";
    EXPECT_EQ(readFile(file), encodeParamRecord(p) + encodeMaxPlotsExtension(p) + "Opts" +
                                  std::string("\x23\x00\x00\x00\xDC\xFF\xFF\xFF", 8) + text);
    Session restarted = sessionIn(dir.path());
    startUp(restarted);
    EXPECT_EQ(restarted.params, p);

    writeFile(file, readFile(file) + "TAIL");
    p.GroundPlotCost = 10;
    p.TargetError = 5;
    saveParameters(dir.path(), p);
    EXPECT_EQ(readFile(file), encodeParamRecord(p) + encodeMaxPlotsExtension(p) +
                                  encodeSettingsExtension(p) + "TAIL");
    EXPECT_EQ(*decodeParamRecord(readFile(file)), p);

    // A damaged length check leaves the defaults; a value that is no number reads out of range.
    std::string damaged = encodeParamRecord(p) + encodeSettingsExtension(p);
    damaged[30] = 0;
    EXPECT_EQ(decodeParamRecord(damaged)->TargetError, 10);
    const std::string bad = "TargetError=ten\n";
    const std::string badBytes =
        encodeParamRecord(p) + "Opts" + std::string("\x10\x00\x00\x00\xEF\xFF\xFF\xFF", 8) + bad;
    EXPECT_TRUE(std::isnan(decodeParamRecord(badBytes)->TargetError));
    p = ParamRecord::defaults();
    saveParameters(dir.path(), p);
    EXPECT_EQ(readFile(file), encodeParamRecord(p) + "TAIL");
}

// The application directory: the one given, else the executable's when writable, else the
// data home when absolute, else the home's local share.
TEST(AppDir, ExplicitThenTheExecutablesDirectoryThenTheUsersDataDirectory) {
    EXPECT_EQ(resolveAppDir(std::filesystem::path("/some/where")), "/some/where");
    const auto exe = std::filesystem::read_symlink("/proc/self/exe");
    ASSERT_EQ(::access(exe.parent_path().c_str(), W_OK), 0);  // the build tree
    EXPECT_EQ(resolveAppDir(std::nullopt), exe.parent_path());
    EXPECT_EQ(userDataDir("/data/home", "/home/u"), "/data/home/Orravant");
    EXPECT_EQ(userDataDir("", "/home/u"), "/home/u/.local/share/Orravant");
    EXPECT_EQ(userDataDir("rel/dir", "/home/u"), "/home/u/.local/share/Orravant");
    EXPECT_THROW(userDataDir("", ""), std::runtime_error);
}

}  // namespace
}  // namespace orr::test
