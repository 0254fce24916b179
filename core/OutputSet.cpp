#include "core/OutputSet.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <system_error>

#include "core/FileReads.h"
#include "core/InputError.h"
#include "core/RandomStreams.h"

namespace orr {

namespace {

constexpr std::size_t kSpillBytes = std::size_t{1} << 18;
constexpr std::string_view kTempMark = ".~";
constexpr std::string_view kTempEnd = ".tmp";
constexpr std::string_view kJournalEnd = ".journal";
constexpr std::size_t kTempHexDigits = 16;

// The commit journal: a header, then one entry per final file, then the end mark, each part
// ended by a NUL byte (no file name holds one). "R", temporary name, final name: the temporary
// file replaces the final file; "D", final name: the final file is removed. Names are relative
// to the journal's directory when the file lies there.
constexpr std::string_view kJournalHeader = "orravant commit journal 1";
constexpr std::string_view kJournalReplace = "R";
constexpr std::string_view kJournalRemove = "D";
constexpr std::string_view kJournalEndMark = "E";

// A name no other run, thread or earlier temporary file uses: the process, a counter and the
// clock mixed together, with the random device when it answers.
std::string uniqueSuffix(std::string_view end = kTempEnd) {
    static std::atomic<std::uint64_t> counter{0};
    std::uint64_t x = static_cast<std::uint64_t>(::getpid()) << 32;
    x ^= counter.fetch_add(1) * 0x9e3779b97f4a7c15ULL;
    x ^= static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    try {
        std::random_device device;
        x ^= (static_cast<std::uint64_t>(device()) << 32) ^ device();
    } catch (...) {
        // The clock and the counter still make the name unique within this machine.
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text(kTempMark);
    std::uint64_t bits = mix(x);
    for (std::size_t i = 0; i < kTempHexDigits; ++i, bits >>= 4) text += kHex[bits & 15];
    text += end;
    return text;
}

// The final name a temporary or journal name was made from; empty when `name` is neither with
// the given end.
std::string_view finalNameOf(std::string_view name, std::string_view end) {
    if (name.size() <= kTempMark.size() + kTempHexDigits + end.size()) return {};
    if (name.substr(name.size() - end.size()) != end) return {};
    const std::size_t mark = name.size() - end.size() - kTempHexDigits - kTempMark.size();
    if (name.substr(mark, kTempMark.size()) != kTempMark) return {};
    for (char c : name.substr(mark + kTempMark.size(), kTempHexDigits)) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return {};
    }
    return name.substr(0, mark);
}

// Flushes a file to the disk: 0, or the system's error number of the failure. A file system that
// cannot flush (EINVAL, EROFS) has nothing to flush, which is no failure.
int syncToDisk(int fd) {
    if (::fsync(fd) == 0 || errno == EINVAL || errno == EROFS) return 0;
    return errno;
}

// Writes all of `bytes` to a new file, flushed to the disk. Returns 0, or the system's error
// number of the first step that failed (the file is then removed).
int writeNewFile(const std::filesystem::path& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return errno;
    int err = 0;
    for (std::size_t done = 0; done < bytes.size() && err == 0;) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR) err = errno;
        if (n > 0) done += static_cast<std::size_t>(n);
    }
    if (err == 0) err = syncToDisk(fd);
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err != 0) std::remove(path.c_str());
    return err;
}

// Makes the renames and removals in a directory durable (a file system without directory sync
// has nothing to do).
void syncDirectory(const std::filesystem::path& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::string journalName(const std::filesystem::path& journalDir, const std::filesystem::path& p) {
    return p.parent_path() == journalDir ? p.filename().string() : p.string();
}

// A journal is never larger than this: a few entries of file names.
constexpr std::size_t kShownNameCharacters = 200;  // of a name in a refused journal's message
constexpr std::size_t kMostJournalBytes = std::size_t{1} << 20;

[[noreturn]] void refuseJournal(const std::filesystem::path& journal, std::string_view problem) {
    throw std::runtime_error("The commit journal " + shownPath(journal) + " " +
                             std::string(problem) +
                             "; it is not followed and is left in place, and no file was "
                             "renamed or removed. Remove it when no run is using the data set.");
}

// The journal's bytes, read without following a link and with a bound.
std::string readJournal(const std::filesystem::path& journal) {
    const int fd = ::open(journal.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP) refuseJournal(journal, "is a symbolic link");
        throwFileFailure("Cannot read", journal, errno);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        refuseJournal(journal, "is not a regular file");
    }
    std::optional<std::string> bytes;
    try {
        bytes = readToEndAtMost(fd, kMostJournalBytes);
    } catch (const std::system_error& e) {
        throwFileFailure("Cannot read", journal, e.code().value());
    }
    if (!bytes) refuseJournal(journal, "is larger than any journal this program writes");
    return std::move(*bytes);
}

