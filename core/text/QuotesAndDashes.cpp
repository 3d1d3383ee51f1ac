#include "text/QuotesAndDashes.h"

#include "text/TypographyChars.h"

#include <cstring>

namespace folio {

void ConvertQuotesInPlace(std::string& text)
{
    char* s = text.data();
    const size_t n = text.size();
    size_t open = n; // position of the unpaired mark; n = none
    for (size_t i = 0; i < n; ++i) {
        const char c = s[i];
        if (c == kLeftDoubleQuote) {
            s[i] = kLeftGuillemet;
        } else if (c == kRightDoubleQuote) {
            s[i] = kRightGuillemet;
        } else if (c == '"' || c == '`') {
            // Neighbours are spaces, commas or full stops, which no step of the pass changes,
            // so the original text decides every replace-all.
            const char next = i + 1 < n ? s[i + 1] : '\0';
            if (i > 0 && s[i - 1] == ' ') {
                s[i] = kLeftGuillemet;
            } else if (next == ' ' || next == ',' || next == '.') {
                s[i] = kRightGuillemet;
            } else if (open == n) {
                open = i;
            } else {
                s[open] = kLeftGuillemet;
                s[i] = kRightGuillemet;
                open = n;
            }
        }
    }
    if (open != n) s[open] = kRightGuillemet;
}

std::string ConvertQuotes(std::string_view text)
{
    std::string out(text);
    ConvertQuotesInPlace(out);
    return out;
}

void ReplaceSpacedHyphens(std::string& text)
{
    char* s = text.data();
    const size_t n = text.size();
    for (char* p = static_cast<char*>(std::memchr(s, '-', n)); p;
         p = static_cast<char*>(std::memchr(p + 1, '-', n - (p + 1 - s)))) {
        const size_t i = static_cast<size_t>(p - s);
        if ((i > 0 && s[i - 1] == ' ') || (i + 1 < n && s[i + 1] == ' ')) *p = kEmDash;
        if (i + 1 >= n) break;
    }
}

std::string ConvertDashes(std::string_view text)
{
    std::string out(text);
    ReplaceSpacedHyphens(out);
    ConvertQuotesInPlace(out);
    return out;
}

} // namespace folio
