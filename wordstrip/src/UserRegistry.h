#pragma once
// The current user's registry: keys holding named string values, kept in a plain text file
// (see UserRegistryPath). The converter reads the Cygwin mount table from it.
//
// File format (UTF-8, LF or CR LF):
//   ; comment
//   [KEY\PATH]
//   value name=value text
// Key paths and value names are matched case-insensitively; the value runs to the end of the line.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace wordstrip {

// $XDG_CONFIG_HOME/wordstrip/registry, or ~/.config/wordstrip/registry.
std::string UserRegistryPath();

class UserRegistry {
public:
    // An empty registry when the file is missing or unreadable.
    static UserRegistry Load(const std::string& path);
    static UserRegistry Parse(std::string_view text);

    bool KeyExists(std::string_view key) const;
    std::optional<std::string> ReadString(std::string_view key, std::string_view valueName) const;

private:
    static std::string Fold(std::string_view s);
    std::map<std::string, std::map<std::string, std::string>> keys_; // folded key -> folded name -> value
};

} // namespace wordstrip