// A name a journal may hold: a bare file name in the journal's own folder.
bool isBareName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

// Rolls a journal forward; a journal cut short is only removed (no rename had started). Every
// entry of a complete journal is checked before anything is renamed: it names only the final
// files that `ours` accepts, and their temporary files, by bare name in the journal's folder.
void replayJournal(const std::filesystem::path& journal,
                   const std::function<bool(std::string_view finalName)>& ours,
                   RecoveredOutputs& done) {
    const std::string bytes = readJournal(journal);
    std::vector<std::string_view> parts;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t nul = bytes.find('\0', at);
        if (nul == std::string::npos) break;  // a part cut short: the journal is incomplete
        parts.push_back(std::string_view(bytes).substr(at, nul - at));
        at = nul + 1;
    }
    const bool complete =
        !parts.empty() && parts.front() == kJournalHeader && parts.back() == kJournalEndMark;
    const std::filesystem::path dir = journal.parent_path();
    struct Entry {
        std::string_view temp;  // empty: the final file is removed
        std::string_view final;
    };
    std::vector<Entry> entries;
    const auto checkFinal = [&](std::string_view name) {
        if (!isBareName(name) || !ours(name))
            refuseJournal(journal, "names \"" + shownText(name, kShownNameCharacters) +
                                       "\", which is not an output of its data set in its folder");
    };
    for (std::size_t i = 1; complete && i + 1 < parts.size();) {
        if (parts[i] == kJournalReplace && i + 3 < parts.size()) {
            const std::string_view temp = parts[i + 1];
            const std::string_view final = parts[i + 2];
            checkFinal(final);
            if (!isBareName(temp) || finalNameOf(temp, kTempEnd) != final)
                refuseJournal(journal, "names \"" + shownText(temp, kShownNameCharacters) +
                                           "\", which is not a temporary file of " +
                                           shownText(final));
            entries.push_back({temp, final});
            i += 3;
        } else if (parts[i] == kJournalRemove && i + 2 < parts.size()) {
            checkFinal(parts[i + 1]);
            entries.push_back({{}, parts[i + 1]});
            i += 2;
        } else {
            refuseJournal(journal, "holds an entry this program does not write");
        }
    }
    for (const Entry& entry : entries) {
        const std::filesystem::path final = dir / entry.final;
        std::error_code ec;
        if (!entry.temp.empty()) {
            const std::filesystem::path temp = dir / entry.temp;
            const auto status = std::filesystem::symlink_status(temp, ec);
            if (!std::filesystem::exists(status)) continue;
            if (!std::filesystem::is_regular_file(status))
                refuseJournal(journal,
                              "lists " + shownText(entry.temp) + ", which is not a regular file");
            std::filesystem::rename(temp, final, ec);
            if (ec) {
                throw std::runtime_error("Cannot complete the replacement of " + final.string() +
                                         ": " + ec.message());
            }
            done.completed.push_back(final);
        } else {
            if (std::filesystem::remove(final, ec)) done.completed.push_back(final);
            if (ec) {
                throw std::runtime_error("Cannot complete the removal of " + final.string() + ": " +
                                         ec.message());
            }
        }
    }
    syncDirectory(dir);
    std::error_code ec;
    std::filesystem::remove(journal, ec);
    if (ec) throw std::runtime_error("Cannot remove " + journal.string() + ": " + ec.message());
}

}  // namespace

void (*afterCommitRenameForTests)(std::size_t renamesDone) = nullptr;

bool isTemporaryOutputName(std::string_view name) {
    return !finalNameOf(name, kTempEnd).empty();
}

RecoveredOutputs recoverOutputs(const std::filesystem::path& dir,
                                const std::function<bool(std::string_view finalName)>& ours) {
    RecoveredOutputs done;
    std::vector<std::filesystem::path> journals, temporaries;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (const std::string_view final = finalNameOf(name, kJournalEnd);
            !final.empty() && ours(final)) {
            journals.push_back(it->path());
        } else if (const std::string_view made = finalNameOf(name, kTempEnd);
                   !made.empty() && ours(made)) {
            temporaries.push_back(it->path());
        }
    }
    if (ec)
        throw std::runtime_error("Cannot read the directory " + dir.string() + ": " + ec.message());
    // The journals first: the temporary files they list are the new outputs.
    std::sort(journals.begin(), journals.end());
    for (const auto& journal : journals) replayJournal(journal, ours, done);
    for (const auto& temp : temporaries) {
        if (std::filesystem::remove(temp, ec)) done.removed.push_back(temp);
        if (ec) throw std::runtime_error("Cannot remove " + temp.string() + ": " + ec.message());
    }
    return done;
}

