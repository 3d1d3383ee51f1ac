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
    size_t first[6];
    for (size_t& f : first) f = std::string_view::npos;
    const size_t n = line.size();
    for (size_t i = 1; i < n; ++i) {
        const char c = line[i];
        if (c != '-' && c != kEmDash) continue;
        const char m = line[i - 1];
        const int mark = m == '.' ? 0 : m == '!' ? 1 : m == '?' ? 2 : -1;
        if (mark < 0) continue;
        const int pattern = mark + (c == '-' ? 0 : 3);
        if (first[pattern] == std::string_view::npos) {
            first[pattern] = i - 1;
            if (pattern == 0) break; // nothing can come before ".-"
        }
    }
    for (size_t f : first)
        if (f != std::string_view::npos) return f;
    return std::string_view::npos;
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
