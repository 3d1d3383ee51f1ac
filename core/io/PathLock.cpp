#include "io/PathLock.h"

#include <string>
#include <unordered_map>

namespace folio {
namespace {

std::shared_ptr<std::recursive_mutex> mutexFor(const std::filesystem::path& file)
{
    static std::mutex registryMutex;
    static std::unordered_map<std::string, std::shared_ptr<std::recursive_mutex>> registry;

    // Lexical normalisation is enough: every caller builds paths the same way from the
    // program folder, and it never touches the disk.
    std::error_code ec;
    std::filesystem::path key = std::filesystem::absolute(file, ec);
    if (ec) key = file;
    key = key.lexically_normal();

    std::lock_guard lock(registryMutex);
    auto& slot = registry[key.string()];
    if (!slot) slot = std::make_shared<std::recursive_mutex>();
    return slot;
}

} // namespace

PathLock::PathLock(const std::filesystem::path& file)
    : mutex_(mutexFor(file)), guard_(*mutex_)
{
}

} // namespace folio
