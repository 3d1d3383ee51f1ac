#pragma once
// One process-wide lock per file path. Both worker threads and the window write the same
// tables and settings files; holding the path's lock around a read-modify-write keeps
// their writes from interleaving and from losing each other's keys.

#include <filesystem>
#include <memory>
#include <mutex>

namespace folio {

class PathLock {
public:
    explicit PathLock(const std::filesystem::path& file);
    PathLock(const PathLock&) = delete;
    PathLock& operator=(const PathLock&) = delete;

private:
    std::shared_ptr<std::mutex> mutex_;
    std::unique_lock<std::mutex> guard_;
};

} // namespace folio
