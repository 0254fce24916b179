#include "model/session/Session.h"

namespace orr {

void Session::clearNames() {
    dataSetName.clear();
    inputs = {};
}

}  // namespace orr