OutputFile::~OutputFile() {
    discard();
}

// Names the final file: the temporary one is the program's business, not the user's.
void OutputFile::failed(std::string_view what, int err) {
    throwFileFailure("Cannot " + std::string(what), final_, err);
}

void OutputFile::append(std::string_view text) {
    // The buffer takes its full size at once: grown by doubling, it would copy its text again
    // at every step and take fresh memory each time, which costs more than the copies.
    if (buffer_.capacity() - buffer_.size() < text.size())
        buffer_.reserve(std::max(buffer_.size() + text.size(), kSpillBytes + kSpillBytes / 4));
    buffer_ += text;
    if (buffer_.size() >= kSpillBytes) spill();
}

void OutputFile::spill() {
    if (!file_) {
        // O_EXCL: a name that exists already is never taken over.
        for (int attempt = 0;; ++attempt) {
            temp_ = final_;
            temp_ += uniqueSuffix();
            const int fd =
                ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
            if (fd >= 0) {
                file_ = ::fdopen(fd, "wb");
                if (!file_) {
                    const int err = errno;
                    ::close(fd);
                    std::remove(temp_.c_str());
                    failed("write", err);
                }
                break;
            }
            if (errno != EEXIST || attempt == 8) {
                const int err = errno;
                temp_.clear();
                failed("write", err);
            }
        }
        watched_ = std::make_unique<ReadReport>(final_, ReadReport::Kind::Written);
        if (!watched_->watched()) watched_.reset();
    }
    if (buffer_.empty()) return;
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
        const int err = errno;
        failed("write", err);
    }
    // The bytes are told in the order of the file, as they go to it.
    if (watched_) watched_->bytes(buffer_.data(), buffer_.size());
    written_ += buffer_.size();
    buffer_.clear();
#ifdef __linux__
    // Whatever has reached the system starts on its way to the disk (without waiting for it).
    const off_t upTo = static_cast<off_t>(written_) & ~static_cast<off_t>(4095);
    if (upTo > started_) {
        ::sync_file_range(::fileno(file_), started_, upTo - started_, SYNC_FILE_RANGE_WRITE);
        started_ = upTo;
    }
#endif
}

void OutputFile::handToSystem() {
    spill();
    // Each result is checked, and its errno taken before anything else can change it.
    if (std::fflush(file_) != 0) {
        const int err = errno;
        failed("write", err);
    }
}

void OutputFile::toDiskAhead() {
    if (!writes() || toDisk_.joinable()) return;
    handToSystem();
    try {
        toDisk_ = std::thread([this, fd = ::fileno(file_)] { toDiskError_ = syncToDisk(fd); });
    } catch (const std::system_error&) {
        // A thread the system refuses only means that the commit flushes the file alone.
    }
}

void OutputFile::waitForDisk() {
    if (toDisk_.joinable()) toDisk_.join();
}

void OutputFile::finish() {
    waitForDisk();
    if (toDiskError_ != 0) failed("write", toDiskError_);
    handToSystem();
    if (const int err = syncToDisk(::fileno(file_)); err != 0) failed("write", err);
    std::FILE* f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0) {
        const int err = errno;
        failed("write", err);
    }
}

void OutputFile::discard() {
    waitForDisk();
    watched_.reset();  // a file not committed is told as not whole
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temp_, ignored);
        temp_.clear();
    }
}

OutputSet::~OutputSet() {
    if (!committed_) discardAll();
}

void OutputSet::discardAll() {
    for (auto& f : files_) f->discard();
}

OutputFile& OutputSet::file(const std::filesystem::path& finalPath) {
    for (auto& f : files_) {
        if (f->finalPath() == finalPath) return *f;
    }
    files_.push_back(std::make_unique<OutputFile>(finalPath));
    return *files_.back();
}

