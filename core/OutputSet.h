// The output files of one step, written all or nothing. Each file is written to a temporary file
// of a name no other run uses, beside its final name; commit() first finishes every temporary
// file (written, flushed to the disk, closed) and only then renames them all over their final
// names. A stop, a cancel, a failed write or a failed rename leaves every previous file whole.
//
// A run killed during the renames cannot undo them itself. Before the first of two or more
// renames, commit() therefore writes a commit journal beside the files that lists them, and
// removes it after the last; recoverOutputs(), called at the next start of a step on the same
// files, finds such a journal and completes the renames (every temporary file was whole before
// the first rename, so the commit is rolled forward), and removes temporary files left behind.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/FileReads.h"

namespace orr {

class OutputFile {
  public:
    // Adds text to the file. Text is kept in memory and written to the temporary file in pieces
    // of about a quarter of a mebibyte, so a large output never has to fit in memory; each piece
    // then starts on its way to the disk, so that the commit finds little left to wait for.
    void append(std::string_view text);
    // Bytes appended so far.
    std::uintmax_t size() const { return written_ + buffer_.size(); }
    const std::filesystem::path& finalPath() const { return final_; }
    // An output with nothing in it is normally not kept (its final file is removed); this one is
    // written even when empty.
    void keepWhenEmpty() { keepEmpty_ = true; }
    // The text so far goes to the disk now, on a thread of its own, while the step goes on with
    // other work: a file that is whole long before the commit (the first pass's) is then on the
    // disk when the commit comes, which only waits for it. A failure is reported by the commit.
    void toDiskAhead();

    explicit OutputFile(std::filesystem::path finalPath) : final_(std::move(finalPath)) {}
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

  private:
    friend class OutputSet;
    void spill();    // writes the buffer to the temporary file, opening it first
    void finish();   // spill, flush to the disk, close
    void discard();  // close and remove the temporary file
    [[noreturn]] void failed(std::string_view what, int err);

    std::filesystem::path final_;
    std::filesystem::path temp_;
    std::FILE* file_ = nullptr;
    std::string buffer_;
    std::uintmax_t written_ = 0;
    long long started_ = 0;  // the bytes sent on their way to the disk so far (whole pages)
    // The watches of the files written (FileReads.h), asked when the file is started; null
    // when none is set.
    std::unique_ptr<ReadReport> watched_;
    // toDiskAhead's thread and the error of its flush to the disk (0: none).
    std::thread toDisk_;
    int toDiskError_ = 0;
    void waitForDisk();
    // Writes what is left in memory to the temporary file and hands it to the system.
    void handToSystem();
    bool keepEmpty_ = false;
    bool writes() const { return size() > 0 || keepEmpty_; }
};

class OutputSet {
  public:
    OutputSet() = default;
    ~OutputSet();  // removes the temporary files of a set that was not committed
    OutputSet(const OutputSet&) = delete;
    OutputSet& operator=(const OutputSet&) = delete;

    // The file of that final path; the same path gives the same file.
    OutputFile& file(const std::filesystem::path& finalPath);

    // Finishes every file, then renames each over its final name; a file with nothing in it
    // removes its final file instead (an empty output is not kept). When a rename fails, the
    // files already replaced get their previous contents back. Throws std::runtime_error naming
    // the final path and the system's reason (every write, flush and close is checked). Returns
    // the files written, in the order first asked for.
    std::vector<std::filesystem::path> commit();

  private:
    void discardAll();
    std::vector<std::unique_ptr<OutputFile>> files_;
    bool committed_ = false;
};

// Only for tests that play a run killed in the middle of a commit: when set, it is called once
// the journal is written and after each rename, with the number of renames done; it may end the
// process there.
extern void (*afterCommitRenameForTests)(std::size_t renamesDone);

// One file written through OutputSet: all of `content` or nothing under `path`.
void writeFileAtomically(const std::filesystem::path& path, std::string_view content);

// The bytes of the open file `fd` from where it stands to its end, `fd` closed after; nullopt
// when there are more than `most`, read no further. Throws std::system_error with the system's
// error when it cannot be read.
std::optional<std::string> readToEndAtMost(int fd, std::size_t most);

// Size of a file; 0 when it does not exist or is not a regular file. Never creates anything.
std::uintmax_t fileLength(const std::filesystem::path& path);

// The temporary files' names end in ".~<16 hex digits>.tmp" after the final name, the commit
// journals' in ".~<16 hex digits>.journal" after the final name of the set's first file.
bool isTemporaryOutputName(std::string_view fileName);

// What recoverOutputs() found and did.
struct RecoveredOutputs {
    // Final files whose interrupted commit was completed (the new file put in place or, for an
    // empty output, the old one removed).
    std::vector<std::filesystem::path> completed;
    // Temporary files of unfinished runs that were removed.
    std::vector<std::filesystem::path> removed;
};
// Finishes the commits that a killed run left in `dir` and removes its temporary files, for the
// final names that `ours` accepts (a journal belongs to the final name of its set's first file).
// A complete journal is rolled forward: each temporary file it lists that is still there is
// renamed over its final name, each final file listed for removal is removed. A journal cut short
// was written before any rename and is dropped with its temporary files. A journal is followed
// only as far as it is the program's own: a regular file (never a link) of at most a mebibyte
// whose every entry is a bare name in `dir` of a final file that `ours` accepts, or of that
// file's temporary file. Any other journal is refused before anything is renamed: it throws
// std::runtime_error naming the journal and what it names, and the journal is left in place.
// Call it only while no
// other run can be writing those files (under the data set's lock). Throws std::runtime_error
// naming the path and the system's reason when a file cannot be renamed or removed.
RecoveredOutputs recoverOutputs(const std::filesystem::path& dir,
                                const std::function<bool(std::string_view finalName)>& ours);

}  // namespace orr
