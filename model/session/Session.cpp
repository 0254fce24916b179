#include "model/session/Session.h"

namespace orr {

void Session::clearNames() {
    dataSetName.clear();
    coefficientFile.clear();
    strataFile.clear();
    dbhFile.clear();
    treeFile.clear();
    lidarHighFile.clear();
    lidarLowFile.clear();
    areasFile.clear();
}

}  // namespace orr
