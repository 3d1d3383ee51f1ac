#include "text/ParagraphFlush.h"

#include "text/TextTrims.h"
#include "text/TypographyChars.h"

namespace folio {
namespace {

// The rebuilt buffer: "   " + T, where T is the buffer without leading blanks, with "--" then
// "—" replaced by "-" and runs of blanks as single spaces. Returns T's length before the
// collapse of blanks, which decides whether the rebuild applies.
size_t RebuildInto(std::string_view buffer, std::string& out)
{
    const std::string_view t = TrimLeftBlanks(buffer);
    out.resize(3 + t.size());
    char* o = out.data();
    o[0] = o[1] = o[2] = ' ';
    o += 3;
    size_t tLength = 0;
    bool prevBlank = false;
    const size_t n = t.size();
    for (size_t i = 0; i < n;) {
        const char c = t[i];
        if (c == '-') {
            // "--" by "-", left to right without overlap: a run of k hyphens keeps ceil(k/2).
            size_t k = 1;
            while (i + k < n && t[k + i] == '-') ++k;
            const size_t kept = (k + 1) / 2;
            for (size_t j = 0; j < kept; ++j) *o++ = '-';
            tLength += kept;
            prevBlank = false;
            i += k;
            continue;
        }
        if (IsBlank(c)) {
            if (tLength == 0) *o++ = c; // T's first character is kept as it is
            else if (!prevBlank) *o++ = ' ';
            prevBlank = true;
        } else {
            *o++ = c == kEmDash ? '-' : c;
            prevBlank = false;
        }
        ++tLength;
        ++i;
    }
    out.resize(static_cast<size_t>(o - out.data()));
    return tLength;
}

// The quote pass and the four hyphen replace-alls ("-" by "--", " -- " by " - ", "-- " by
// nothing, "--" by "-") in one pass. Every decision depends only on spaces, commas and full
// stops around a mark, which neither pass changes, so the decisions are taken on the input.
// For a run of k hyphens:
//   - a lone hyphen with a space on both sides is kept, unless its leading space already
//     closed the previous such hyphen (" -- " matches do not overlap);
//   - otherwise a run followed by a space loses one hyphen and that space (the doubled run's
//     last "-- " is deleted, the rest halves back), and any other run stays as it was.
std::string QuotesAndHyphens(std::string_view r)
{
    std::string out(r.size(), '\0');
    char* o = out.data();
    const size_t n = r.size();
    size_t open = SIZE_MAX;         // output position of an unpaired quote mark
    size_t lastKept = SIZE_MAX - 1; // input position of the last spaced lone hyphen
    for (size_t i = 0; i < n;) {
        const char c = r[i];
        const char prev = i > 0 ? r[i - 1] : '\0';
        if (c == '-') {
            size_t k = 1;
            while (i + k < n && r[i + k] == '-') ++k;
            const bool spaceAfter = i + k < n && r[i + k] == ' ';
            if (k == 1 && prev == ' ' && spaceAfter && lastKept + 2 != i) {
                *o++ = '-';
                lastKept = i;
                i += 1;
            } else if (spaceAfter) {
                for (size_t j = 1; j < k; ++j) *o++ = '-';
                i += k + 1;
            } else {
                for (size_t j = 0; j < k; ++j) *o++ = '-';
                i += k;
            }
            continue;
        }
        char put = c;
        if (c == kLeftDoubleQuote) {
            put = kLeftGuillemet;
        } else if (c == kRightDoubleQuote) {
            put = kRightGuillemet;
        } else if (c == '"' || c == '`') {
            const char next = i + 1 < n ? r[i + 1] : '\0';
            if (prev == ' ') {
                put = kLeftGuillemet;
            } else if (next == ' ' || next == ',' || next == '.') {
                put = kRightGuillemet;
            } else if (open == SIZE_MAX) {
                open = static_cast<size_t>(o - out.data());
            } else {
                out[open] = kLeftGuillemet;
                put = kRightGuillemet;
                open = SIZE_MAX;
            }
        }
        *o++ = put;
        ++i;
    }
    if (open != SIZE_MAX) out[open] = kRightGuillemet;
    out.resize(static_cast<size_t>(o - out.data()));
    return out;
}

} // namespace

std::string FlushParagraph(std::string_view buffer, std::string& scratch)
{
    if (buffer.empty()) return {};
    if (RebuildInto(buffer, scratch) >= 2) return QuotesAndHyphens(scratch);
    return QuotesAndHyphens(buffer);
}

} // namespace folio
