// Feeds every file of a corpus folder to the fuzz target once. A crash or a sanitizer report
// fails the test; an input the program refuses with a clear message is fine. Each input has a
// time limit, as under the fuzzer: an input that runs longer (a loop that does not end) fails
// the test, naming the input.
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// Seconds per input; generous for the slowest input under the sanitizers.
constexpr unsigned kSecondsPerInput = 120;
std::string timeoutMessage;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(argv[1]))
        for (const auto& entry : std::filesystem::directory_iterator(argv[1]))
            if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::signal(SIGALRM, [](int) {
        const ssize_t ignored =
            ::write(STDERR_FILENO, timeoutMessage.data(), timeoutMessage.size());
        (void)ignored;
        ::_exit(1);
    });
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
        timeoutMessage = "replay: " + file.string() + " ran longer than " +
                         std::to_string(kSecondsPerInput) + " seconds\n";
        ::alarm(kSecondsPerInput);
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        ::alarm(0);
    }
    std::printf("%zu passed, 0 failed\n", files.size());
    return 0;
}
