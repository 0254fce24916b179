// The fingerprints of a step's files: taken from the bytes as they are read or written, never by
// reading a file again; a file hashed whole earlier in the process is hashed again as soon as
// anything the file system says of it has changed, or when it had changed just before it was
// hashed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <string>

#include "core/CommaReader.h"
#include "core/OutputSet.h"
#include "files/FileFingerprint.h"
#include "tests/support/TestFiles.h"

namespace orr::test {
namespace {

// Sets the file's modification time an hour back, as a file made long before the run.
void ageFile(const std::filesystem::path& file) {
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    timespec times[2] = {info.st_atim, info.st_mtim};
    times[1].tv_sec -= 3600;
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
}

void readThrough(const std::filesystem::path& file) {
    CommaReader reader(file, 64);
    while (reader.next(2)) {
    }
}

// Reads the file through while `prints` watches.
void readWatched(files::ReadFingerprints& prints, const std::filesystem::path& file) {
    const ScopedReadWatch watch(prints);
    readThrough(file);
}

TEST(Fingerprints, AnOutputIsHashedAsItIsWrittenAndOnlyOnceCommitted) {
    TempDir dir;
    files::ReadFingerprints prints;
    const ScopedReadWatch watch(prints);
    {
        OutputSet outputs;
        OutputFile& big = outputs.file(dir / "big.csv");
        // More than a piece of a mebibyte: written in several pieces.
        for (int i = 0; i < 300000; ++i) big.append(std::to_string(i) + ",12.5\r\n");
        OutputFile& empty = outputs.file(dir / "empty.csv");
        empty.keepWhenEmpty();
        EXPECT_EQ(prints.ofWritten(dir / "big.csv"), std::nullopt);  // not in place yet
        outputs.commit();
    }
    EXPECT_EQ(prints.ofWritten(dir / "big.csv"), files::fingerprint(dir / "big.csv"));
    EXPECT_EQ(prints.ofWritten(dir / "empty.csv"), files::fingerprint(dir / "empty.csv"));
    {
        OutputSet dropped;
        dropped.file(dir / "dropped.csv").append("1,2\r\n");
    }  // never committed
    EXPECT_EQ(prints.ofWritten(dir / "dropped.csv"), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(dir / "dropped.csv"));
}

// Files changed just now count as settled: a test cannot age a file's change time.
class RememberedFingerprints : public ::testing::Test {
  protected:
    RememberedFingerprints() {
        files::forgetRememberedFingerprints();
        files::setSettledAfterForTests(std::chrono::nanoseconds(0));
    }
    ~RememberedFingerprints() override {
        files::setSettledAfterForTests(std::chrono::seconds(2));
        files::forgetRememberedFingerprints();
    }
};

TEST_F(RememberedFingerprints, AFileUnchangedSinceItWasHashedIsNotHashedAgain) {
    TempDir dir;
    const auto file = dir / "lidar.csv";
    writeFile(file, "1,12.5\r\n1,13.5\r\n");
    ageFile(file);
    files::ReadFingerprints first;
    readWatched(first, file);
    EXPECT_EQ(first.of(file), files::fingerprint(file));
    // The next step: the file is known, no sink hears its bytes, the fingerprint is the same.
    files::ReadFingerprints second;
    EXPECT_EQ(second.opened(file), nullptr);
    EXPECT_EQ(second.of(file), files::fingerprint(file));

    // Other bytes in the same size, the modification time set back to the same: the change
    // time tells.
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    writeFile(file, "1,12.5\r\n1,14.5\r\n");
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    files::ReadFingerprints third;
    readWatched(third, file);
    EXPECT_EQ(third.of(file), files::fingerprint(file));
    EXPECT_NE(third.of(file), second.of(file));
}

TEST_F(RememberedFingerprints, AFileChangedJustBeforeItWasHashedIsHashedAgain) {
    files::setSettledAfterForTests(std::chrono::seconds(2));
    TempDir dir;
    const auto file = dir / "fresh.csv";
    writeFile(file, "1,12.5\r\n");  // changed now: a change within the same tick would not show
    files::ReadFingerprints first;
    readWatched(first, file);
    EXPECT_EQ(first.of(file), files::fingerprint(file));
    files::ReadFingerprints second;
    EXPECT_NE(second.opened(file), nullptr);
}

}  // namespace
}  // namespace orr::test