std::vector<std::filesystem::path> OutputSet::commit() {
    // First every file whole on the disk; a failure here leaves every final file as it was.
    try {
        for (auto& f : files_) {
            if (f->writes()) f->finish();
        }
    } catch (...) {
        discardAll();
        throw;
    }

    // Then the renames. Each final file that is about to be replaced or removed is kept under a
    // second name first, so a failed rename can put the earlier files back.
    struct Swap {
        OutputFile* file;
        std::filesystem::path backup;  // empty: there was no final file
        bool done = false;
    };
    std::vector<Swap> swaps;
    std::filesystem::path journal;  // empty: none written
    auto undo = [&] {
        std::error_code ignored;
        for (auto it = swaps.rbegin(); it != swaps.rend(); ++it) {
            if (it->done) {
                if (it->backup.empty()) {
                    std::filesystem::remove(it->file->finalPath(), ignored);
                } else {
                    std::filesystem::rename(it->backup, it->file->finalPath(), ignored);
                }
            } else if (!it->backup.empty()) {
                std::filesystem::remove(it->backup, ignored);
            }
        }
        discardAll();
        if (!journal.empty()) std::filesystem::remove(journal, ignored);
    };
    try {
        for (auto& f : files_) {
            Swap swap{f.get(), {}, false};
            std::error_code ec;
            if (std::filesystem::exists(f->finalPath(), ec)) {
                swap.backup = f->finalPath();
                swap.backup += uniqueSuffix();
                std::filesystem::create_hard_link(f->finalPath(), swap.backup, ec);
                if (ec) {
                    swap.backup.clear();
                    throw std::runtime_error("Cannot replace " + f->finalPath().string() + ": " +
                                             ec.message());
                }
            } else if (!f->writes()) {
                continue;  // nothing to write, nothing to remove
            }
            swaps.push_back(swap);
        }
        // Two or more renames: the journal lets the next start complete them after a kill.
        if (swaps.size() > 1) {
            const std::filesystem::path dir = swaps.front().file->finalPath().parent_path();
            std::string entries(kJournalHeader);
            entries += '\0';
            for (const auto& swap : swaps) {
                if (swap.file->writes()) {
                    entries += std::string(kJournalReplace) + '\0' +
                               journalName(dir, swap.file->temp_) + '\0';
                } else {
                    entries += std::string(kJournalRemove) + '\0';
                }
                entries += journalName(dir, swap.file->finalPath()) + '\0';
            }
            entries += std::string(kJournalEndMark) + '\0';
            std::filesystem::path name = swaps.front().file->finalPath();
            name += uniqueSuffix(kJournalEnd);
            // A failure is named by the file the user knows: the journal is the program's.
            if (const int err = writeNewFile(name, entries); err != 0) {
                throwFileFailure("Cannot replace", swaps.front().file->finalPath(), err);
            }
            journal = name;
            syncDirectory(dir);
        }
        std::size_t renamed = 0;
        if (afterCommitRenameForTests) afterCommitRenameForTests(renamed);
        for (auto& swap : swaps) {
            std::error_code ec;
            if (swap.file->writes()) {
                std::filesystem::rename(swap.file->temp_, swap.file->finalPath(), ec);
            } else {
                std::filesystem::remove(swap.file->finalPath(), ec);
            }
            if (ec) {
                throw std::runtime_error("Cannot replace " + swap.file->finalPath().string() +
                                         ": " + ec.message());
            }
            swap.done = true;
            swap.file->temp_.clear();
            if (swap.file->watched_) swap.file->watched_->end();
            if (afterCommitRenameForTests) afterCommitRenameForTests(++renamed);
        }
    } catch (...) {
        undo();
        throw;
    }
    std::error_code ignored;
    if (!journal.empty()) {
        // Every rename is on the disk before the journal that could repeat them goes.
        syncDirectory(journal.parent_path());
        std::filesystem::remove(journal, ignored);
    } else if (!swaps.empty()) {
        syncDirectory(swaps.front().file->finalPath().parent_path());
    }
    for (auto& swap : swaps) {
        if (!swap.backup.empty()) std::filesystem::remove(swap.backup, ignored);
    }
    committed_ = true;
    std::vector<std::filesystem::path> written;
    for (auto& f : files_) {
        if (f->writes()) written.push_back(f->finalPath());
    }
    return written;
}

void writeFileAtomically(const std::filesystem::path& path, std::string_view content) {
    OutputSet set;
    OutputFile& file = set.file(path);
    file.keepWhenEmpty();
    file.append(content);
    set.commit();
}

std::optional<std::string> readToEndAtMost(int fd, std::size_t most) {
    std::string bytes;
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            throw std::system_error(err, std::generic_category());
        }
        if (n == 0) break;
        bytes.append(chunk, static_cast<std::size_t>(n));
        if (bytes.size() > most) {
            ::close(fd);
            return std::nullopt;
        }
    }
    ::close(fd);
    return bytes;
}

std::uintmax_t fileLength(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return 0;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : size;
}

}  // namespace orr
