#include "text/TextLines.h"

namespace folio {

std::vector<std::string> SplitTextLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t begin = 0;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.emplace_back(text.substr(begin, i - begin));
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        begin = i + 1;
    }
    if (begin < n) lines.emplace_back(text.substr(begin));
    return lines;
}

std::string JoinTextLines(std::span<const std::string> lines)
{
    size_t size = 0;
    for (const std::string& line : lines) size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

} // namespace folio
