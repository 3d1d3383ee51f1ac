#include "text/ParagraphFlush.h"

#include "text/TextTrims.h"
#include "text/TypographyChars.h"

#include <array>
#include <cstring>

namespace folio {
namespace {

// The flush is defined as a chain of replace-alls; here it is two passes. The first rebuilds
// the buffer and notes where the characters of the second pass (hyphens and quote marks)
// landed; the second visits only those places. Books are long runs of letters between rare
// marks, so almost all bytes are touched once.

enum : uint8_t { kBlankBit = 1, kHyphenBit = 2, kMarkBit = 4, kSlowBit = 8 };

struct Tables {
    std::array<uint8_t, 256> rebuildClass{}; // classes of T's characters
    std::array<uint8_t, 256> keptClass{};    // classes when the buffer is kept as it was
    std::array<char, 256> rebuildMap{};      // tab -> space, em dash -> hyphen
    Tables()
    {
        for (int i = 0; i < 256; ++i) rebuildMap[i] = static_cast<char>(i);
        rebuildMap['\t'] = ' ';
        rebuildMap[static_cast<unsigned char>(kEmDash)] = '-';
        rebuildClass[' '] = kBlankBit;
        rebuildClass['\t'] = kBlankBit | kSlowBit;
        rebuildClass['-'] = kHyphenBit | kMarkBit | kSlowBit;
        // An em dash is a hyphen for the second pass, but joins no "--" run (that replace-all
        // came first).
        rebuildClass[static_cast<unsigned char>(kEmDash)] = kMarkBit | kSlowBit;
        for (char c : {'"', '`', kLeftDoubleQuote, kRightDoubleQuote}) {
            rebuildClass[static_cast<unsigned char>(c)] = kMarkBit | kSlowBit;
            keptClass[static_cast<unsigned char>(c)] = kMarkBit;
        }
        keptClass['-'] = kMarkBit;
    }
};

const Tables& tables()
{
    static const Tables t;
    return t;
}

// Writes "   " + T into `out` (T: the buffer without leading blanks, "--" then "—" by "-",
// runs of blanks as one space) and the positions of its marks into `marks`. Returns T's
// length before the blanks are collapsed, which decides whether the rebuild applies.
// Plain runs (no tab, hyphen, dash, quote mark or second space) are copied whole; the few
// other characters take the careful step.
size_t Rebuild(std::string_view buffer, std::string& out, std::vector<uint32_t>& marks, size_t& markCount)
{
    const Tables& tb = tables();
    const std::string_view t = TrimLeftBlanks(buffer);
    const size_t n = t.size();
    out.resize(3 + n);
    marks.resize(n + 1);
    char* o = out.data();
    o[0] = o[1] = o[2] = ' ';
    uint32_t* m = marks.data();
    size_t w = 3, nm = 0, tLength = 0;
    unsigned hyphenParity = 0, prevBlank = 0;
    size_t i = 0;
    while (i < n) {
        for (; i < n; ++i) {
            const auto c = static_cast<unsigned char>(t[i]);
            const unsigned cls = tb.rebuildClass[c];
            if (!(cls & kSlowBit) && !((cls & kBlankBit) && prevBlank)) break;
            const unsigned isHyphen = (cls & kHyphenBit) >> 1;
            const unsigned isBlank = cls & kBlankBit;
            // "--" by "-" without overlap keeps the 1st, 3rd, ... hyphen of a run.
            hyphenParity = isHyphen ? hyphenParity ^ 1u : 0u;
            const unsigned keep = isHyphen ? hyphenParity : 1u - (isBlank & prevBlank);
            tLength += isHyphen ? hyphenParity : 1u;
            o[w] = tb.rebuildMap[c];
            m[nm] = static_cast<uint32_t>(w);
            nm += ((cls & kMarkBit) >> 2) & keep;
            w += keep;
            prevBlank = isBlank;
        }
        if (i == n) break;
        // A plain run: ends before a slow character, or after the first of two spaces.
        size_t j = i;
        for (; j + 1 < n; ++j) {
            const auto c = static_cast<unsigned char>(t[j]);
            if ((tb.rebuildClass[c] & kSlowBit) | ((c == ' ') & (t[j + 1] == ' '))) break;
        }
        if (j + 1 >= n && !(tb.rebuildClass[static_cast<unsigned char>(t[j])] & kSlowBit)) j = n;
        else if (t[j] == ' ') ++j;
        std::memcpy(o + w, t.data() + i, j - i);
        w += j - i;
        tLength += j - i;
        prevBlank = t[j - 1] == ' ';
        hyphenParity = 0;
        i = j;
    }
    out.resize(w);
    markCount = nm;
    return tLength;
}

size_t MarkKept(std::string_view s, std::vector<uint32_t>& marks)
{
    const Tables& tb = tables();
    marks.resize(s.size() + 1);
    size_t nm = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        marks[nm] = static_cast<uint32_t>(i);
        nm += tb.keptClass[static_cast<unsigned char>(s[i])] >> 2;
    }
    return nm;
}

// The quote pass and the four hyphen replace-alls ("-" by "--", " -- " by " - ", "-- " by
// nothing, "--" by "-"), in place, visiting only the marked positions. Every decision depends
// only on the spaces, commas and full stops around a mark, which neither pass changes, so it
// is taken on the text as it was. For a run of k hyphens:
//   - a lone hyphen with a space on both sides is kept, unless its leading space already
//     closed the previous such hyphen (" -- " matches do not overlap);
//   - otherwise a run followed by a space loses one hyphen and that space (the doubled run's
//     last "-- " is deleted, the rest halves back); any other run stays as it was.
void QuotesAndHyphens(std::string& text, const uint32_t* marks, size_t markCount)
{
    char* s = text.data();
    const size_t n = text.size();
    size_t w = 0, rd = 0;           // write and read cursors; w <= rd
    size_t open = SIZE_MAX;         // written position of an unpaired quote mark
    size_t lastKept = SIZE_MAX - 1; // position of the last spaced lone hyphen
    auto copyUpTo = [&](size_t j) {
        if (w != rd) std::memmove(s + w, s + rd, j - rd);
        w += j - rd;
        rd = j;
    };
    for (size_t idx = 0; idx < markCount;) {
        const size_t j = marks[idx];
        copyUpTo(j);
        // s[j - 1] is either untouched or rewritten in place with a character of the same
        // kind (never a space), so the look-behind sees the text as it was.
        const char prev = j > 0 ? s[j - 1] : '\0';
        const char c = s[j];
        if (c == '-') {
            size_t k = 1;
            while (j + k < n && s[j + k] == '-') ++k;
            const bool spaceAfter = j + k < n && s[j + k] == ' ';
            size_t kept = k;
            rd = j + k;
            if (k == 1 && prev == ' ' && spaceAfter && lastKept + 2 != j) {
                lastKept = j;
            } else if (spaceAfter) {
                kept = k - 1;
                rd = j + k + 1;
            }
            std::memset(s + w, '-', kept);
            w += kept;
            idx += k;
            continue;
        }
        char put = c;
        if (c == kLeftDoubleQuote) {
            put = kLeftGuillemet;
        } else if (c == kRightDoubleQuote) {
            put = kRightGuillemet;
        } else if (c == '"' || c == '`') {
            const char next = j + 1 < n ? s[j + 1] : '\0';
            if (prev == ' ') {
                put = kLeftGuillemet;
            } else if (next == ' ' || next == ',' || next == '.') {
                put = kRightGuillemet;
            } else if (open == SIZE_MAX) {
                open = w;
            } else {
                s[open] = kLeftGuillemet;
                put = kRightGuillemet;
                open = SIZE_MAX;
            }
        }
        s[w++] = put;
        rd = j + 1;
        ++idx;
    }
    copyUpTo(n);
    if (open != SIZE_MAX) s[open] = kRightGuillemet;
    text.resize(w);
}

} // namespace

std::string FlushParagraph(std::string_view buffer, std::vector<uint32_t>& marks)
{
    std::string line;
    if (buffer.empty()) return line;
    size_t markCount = 0;
    if (Rebuild(buffer, line, marks, markCount) < 2) {
        line.assign(buffer);
        markCount = MarkKept(line, marks);
    }
    QuotesAndHyphens(line, marks.data(), markCount);
    return line;
}

} // namespace folio
