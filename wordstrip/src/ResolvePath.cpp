#include "ResolvePath.h"

#include "CygwinPath.h"
#include "SystemError.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace wordstrip {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

} // namespace

std::optional<std::string> ConvertPathSyntax(std::string_view text, std::size_t size)
{
    if (text.empty()) {
        SetLastError(EINVAL);
        return std::nullopt;
    }
    std::string out;
    size_t i = 0;
    if (text.size() >= 4 && text[0] == '/' && text[1] == '/' && text[2] != '/' && text[3] == '/') {
        out += text[2];
        out += ':';
        i = 3; // the slash after the drive letter follows as a separator
    } else if (text.size() >= 2 && text[0] == '\\' && text[1] == '\\') {
        out += "//"; // a network path keeps its two leading separators
        i = 2;
    } else if (text[0] == '~') {
        out += "%HOME%";
        i = 1;
    }
    while (i < text.size()) {
        const char c = text[i];
        if (IsSeparator(c)) {
            out += '/';
            while (i < text.size() && IsSeparator(text[i])) ++i;
            continue;
        }
        if (c == '$' && i + 1 < text.size()) {
            const size_t close = text[i + 1] == '{' ? text.find('}', i + 2) : std::string_view::npos;
            if (close != std::string_view::npos && close > i + 2) {
                out += '%';
                out += text.substr(i + 2, close - i - 2);
                out += '%';
                i = close + 1;
                continue;
            }
            if (!IsSeparator(text[i + 1])) {
                // Also "${" without its closing brace: the name is what follows the "$".
                size_t end = i + 1;
                while (end < text.size() && !IsSeparator(text[end])) ++end;
                out += '%';
                out += text.substr(i + 1, end - i - 1);
                out += '%';
                i = end;
                continue;
            }
        }
        out += c;
        ++i;
    }
    if (out.size() + 1 > size) {
        SetLastError(ENAMETOOLONG);
        return std::nullopt;
    }
    return out;
}

std::string ExpandEnvironmentReferences(std::string_view text)
{
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '%') {
            out += text[i++];
            continue;
        }
        const size_t close = text.find('%', i + 1);
        if (close == std::string_view::npos || close == i + 1) {
            out += text[i++];
            continue;
        }
        const std::string name(text.substr(i + 1, close - i - 1));
        if (const char* value = std::getenv(name.c_str())) {
            out += value; // values are not scanned again
            i = close + 1;
        } else {
            out += text.substr(i, close - i); // "%NAME" stays; the closing "%" may open the next one
            i = close;
        }
    }
    return out;
}

std::optional<ResolvedPath> ResolvePath(std::string_view argument, bool allowCygwin, std::size_t size)
{
    std::optional<std::string> text;
    if (allowCygwin && argument.starts_with('/')) text = MapCygwinPath(argument, size);
    if (!text) text = ConvertPathSyntax(argument, size);
    if (!text) return std::nullopt;
    std::string path = ExpandEnvironmentReferences(*text);
    // Values of variables may bring backslashes or a drive of their own.
    for (char& c : path)
        if (c == '\\') c = '/';

    if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') {
        // One file system, so every drive is its root; "d:name" is relative to the current folder.
        path = path.size() == 2 || path[2] == '/' ? "/" + path.substr(std::min<size_t>(path.size(), 3)) : path.substr(2);
    }
    std::string prefix = "/";
    if (path.starts_with("//") && !path.starts_with("///")) prefix = "//";
    if (!path.starts_with('/')) {
        std::error_code ec;
        const std::string cwd = std::filesystem::current_path(ec).string();
        if (ec) {
            SetLastError(ec.value());
            return std::nullopt;
        }
        path = cwd + "/" + path;
    }

    // Resolve "." and ".." by the text alone; a trailing separator is kept.
    std::vector<std::string_view> parts;
    const std::string_view view(path);
    size_t pos = 0;
    while (pos < view.size()) {
        size_t end = view.find('/', pos);
        if (end == std::string_view::npos) end = view.size();
        const std::string_view part = view.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    const bool trailing = path.ends_with('/') || path.ends_with("/.") || path.ends_with("/..");
    std::string full = prefix;
    for (size_t n = 0; n < parts.size(); ++n) {
        if (n) full += '/';
        full += parts[n];
    }
    if (trailing && !parts.empty()) full += '/';
    if (full.size() + 1 > size) {
        SetLastError(ENAMETOOLONG);
        return std::nullopt;
    }
    return ResolvedPath{full, full.rfind('/') + 1};
}

} // namespace wordstrip
