#pragma once
// One process-wide lock per file path. The window and the two worker threads read and
// write the same tables and settings files: a settings file is locked around each
// read-modify-write, so no key write loses another; a table is locked from the moment it is
// opened until it is released, so a release never writes back rows that another thread
// changed in between. The lock is recursive: one thread may open a table it already holds
// (looking up a project folder while walking "projects.tbl").
//
// Rule for callers: a thread holds at most one table at a time apart from such nesting on
// the same file, so two threads can never wait for each other.

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
    std::shared_ptr<std::recursive_mutex> mutex_;
    std::unique_lock<std::recursive_mutex> guard_;
};

} // namespace folio
