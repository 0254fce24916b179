// The lock that a run of the computation steps holds on its data set from its start to its end,
// in the desktop program and on the command line alike, so that two runs never write the same
// data-set files at once.
//
// A second run on a data set in use does not wait: it stops at once, before it changes any file,
// with a message that names the run holding the lock (its program, process and start time).
// Waiting would leave a forester with a window or terminal that seems to hang for as long as the
// other run takes; a clear message lets them decide.
//
// Taking the lock also tidies what killed runs left of the data set's step outputs: a commit
// interrupted during its renames is completed (rolled forward: every new file was whole before
// the first rename), and temporary files are removed. Only the files that steps 5 to 9 write are
// touched; the input files that the set-up editors save are not.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/FileLock.h"

namespace orr {

// Another run holds the data set; what() is the whole message.
class DataSetBusy : public std::runtime_error {
  public:
    explicit DataSetBusy(const std::string& message) : std::runtime_error(message) {}
};

class DataSetLock {
  public:
    // Locks data set `dataSetName` in the data directory `dataDir` (made when missing) for
    // `program` (how the other run's message names this one: "orravant-cli run", "the Orravant
    // window"), then tidies the data set's step outputs. Throws DataSetBusy when another run
    // holds the lock, std::runtime_error naming the path and the reason when the lock file
    // cannot be made or a left-over file cannot be put right.
    static DataSetLock acquire(const std::filesystem::path& dataDir, const std::string& dataSetName,
                               std::string_view program);

    // What the tidying did, one line each, for the log; empty after a clean end of the last run.
    const std::vector<std::string>& notes() const { return notes_; }

  private:
    explicit DataSetLock(FileLock lock) : lock_(std::move(lock)) {}
    FileLock lock_;
    std::vector<std::string> notes_;
};

// "<program>, process <id>, started <YYYY-MM-DD hh:mm:ss>" for the running process, now.
std::string describeThisRun(std::string_view program);

}  // namespace orr
