#include "core/Session.h"

namespace orr {

std::string Session::dataFilesDirText() const {
    std::string text = dataFilesDir().string();
    text += std::filesystem::path::preferred_separator;
    return text;
}

void Session::clearNames() {
    DataSetName.clear();
    CoeffFileName.clear();
    StrataFileName.clear();
    DBHFileName.clear();
    TreeInputFileName.clear();
    HighLidarFileName.clear();
    LowLidarFileName.clear();
}

}  // namespace orr
