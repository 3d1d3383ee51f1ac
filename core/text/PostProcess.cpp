#include "text/PostProcess.h"

#include "text/TextTrims.h"
#include "text/TypographyChars.h"

#include <cstring>
#include <string_view>

namespace folio {
namespace {

constexpr std::string_view kFreshPending = "  ";
constexpr std::string_view kReplyStart = "   \x97 "; // three spaces, em dash, space

bool EndsClause(char c) { return c == '.' || c == '!' || c == '?' || c == ';' || c == ':'; }

// Position of the punctuation mark of the first pattern, in the order ".-" "!-" "?-" ".—"
// "!—" "?—", that occurs in the line (its first occurrence), or npos.
size_t FindGluedDash(std::string_view line)
{
    // The first occurrences of ".x", "!x" and "?x" for one dash character x, in that order of
    // preference; npos when none occurs.
    auto find = [line](char dash) {
        size_t first[3] = {std::string_view::npos, std::string_view::npos, std::string_view::npos};
        const char* s = line.data();
        const size_t n = line.size();
        if (n < 2) return std::string_view::npos;
        for (auto* p = static_cast<const char*>(std::memchr(s + 1, dash, n - 1)); p;
             p = static_cast<const char*>(std::memchr(p + 1, dash, n - static_cast<size_t>(p + 1 - s)))) {
            const char m = p[-1];
            const int mark = m == '.' ? 0 : m == '!' ? 1 : m == '?' ? 2 : -1;
            if (mark < 0 || first[mark] != std::string_view::npos) continue;
            first[mark] = static_cast<size_t>(p - 1 - s);
            if (mark == 0) break; // nothing is preferred to ".x"
        }
        for (size_t f : first)
            if (f != std::string_view::npos) return f;
        return std::string_view::npos;
    };
    const size_t hyphen = find('-');
    return hyphen != std::string_view::npos ? hyphen : find(kEmDash);
}

void AppendSeparated(std::string& pending, std::string_view text)
{
    pending += ' ';
    pending.append(text);
}

void Release(std::string& line) { std::string().swap(line); }

} // namespace

std::vector<std::string> PostProcessLines(std::vector<std::string> d)
{
    std::vector<std::string> r;
    const size_t n = d.size();
    if (n == 0) return r;
    r.reserve(n + n / 8);
    std::string a(kFreshPending);
    bool lastConsumed = false;
    for (size_t k = 0; k + 1 < n; ++k) {
        std::string_view line = d[k];
        if (a.size() > 40 && line.size() < 4 && Trim(line).empty()) {
            r.push_back(std::move(a));
            a = kFreshPending;
        }
        const size_t p = FindGluedDash(line);
        if (p != std::string_view::npos) {
            if (Trim(a).empty()) a = kFreshPending;
            AppendSeparated(a, Trim(line.substr(0, p + 1)));
            r.push_back(std::move(a));
            a = kReplyStart;
            a.append(Trim(line.substr(p + 2)));
        } else {
            AppendSeparated(a, Trim(line));
        }
        const char last = line.empty() ? '\0' : line.back();
        const std::string_view nextTrimmed = Trim(d[k + 1]);
        if (line.size() > 35 && !nextTrimmed.empty() && !EndsClause(last) && last != kEmDash &&
            last != '-') {
            if (TrimLeftBlanks(d[k + 1]).front() != kEmDash) {
                AppendSeparated(a, nextTrimmed);
                Release(d[k]);
                ++k;
                if (k == n - 1) lastConsumed = true;
                if (EndsClause(a.back())) {
                    r.push_back(std::move(a));
                    a = kFreshPending;
                }
            }
        } else {
            r.push_back(std::move(a));
            a = kFreshPending;
        }
        Release(d[k]);
    }
    if (!Trim(a).empty()) r.push_back(std::move(a));
    if (!lastConsumed) r.push_back(std::move(d[n - 1]));
    return r;
}

} // namespace folio
