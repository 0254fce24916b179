// Output files of one step. Each output is built in memory and only reaches the disk when the
// step completes: commit() writes every file to a temporary name beside it and renames it into
// place, so a step that stops on an error leaves the previous run's files whole, and no
// half-written file ever stands under a final name.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace orr {

class StagedOutputs {
  public:
    // The buffer of an output file; the same path gives the same buffer.
    std::string& file(const std::filesystem::path& finalPath);
    bool has(const std::filesystem::path& finalPath) const;

    // Writes every buffer that is not empty to "<final>.tmp" and renames it to its final name;
    // for an empty buffer the final file is removed (an empty output is not kept). Returns the
    // paths of the files written, in the order they were first asked for. Throws
    // std::runtime_error naming the path and the system's reason when a file cannot be written.
    std::vector<std::filesystem::path> commit();

  private:
    std::vector<std::filesystem::path> order_;
    std::map<std::filesystem::path, std::string> buffers_;
};

// Writes `content` to `path` through a temporary file and a rename. Throws std::runtime_error
// naming the path and the system's reason on failure.
void writeFileAtomically(const std::filesystem::path& path, const std::string& content);

// Size of a file; 0 when it does not exist or is not a regular file. Never creates anything.
std::uintmax_t fileLength(const std::filesystem::path& path);

}  // namespace orr
