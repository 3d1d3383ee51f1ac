#pragma once
// The three trims of the paragraph engine. Views into the argument; nothing is copied.

#include <string_view>

namespace folio {

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Removes spaces and tabs from the start.
inline std::string_view TrimLeftBlanks(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return s.substr(i);
}

// Removes spaces (not tabs) from the end.
inline std::string_view TrimRightSpaces(std::string_view s)
{
    size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ') --n;
    return s.substr(0, n);
}

// Removes every byte from 00 to 20 (controls and space) from both ends.
inline std::string_view Trim(std::string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 0x20) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20) --e;
    return s.substr(b, e - b);
}

} // namespace folio
