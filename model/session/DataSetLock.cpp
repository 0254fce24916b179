#include "model/session/DataSetLock.h"

#include <unistd.h>

#include <ctime>
#include <system_error>

#include "core/OutputSet.h"
#include "files/DataSetFiles.h"

namespace orr {

namespace {

// A file that steps 5 to 9 write for the data set.
bool isStepOutput(const std::string& dataSetName, std::string_view fileName) {
    const auto file = files::dataSetFileNamed(dataSetName, fileName);
    return file && files::writtenByStep(*file) >= 5;
}

std::string listOf(const std::vector<std::filesystem::path>& paths) {
    std::string text;
    for (const auto& p : paths) text += (text.empty() ? "" : ", ") + p.filename().string();
    return text;
}

}  // namespace

std::string describeThisRun(std::string_view program) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char when[32] = "";
    if (::localtime_r(&now, &local) != nullptr) {
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
    }
    return std::string(program) + ", process " + std::to_string(::getpid()) + ", started " + when;
}

DataSetLock DataSetLock::acquire(const std::filesystem::path& dataDir,
                                 const std::string& dataSetName, std::string_view program) {
    std::error_code ec;
    if (!std::filesystem::is_directory(dataDir, ec)) {
        std::filesystem::create_directories(dataDir, ec);
        if (ec) {
            throw std::runtime_error("Cannot create the data directory " + dataDir.string() + ": " +
                                     ec.message());
        }
    }
    std::string heldBy;
    std::optional<FileLock> lock =
        FileLock::tryLock(files::lockPath(dataDir, dataSetName), describeThisRun(program), heldBy);
    if (!lock) {
        throw DataSetBusy("The data set " + dataSetName + " is in use by another run (" +
                          (heldBy.empty() ? std::string("one that is just starting") : heldBy) +
                          "). This run stops without changing any file; start it again when "
                          "that run has ended.");
    }
    DataSetLock held(std::move(*lock));
    const RecoveredOutputs done = recoverOutputs(
        dataDir, [&](std::string_view name) { return isStepOutput(dataSetName, name); });
    if (!done.completed.empty()) {
        held.notes_.push_back(
            "A run that was stopped while it replaced its files had its files "
            "put in place: " +
            listOf(done.completed));
    }
    if (!done.removed.empty()) {
        held.notes_.push_back("Temporary files of an earlier run that did not end were removed: " +
                              listOf(done.removed));
    }
    return held;
}

}  // namespace orr
