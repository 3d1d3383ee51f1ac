#include "CygwinPath.h"

#include "ResolvePath.h"
#include "UserRegistry.h"

namespace wordstrip {
namespace {

constexpr std::string_view kMountsKey = "Software\\Cygnus Solutions\\Cygwin\\mounts v2";
// The prefix value is read into room for 14 characters; a longer one counts as unreadable.
constexpr std::size_t kMaxPrefix = 14;

// The rest of an argument after a mount point or drive, with a run of slashes as one.
std::optional<std::string> ConvertRest(std::string_view rest, std::size_t size)
{
    size_t slashes = 0;
    while (slashes < rest.size() && rest[slashes] == '/') ++slashes;
    if (slashes > 1) rest.remove_prefix(slashes - 1);
    if (rest.empty()) return std::string();
    return ConvertPathSyntax(rest, size);
}

} // namespace

std::optional<std::string> MapCygwinPath(std::string_view text, const UserRegistry& registry, std::size_t size)
{
    if (!registry.KeyExists(kMountsKey)) return std::nullopt;

    if (auto prefix = registry.ReadString(kMountsKey, "cygdrive prefix"); prefix && prefix->size() <= kMaxPrefix) {
        if (!prefix->ends_with('/')) *prefix += '/';
        const size_t n = prefix->size();
        if (text.starts_with(*prefix) && text.size() > n + 1 && text[n + 1] == '/') {
            auto rest = ConvertRest(text.substr(n + 1), size);
            if (!rest) return std::nullopt;
            std::string out = std::string(1, text[n]) + ":" + *rest;
            if (out.size() + 1 > size) return std::nullopt;
            return out;
        }
    }

    std::string_view candidate = text;
    if (candidate.size() > 1 && candidate.ends_with('/')) candidate.remove_suffix(1);
    std::string mountKey;
    while (candidate.size() > 1) {
        const std::string key = std::string(kMountsKey) + "\\" + std::string(candidate);
        if (registry.KeyExists(key)) {
            mountKey = key;
            break;
        }
        const size_t cut = candidate.rfind('/');
        if (cut == std::string_view::npos || cut == 0) return std::nullopt; // the root mount is not consulted
        candidate = candidate.substr(0, cut);
    }
    if (mountKey.empty()) return std::nullopt;
    auto native = registry.ReadString(mountKey, "native");
    if (!native) return std::nullopt;
    for (char& c : *native)
        if (c == '\\') c = '/';
    auto rest = ConvertRest(text.substr(candidate.size()), size);
    if (!rest) return std::nullopt;
    if (native->ends_with('/') && rest->starts_with('/')) native->pop_back();
    std::string out = *native + *rest;
    if (out.size() + 1 > size) return std::nullopt;
    return out;
}

std::optional<std::string> MapCygwinPath(std::string_view text, std::size_t size)
{
    return MapCygwinPath(text, UserRegistry::Load(UserRegistryPath()), size);
}

} // namespace wordstrip
