// Shared pieces of the fuzz targets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace orr::fuzz {

// A fresh temporary directory, removed when the object goes.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

void writeBytes(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size);
void writeText(const std::filesystem::path& file, const std::string& text);

}  // namespace orr::fuzz
