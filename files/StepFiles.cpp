#include "files/StepFiles.h"

#include <algorithm>
#include <system_error>

#include "core/OutputSet.h"

namespace orr::files {

namespace {

// The message when a needed chosen input is not chosen: the words of the dialogs that choose the
// tree and LiDAR files, and the same style for the set-up files.
std::string_view notChosenMessage(ChosenInput input) {
    switch (input) {
        case ChosenInput::Coefficients:
            return "Please select a coefficient file in step 3";
        case ChosenInput::Strata:
            return "Please select a strata file in step 4";
        case ChosenInput::Dbh:
            return "Please select a DBH file in step 4";
        case ChosenInput::Trees:
            return "Please Enter Input File";
        case ChosenInput::LidarDS1:
            return "Please select Phase 1 Lidar Height";
        case ChosenInput::LidarDS2:
            return "Please select Phase 1 Lidar Height of DataSet 2";
        case ChosenInput::Areas:
            break;
    }
    return "Please select a stratum areas file in step 4";
}

bool isThere(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::exists(file, ec);
}

}  // namespace

std::filesystem::path FileRead::path(const StepInputs& in) const {
    return chosen ? chosenPath(in.paths, *chosen) : files::path(in, dataSet);
}

bool StepFiles::readsInput(ChosenInput input) const {
    return std::any_of(reads.begin(), reads.end(),
                       [&](const FileRead& r) { return r.chosen == input; });
}

bool StepFiles::needs(ChosenInput input) const {
    return std::any_of(reads.begin(), reads.end(),
                       [&](const FileRead& r) { return r.chosen == input && !r.optional; });
}

bool StepFiles::readsFile(DataSetFile file) const {
    return std::any_of(reads.begin(), reads.end(),
                       [&](const FileRead& r) { return !r.chosen && r.dataSet == file; });
}

bool StepFiles::uses(std::string_view parameter) const {
    return std::find(parameters.begin(), parameters.end(), parameter) != parameters.end();
}

bool StepFiles::readsWhatWrites(const StepFiles& earlier) const {
    return std::any_of(earlier.writes.begin(), earlier.writes.end(),
                       [&](DataSetFile file) { return readsFile(file); });
}

std::vector<std::filesystem::path> presentReads(const StepFiles& files, const StepInputs& in) {
    std::vector<std::filesystem::path> out;
    for (const FileRead& read : files.reads) {
        const std::filesystem::path file = read.path(in);
        if (!file.empty() && fileLength(file) > 0) out.push_back(file);
    }
    return out;
}

std::optional<std::string> missingInput(const StepFiles& files, const StepInputs& in) {
    for (const FileRead& read : files.reads) {
        if (read.optional) continue;
        const std::filesystem::path file = read.path(in);
        if (file.empty()) return std::string(notChosenMessage(*read.chosen));
        // A chosen file that has gone is named by its reader ("cannot be opened").
        if (read.chosen || isThere(file)) continue;
        const std::string step = std::to_string(writtenByStep(read.dataSet));
        std::string message = "The file " + file.string();
        message += " is missing. It is written by step " + step;
        message += "; please run step " + step + " first.";
        return message;
    }
    return std::nullopt;
}

}  // namespace orr::files
