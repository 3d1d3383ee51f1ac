#include "text/TextLines.h"

#include <cstdint>
#include <cstring>

namespace folio {
namespace {

// Position of the first CR or LF at or after `from`, or `n`. Eight bytes at a time: the
// exact per-byte equality test below has no carries between bytes.
size_t FindLineBreak(const char* s, size_t from, size_t n)
{
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    auto equal = [](uint64_t w, uint64_t pattern) {
        const uint64_t x = w ^ pattern;
        return ~(((x & kLow7) + kLow7) | x | kLow7);
    };
    size_t i = from;
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, s + i, 8);
        if (equal(w, 0x0D0D0D0D0D0D0D0DULL) | equal(w, 0x0A0A0A0A0A0A0A0AULL)) break;
    }
    for (; i < n; ++i)
        if (s[i] == '\r' || s[i] == '\n') return i;
    return n;
}

} // namespace

std::vector<std::string_view> SplitTextLineViews(std::string_view text)
{
    std::vector<std::string_view> lines;
    lines.reserve(text.size() / 48 + 1);
    const char* s = text.data();
    const size_t n = text.size();
    size_t begin = 0;
    while (begin < n) {
        const size_t end = FindLineBreak(s, begin, n);
        lines.push_back(text.substr(begin, end - begin));
        if (end == n) break;
        begin = end + (s[end] == '\r' && end + 1 < n && s[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

std::vector<std::string> SplitTextLines(std::string_view text)
{
    const auto views = SplitTextLineViews(text);
    return std::vector<std::string>(views.begin(), views.end());
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
