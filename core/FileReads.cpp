#include "core/FileReads.h"

#include <algorithm>
#include <mutex>

namespace orr {

namespace {

std::mutex& watchLock() {
    static std::mutex lock;
    return lock;
}
std::vector<ReadWatch*>& watches() {
    static std::vector<ReadWatch*> set;
    return set;
}

}  // namespace

ScopedReadWatch::ScopedReadWatch(ReadWatch& watch) : watch_(watch) {
    const std::lock_guard<std::mutex> lock(watchLock());
    watches().push_back(&watch_);
}

ScopedReadWatch::~ScopedReadWatch() {
    const std::lock_guard<std::mutex> lock(watchLock());
    std::erase(watches(), &watch_);
}

ReadReport::ReadReport(const std::filesystem::path& file, Kind kind) {
    const std::lock_guard<std::mutex> lock(watchLock());
    for (ReadWatch* watch : watches()) {
        std::unique_ptr<ReadSink> sink =
            kind == Kind::Read ? watch->opened(file) : watch->writing(file);
        if (sink) sinks_.push_back(std::move(sink));
    }
}

ReadReport::~ReadReport() {
    if (ended_) return;
    for (const auto& sink : sinks_) sink->finished(false);
}

void ReadReport::bytes(const char* data, std::size_t size) {
    for (const auto& sink : sinks_) sink->bytes(data, size);
}

void ReadReport::end() {
    if (ended_) return;
    ended_ = true;
    for (const auto& sink : sinks_) sink->finished(true);
}

}  // namespace orr
