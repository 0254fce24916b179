#include "core/StagedOutputs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace orr {

std::string& StagedOutputs::file(const std::filesystem::path& finalPath) {
    auto it = buffers_.find(finalPath);
    if (it != buffers_.end()) return it->second;
    order_.push_back(finalPath);
    return buffers_[finalPath];
}

bool StagedOutputs::has(const std::filesystem::path& finalPath) const {
    return buffers_.count(finalPath) != 0;
}

std::vector<std::filesystem::path> StagedOutputs::commit() {
    std::vector<std::filesystem::path> written;
    for (const auto& path : order_) {
        const std::string& content = buffers_[path];
        if (content.empty()) {
            std::error_code ec;
            std::filesystem::remove(path, ec);
            if (ec) {
                throw std::runtime_error("Cannot remove the empty output file " + path.string() +
                                         ": " + ec.message());
            }
        } else {
            writeFileAtomically(path, content);
            written.push_back(path);
        }
    }
    return written;
}

void writeFileAtomically(const std::filesystem::path& path, const std::string& content) {
    std::filesystem::path temp = path;
    temp += ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        throw std::runtime_error("Cannot write " + temp.string() + ": " + std::strerror(errno));
    }
    bool ok = std::fwrite(content.data(), 1, content.size(), f) == content.size();
    int err = errno;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) {
        std::remove(temp.c_str());
        throw std::runtime_error("Cannot write " + temp.string() + ": " + std::strerror(err));
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::remove(temp.c_str());
        throw std::runtime_error("Cannot replace " + path.string() + ": " + ec.message());
    }
}

std::uintmax_t fileLength(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return 0;
    auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : size;
}

}  // namespace orr
