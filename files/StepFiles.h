// What a computation step reads and writes, declared once beside the step's function: the chosen
// input files it needs or may use, the data-set files it reads (required or optional) and those
// it writes, and the parameters it uses. Everything else that must know a step's files derives
// from its declaration: the check that the inputs are there, the run record's list of the files
// read, the command line's required flags, the window's enabling rules and which steps a changed
// input makes stale.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Step.h"
#include "files/DataSetFiles.h"

namespace orr::files {

// One file a step reads: a chosen input or a file of the data set.
struct FileRead {
    std::optional<ChosenInput> chosen;       // a file the user chooses
    DataSetFile dataSet = DataSetFile::Run;  // otherwise this file of the data set
    bool optional = false;                   // the step runs without it
    std::filesystem::path path(const StepInputs& in) const;
};
inline FileRead chosen(ChosenInput input) {
    return {input, DataSetFile::Run, false};
}
inline FileRead chosenIfAny(ChosenInput input) {
    return {input, DataSetFile::Run, true};
}
inline FileRead ofDataSet(DataSetFile file) {
    return {std::nullopt, file, false};
}
inline FileRead ofDataSetIfAny(DataSetFile file) {
    return {std::nullopt, file, true};
}

struct StepFiles {
    int step = 0;
    // In the order the run record lists them.
    std::vector<FileRead> reads;
    std::vector<DataSetFile> writes;
    // The names of the parameters the step's results depend on (as parameterTexts names them).
    std::vector<std::string_view> parameters;

    bool readsInput(ChosenInput input) const;  // needed or optional
    bool needs(ChosenInput input) const;       // needed
    bool readsFile(DataSetFile file) const;
    bool uses(std::string_view parameter) const;
    // True when this step reads a file that `earlier` writes.
    bool readsWhatWrites(const StepFiles& earlier) const;
};

// The files of the declaration that are there to be read, in its order: a chosen input not
// chosen, a missing file and an empty file are left out.
std::vector<std::filesystem::path> presentReads(const StepFiles& files, const StepInputs& in);

// The message for the first needed input that is not chosen, or that is a data-set file not
// there, in the declaration's order; nullopt when every needed input is there. (A chosen file
// that has gone is named by its reader, with the system's reason.)
std::optional<std::string> missingInput(const StepFiles& files, const StepInputs& in);

}  // namespace orr::files
