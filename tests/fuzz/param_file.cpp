// PARAMETER.PRM of any bytes: start-up reads it (or deletes a short one) without crashing, and a
// record read back and written again gives the same 22 bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/session/Startup.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    auto record = orr::decodeParamRecord(bytes);
    if (record && orr::encodeParamRecord(*record) != bytes.substr(0, orr::kParamRecordSize)) {
        std::abort();
    }
    orr::fuzz::ScratchDir dir;
    orr::fuzz::writeBytes(dir.path() / "PARAMETER.PRM", bytes);
    orr::Session session;
    session.appDir = dir.path();
    orr::startUp(session);
    return 0;
}
