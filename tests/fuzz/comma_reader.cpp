// The comma-style reader on any bytes: it either reads records or stops with an InputError; it
// never crashes, and what it hands out as numbers is always finite.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/CommaReader.h"
#include "core/InputError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    for (int fields : {1, 2, 4, 9}) {
        try {
            orr::CommaReader reader(text, "fuzz.csv");
            while (reader.next(fields)) {
                for (int i = 0; i < fields; ++i) {
                    try {
                        double x = reader.number(i, "value");
                        if (!std::isfinite(x)) std::abort();
                        reader.int16(i, "code");
                    } catch (const orr::InputError&) {
                    }
                }
            }
        } catch (const orr::InputError&) {
        }
    }
    return 0;
}
