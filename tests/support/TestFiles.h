// File helpers for tests: a fresh temporary directory per test, whole-file reads and writes,
// and CR LF joining of expected lines.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace orr::test {

// A new, empty directory under the system's temporary directory, removed when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, std::string_view content);
// The lines joined, each followed by CR LF.
std::string crlf(std::initializer_list<std::string_view> lines);
std::string crlf(const std::vector<std::string>& lines);

}  // namespace orr::test
