#include "UserRegistry.h"

#include "TextCompare.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace wordstrip {

std::string UserRegistryPath()
{
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        return std::string(config) + "/wordstrip/registry";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config/wordstrip/registry";
}

std::string UserRegistry::Fold(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = AsciiLower(c);
    return out;
}

UserRegistry UserRegistry::Load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return Parse(text);
}

UserRegistry UserRegistry::Parse(std::string_view text)
{
    UserRegistry registry;
    std::map<std::string, std::string>* current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty() || line.starts_with(';') || line.starts_with('#')) continue;
        if (line.starts_with('[') && line.ends_with(']')) {
            current = &registry.keys_[Fold(line.substr(1, line.size() - 2))];
            continue;
        }
        const size_t eq = line.find('=');
        if (current && eq != std::string_view::npos) (*current)[Fold(line.substr(0, eq))] = std::string(line.substr(eq + 1));
    }
    return registry;
}

bool UserRegistry::KeyExists(std::string_view key) const { return keys_.contains(Fold(key)); }

std::optional<std::string> UserRegistry::ReadString(std::string_view key, std::string_view valueName) const
{
    const auto k = keys_.find(Fold(key));
    if (k == keys_.end()) return std::nullopt;
    const auto v = k->second.find(Fold(valueName));
    if (v == k->second.end()) return std::nullopt;
    return v->second;
}

} // namespace wordstrip
