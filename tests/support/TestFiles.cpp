#include "tests/support/TestFiles.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace orr::test {

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
        path_ = base / ("orravant-test-" + std::to_string(::getpid()) + "-" +
                        std::to_string(counter++) + "-" + std::to_string(rd() % 100000));
        if (std::filesystem::create_directory(path_)) break;
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::filesystem::path& file, std::string_view content) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + file.string());
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::string crlf(std::initializer_list<std::string_view> lines) {
    std::string s;
    for (auto line : lines) {
        s += line;
        s += "\r\n";
    }
    return s;
}

std::string crlf(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& line : lines) {
        s += line;
        s += "\r\n";
    }
    return s;
}

}  // namespace orr::test
