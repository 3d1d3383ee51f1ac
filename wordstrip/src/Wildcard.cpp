#include "Wildcard.h"

namespace wordstrip {
namespace {

// Length of the UTF-8 character that starts at `at` (1 for stray bytes).
size_t CharLength(std::string_view s, size_t at)
{
    size_t n = 1;
    if (static_cast<unsigned char>(s[at]) >= 0xC0)
        while (at + n < s.size() && (static_cast<unsigned char>(s[at + n]) & 0xC0) == 0x80) ++n;
    return n;
}

} // namespace

bool HasWildcards(std::string_view pattern) { return pattern.find_first_of("*?") != std::string_view::npos; }

bool MatchWildcard(std::string_view pattern, std::string_view name)
{
    // Iterative matching with one backtrack point for the last "*".
    size_t p = 0, n = 0;
    size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += CharLength(name, n);
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            starN += CharLength(name, starN);
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

} // namespace wordstrip
