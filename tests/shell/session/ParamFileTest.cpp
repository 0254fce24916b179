// PARAMETER.PRM: the packed little-endian record and its writing at offset 0.
#include <gtest/gtest.h>

#include "shell/session/Startup.h"
#include "tests/support/TestFiles.h"

namespace orr {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out.push_back(static_cast<char>(v));
    return out;
}

TEST(ParamRecordBytes, DefaultsAreTheTwentyTwoKnownBytes) {
    EXPECT_EQ(encodeParamRecord(ParamRecord::defaults()),
              bytes({0x14, 0x00, 0x02, 0x00, 0x03, 0x00, 0x64, 0x00, 0xDC, 0x05, 0x01,
                     0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
}

TEST(ParamRecordBytes, FieldsAreLittleEndianSignedAndFloatsIeee) {
    const ParamRecord p{-2, 300, 1, 32767, -32768, 0, 1, 4.5f, -1.0f};
    // 4.5f is 0x40900000, -1.0f is 0xBF800000.
    const std::string expected =
        bytes({0xFE, 0xFF, 0x2C, 0x01, 0x01, 0x00, 0xFF, 0x7F, 0x00, 0x80, 0x00,
               0x00, 0x01, 0x00, 0x00, 0x00, 0x90, 0x40, 0x00, 0x00, 0x80, 0xBF});
    EXPECT_EQ(encodeParamRecord(p), expected);
    EXPECT_EQ(decodeParamRecord(expected), p);
}

TEST(ParamRecordBytes, ShortRecordsDoNotDecodeAndBytesBeyondTheRecordAreIgnored) {
    const std::string record = encodeParamRecord(ParamRecord::defaults());
    EXPECT_EQ(decodeParamRecord(""), std::nullopt);
    EXPECT_EQ(decodeParamRecord(record.substr(0, 21)), std::nullopt);
    EXPECT_EQ(decodeParamRecord(record + "trailing"), ParamRecord::defaults());
}

TEST(SaveParameters, WritesAtOffsetZeroWithoutTruncating) {
    TempDir dir;
    writeFile(paramFilePath(dir.path()), std::string(22, 'x') + "TAIL");
    ParamRecord p = ParamRecord::defaults();
    p.MaxSpec = 4;
    saveParameters(dir.path(), p);
    EXPECT_EQ(readFile(paramFilePath(dir.path())), encodeParamRecord(p) + "TAIL");
}

TEST(SaveParameters, CreatesAMissingFile) {
    TempDir dir;
    saveParameters(dir.path(), ParamRecord::defaults());
    EXPECT_EQ(readFile(dir / "PARAMETER.PRM"), encodeParamRecord(ParamRecord::defaults()));
}

TEST(SaveParameters, AFailureNamesThePathAndTheReason) {
    TempDir dir;
    try {
        saveParameters(dir / "missing", ParamRecord::defaults());
        FAIL() << "wrote into a directory that does not exist";
    } catch (const std::runtime_error& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find((dir / "missing" / "PARAMETER.PRM").string()), std::string::npos)
            << message;
        EXPECT_NE(message.find("No such file or directory"), std::string::npos) << message;
    }
}

}  // namespace
}  // namespace orr
