// Reads every input file of a data set once with the comma reader, as a floor for the time of a
// whole run: orravant-parse-inputs FILE FIELDS [FILE FIELDS ...]. Prints the seconds taken and the
// bytes read.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/CommaReader.h"
#include "core/InputError.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: %s FILE FIELDS [FILE FIELDS ...]\n", argv[0]);
        return 2;
    }
    auto start = std::chrono::steady_clock::now();
    std::uintmax_t bytes = 0;
    double sum = 0;
    try {
        for (int i = 1; i + 1 < argc; i += 2) {
            int fields = std::atoi(argv[i + 1]);
            orr::CommaReader reader{std::filesystem::path(argv[i])};
            bytes += std::filesystem::file_size(argv[i]);
            while (reader.next(fields)) {
                for (int f = 0; f < fields; ++f) sum += reader.number(f, "");
            }
        }
    } catch (const orr::InputError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.3f %ju %g\n", seconds, bytes, sum == 0 ? 0.0 : 1.0);
    return 0;
}
