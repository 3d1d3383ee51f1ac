#include "replace/Cp1251Regex.h"

#include "io/Error.h"
#include "text/Cp1251.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <array>
#include <new>

namespace folio::regex {
namespace {

// Layout of a PCRE2 table set (pcre2_maketables): lower-case map, flip-case map, ten class
// bitmaps of 32 bytes, then one type byte per character.
constexpr size_t kLcc = 0;
constexpr size_t kFcc = 256;
constexpr size_t kCbits = 512;
constexpr size_t kCtypes = kCbits + 320;
constexpr size_t kTablesLength = kCtypes + 256;
static_assert(kTablesLength == 1088);

enum Cbit : size_t { Space = 0, Xdigit = 32, Digit = 64, Upper = 96, Lower = 128, Word = 160,
                     Graph = 192, Print = 224, Punct = 256, Cntrl = 288 };
enum Ctype : unsigned char { TypeSpace = 0x01, TypeLetter = 0x02, TypeLcLetter = 0x04,
                             TypeDigit = 0x08, TypeWord = 0x10 };

constexpr unsigned char kSmallA = 0xE0, kSmallYa = 0xFF, kSmallYo = 0xB8;
constexpr unsigned char kCapitalA = 0xC0, kCapitalYa = 0xDF, kCapitalYo = 0xA8;

std::array<unsigned char, kTablesLength> buildTables()
{
    std::array<unsigned char, kTablesLength> t{};
    for (int i = 0; i < 256; ++i) {
        const char c = static_cast<char>(i);
        const auto lower = static_cast<unsigned char>(cp1251::ToLower(c));
        const auto upper = static_cast<unsigned char>(cp1251::ToUpper(c));
        t[kLcc + i] = lower;
        t[kFcc + i] = lower != i ? lower : upper;

        // Classes stay those of plain ASCII: \w, \d and the POSIX classes know no Cyrillic.
        const bool digit = i >= '0' && i <= '9';
        const bool up = i >= 'A' && i <= 'Z';
        const bool low = i >= 'a' && i <= 'z';
        const bool alnum = digit || up || low;
        const bool space = i == ' ' || i == '\t' || i == '\n' || i == '\r' || i == '\f';
        const bool xdigit = digit || (i >= 'A' && i <= 'F') || (i >= 'a' && i <= 'f');
        const bool graph = i > 0x20 && i < 0x7F;
        const bool print = i >= 0x20 && i < 0x7F;
        const bool cntrl = i < 0x20 || i == 0x7F;
        auto set = [&](Cbit bit, bool on) {
            if (on) t[kCbits + bit + i / 8] |= static_cast<unsigned char>(1u << (i & 7));
        };
        set(Space, space);
        set(Xdigit, xdigit);
        set(Digit, digit);
        set(Upper, up);
        set(Lower, low);
        set(Word, alnum || i == '_');
        set(Graph, graph);
        set(Print, print);
        set(Punct, graph && !alnum);
        set(Cntrl, cntrl);

        unsigned char type = 0;
        if (space) type |= TypeSpace;
        if (up || low) type |= TypeLetter;
        if (low) type |= TypeLcLetter;
        if (digit) type |= TypeDigit;
        if (alnum || i == '_') type |= TypeWord;
        t[kCtypes + i] = type;
    }
    return t;
}

// ---- Range widening ----------------------------------------------------------------------

bool isAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool isAsciiAlpha(char c) { return isAsciiUpper(c) || (c >= 'a' && c <= 'z'); }
int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A scan of a pattern that knows just enough of PCRE2's syntax to find the ranges inside
// character classes: escapes, \Q…\E, classes with POSIX names, comments, verbs and the
// extended-mode flag that makes "#" start a comment.
class RangeScanner {
public:
    explicit RangeScanner(std::string_view p) : p_(p) {}

    // Positions in the pattern before which a byte goes in, with the byte.
    std::vector<std::pair<size_t, char>> Scan()
    {
        std::vector<bool> extended{false}; // one entry per open group
        size_t i = 0;
        while (i < p_.size()) {
            const char c = p_[i];
            if (c == '\\') {
                i = skipEscapeOutside(i);
            } else if (c == '[') {
                i = scanClass(i + 1);
            } else if (c == '(') {
                i = openGroup(i, extended);
            } else if (c == ')') {
                if (extended.size() > 1) extended.pop_back();
                ++i;
            } else if (c == '#' && extended.back()) {
                while (i < p_.size() && p_[i] != '\n' && p_[i] != '\r') ++i;
            } else {
                ++i;
            }
        }
        return std::move(inserts_);
    }

private:
    // An element of a class: one character (its value when known, else -1), or something
    // that cannot end a range (a class escape, a POSIX class, quoted text).
    struct Atom {
        bool character = false;
        int value = -1;
    };

    size_t skipQuoted(size_t i) const // i just after "\Q"
    {
        const size_t end = p_.find("\\E", i);
        return end == std::string_view::npos ? p_.size() : end + 2;
    }

    size_t skipTo(size_t i, char close) const
    {
        const size_t end = p_.find(close, i);
        return end == std::string_view::npos ? p_.size() : end + 1;
    }

    size_t skipEscapeOutside(size_t i) const
    {
        if (i + 1 >= p_.size()) return p_.size();
        const char e = p_[i + 1];
        if (e == 'Q') return skipQuoted(i + 2);
        if (e == 'c') return std::min(i + 3, p_.size()); // \c[ is a control character
        return i + 2; // the rest of \x{..}, \p{..}, \g{..} holds no bracket
    }

    size_t openGroup(size_t i, std::vector<bool>& extended) const
    {
        const bool outer = extended.back();
        if (p_.compare(i, 3, "(?#") == 0) return skipTo(i + 3, ')');
        if (p_.compare(i, 2, "(*") == 0) {
            if (i + 2 < p_.size() && (isAsciiUpper(p_[i + 2]) || p_[i + 2] == ':'))
                return skipTo(i + 2, ')'); // a verb such as (*MARK:name) or (*CRLF)
            extended.push_back(outer);      // (*pla: …) and the other alpha assertions
            return i + 2;
        }
        if (p_.compare(i, 3, "(?C") == 0 && i + 3 < p_.size()) {
            const char d = p_[i + 3];
            if (std::string_view("`'\"^%#$").find(d) != std::string_view::npos)
                return skipTo(skipTo(i + 4, d), ')');
            if (d == '{') return skipTo(skipTo(i + 4, '}'), ')');
        }
        if (p_.compare(i, 2, "(?") == 0) {
            // Option letters: "(?x)" changes the current group, "(?x:" opens one.
            bool on = true;
            bool x = outer;
            size_t j = i + 2;
            for (; j < p_.size() && (isAsciiAlpha(p_[j]) || p_[j] == '-' || p_[j] == '^'); ++j) {
                if (p_[j] == '-') on = false;
                else if (p_[j] == '^') x = false;
                else if (p_[j] == 'x') x = on;
            }
            if (j < p_.size() && p_[j] == ')') {
                extended.back() = x;
                return j + 1;
            }
            if (j < p_.size() && p_[j] == ':') {
                extended.push_back(x);
                return j + 1;
            }
            extended.push_back(outer); // (?=, (?<name>, (?| and the like
            return i + 2;
        }
        extended.push_back(outer);
        return i + 1;
    }

    // Reads the class element at i and moves i past it.
    Atom readAtom(size_t& i) const
    {
        const char c = p_[i];
        if (c == '[' && i + 1 < p_.size() && (p_[i + 1] == ':' || p_[i + 1] == '.' || p_[i + 1] == '=')) {
            const char kind = p_[i + 1];
            const char close[3] = {kind, ']', '\0'};
            const size_t end = p_.find(close, i + 2);
            if (end != std::string_view::npos) {
                i = end + 2;
                return {};
            }
        }
        if (c != '\\') {
            ++i;
            return {true, static_cast<unsigned char>(c)};
        }
        if (i + 1 >= p_.size()) {
            ++i;
            return {};
        }
        const char e = p_[i + 1];
        i += 2;
        switch (e) {
        case 'Q':
            i = skipQuoted(i);
            return {};
        case 'x': {
            int value = 0;
            if (i < p_.size() && p_[i] == '{') {
                const size_t end = p_.find('}', i);
                if (end == std::string_view::npos) return {};
                for (size_t k = i + 1; k < end; ++k) {
                    const int h = hexValue(p_[k]);
                    if (h < 0 || value > 0xFFFF) {
                        value = -1;
                        break;
                    }
                    value = value * 16 + h;
                }
                i = end + 1;
                return {true, value};
            }
            for (int n = 0; n < 2 && i < p_.size() && hexValue(p_[i]) >= 0; ++n) value = value * 16 + hexValue(p_[i++]);
            return {true, value};
        }
        case 'c':
            if (i < p_.size()) ++i;
            return {true, -1};
        case 'o':
        case 'N':
        case 'p':
        case 'P':
            if (i < p_.size() && p_[i] == '{') i = skipTo(i, '}');
            else if (e == 'p' || e == 'P') i = std::min(i + 1, p_.size());
            return {e == 'o', -1};
        case 'd': case 'D': case 's': case 'S': case 'w': case 'W':
        case 'h': case 'H': case 'v': case 'V': case 'R': case 'X':
            return {};
        default:
            if (e >= '0' && e <= '7') {
                while (i < p_.size() && p_[i] >= '0' && p_[i] <= '7') ++i;
                return {true, -1};
            }
            // \t, \n and other letters stand for ASCII characters; an escaped non-letter is itself.
            return {true, isAsciiAlpha(e) ? -1 : static_cast<unsigned char>(e)};
        }
    }

    size_t scanClass(size_t i) // i just after "["
    {
        if (i < p_.size() && p_[i] == '^') ++i;
        bool first = true;
        while (i < p_.size()) {
            if (p_[i] == ']' && !first) return i + 1;
            if (p_.compare(i, 2, "\\E") == 0) { // a stray \E is ignored
                i += 2;
                continue;
            }
            const size_t start = i;
            const Atom a = (first && p_[i] == ']') ? (++i, Atom{true, ']'}) : readAtom(i);
            first = false;
            if (!a.character || i + 1 >= p_.size() || p_[i] != '-' || p_[i + 1] == ']') continue;
            size_t j = i + 1;
            const Atom b = readAtom(j);
            if (!b.character) continue; // "-" is then a plain hyphen
            i = j;
            // ё goes in front of the range: after it, a following "-" could start a new range.
            if (a.value == kSmallA && b.value == kSmallYa) inserts_.emplace_back(start, static_cast<char>(kSmallYo));
            if (a.value == kCapitalA && b.value == kCapitalYa) inserts_.emplace_back(start, static_cast<char>(kCapitalYo));
        }
        return i;
    }

    std::string_view p_;
    std::vector<std::pair<size_t, char>> inserts_;
};

// ---- PCRE2 objects ---------------------------------------------------------------------

struct CompileContextDeleter {
    void operator()(pcre2_compile_context* c) const { pcre2_compile_context_free(c); }
};
struct MatchContextDeleter {
    void operator()(pcre2_match_context* c) const { pcre2_match_context_free(c); }
};
struct MatchDataDeleter {
    void operator()(pcre2_match_data* d) const { pcre2_match_data_free(d); }
};
struct JitStackDeleter {
    void operator()(pcre2_jit_stack* s) const { pcre2_jit_stack_free(s); }
};

std::string errorText(int code)
{
    PCRE2_UCHAR buffer[256];
    const int n = pcre2_get_error_message(code, buffer, sizeof buffer);
    if (n < 0) return "код " + std::to_string(code);
    return std::string(reinterpret_cast<const char*>(buffer), static_cast<size_t>(n));
}

std::string quoted(const std::string& pattern)
{
    return "\"" + cp1251::ToUtf8(pattern) + "\"";
}

// The JIT's own stack: large enough for long texts; a match that still overflows it is run
// again by the interpreter.
constexpr size_t kJitStackStart = 32 * 1024;
constexpr size_t kJitStackMax = 8 * 1024 * 1024;

} // namespace

const unsigned char* Cp1251Tables()
{
    static const std::array<unsigned char, kTablesLength> tables = buildTables();
    return tables.data();
}

std::string WidenRussianRanges(std::string_view pattern, std::vector<size_t>* inserted)
{
    const auto inserts = RangeScanner(pattern).Scan();
    if (inserted) inserted->clear();
    std::string out;
    out.reserve(pattern.size() + inserts.size());
    size_t from = 0;
    for (const auto& [at, byte] : inserts) {
        out.append(pattern.substr(from, at - from));
        if (inserted) inserted->push_back(out.size());
        out += byte;
        from = at;
    }
    out.append(pattern.substr(from));
    return out;
}

struct Expression::Code {
    pcre2_code* code = nullptr;
    ~Code() { pcre2_code_free(code); }
};

Expression::Expression(std::string_view pattern) : pattern_(pattern)
{
    std::vector<size_t> inserted;
    const std::string widened = WidenRussianRanges(pattern, &inserted);

    std::unique_ptr<pcre2_compile_context, CompileContextDeleter> context(pcre2_compile_context_create(nullptr));
    if (!context) throw std::bad_alloc();
    pcre2_set_character_tables(context.get(), Cp1251Tables());
    // CR, LF and CR LF end lines for (?m) and for "." under (?-s); \R takes no cp1251 "…" (0x85).
    pcre2_set_newline(context.get(), PCRE2_NEWLINE_ANYCRLF);
    pcre2_set_bsr(context.get(), PCRE2_BSR_ANYCRLF);

    // Texts are cp1251: (*UTF) and (*UCP) would misread them.
    const uint32_t options = PCRE2_DOTALL | PCRE2_DOLLAR_ENDONLY | PCRE2_NEVER_UTF | PCRE2_NEVER_UCP;
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(widened.data()), widened.size(), options,
                                     &error, &offset, context.get());
    if (!code) {
        // The offset counts in the widened pattern; the editor sees the expression as written.
        const auto before = std::lower_bound(inserted.begin(), inserted.end(), offset) - inserted.begin();
        const size_t position = offset - static_cast<size_t>(before);
        throw Error("Ошибка в выражении " + quoted(pattern_) + ": " + errorText(error) + " (позиция " +
                    std::to_string(position) + ")");
    }
    code_ = std::make_unique<Code>();
    code_->code = code;
    jitted_ = pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) == 0;
}

Expression::~Expression() = default;

std::string Expression::ReplaceAll(std::string_view text, std::string_view value) const
{
    pcre2_code* code = code_->code;
    std::unique_ptr<pcre2_match_data, MatchDataDeleter> data(pcre2_match_data_create_from_pattern(code, nullptr));
    std::unique_ptr<pcre2_match_context, MatchContextDeleter> context(pcre2_match_context_create(nullptr));
    if (!data || !context) throw std::bad_alloc();
    std::unique_ptr<pcre2_jit_stack, JitStackDeleter> stack;
    if (jitted_) {
        stack.reset(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr));
        if (stack) pcre2_jit_stack_assign(context.get(), nullptr, stack.get());
    }

    const auto subject = reinterpret_cast<PCRE2_SPTR>(text.data());
    const size_t n = text.size();
    auto match = [&](size_t start, uint32_t options) {
        int rc = pcre2_match(code, subject, n, start, options, data.get(), context.get());
        if (rc == PCRE2_ERROR_JIT_STACKLIMIT)
            rc = pcre2_match(code, subject, n, start, options | PCRE2_NO_JIT, data.get(), context.get());
        if (rc < 0 && rc != PCRE2_ERROR_NOMATCH)
            throw Error("Ошибка при поиске по выражению " + quoted(pattern_) + ": " + errorText(rc));
        return rc;
    };

    std::string out;
    out.reserve(n);
    size_t copied = 0;   // text before this is in `out`
    size_t start = 0;    // where the next search starts
    uint32_t retry = 0;  // options of a retry after an empty match
    for (;;) {
        if (match(start, retry) == PCRE2_ERROR_NOMATCH) {
            if (retry == 0) break;
            // No non-empty match where the empty one was: step over one character, CR LF whole.
            start += (text[start] == '\r' && start + 1 < n && text[start + 1] == '\n') ? 2 : 1;
            retry = 0;
            continue;
        }
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());
        const size_t from = ovector[0];
        const size_t to = ovector[1];
        if (to < from || from < copied) // only \K inside a lookaround can do this
            throw Error("Ошибка при поиске по выражению " + quoted(pattern_) + ": " +
                        errorText(PCRE2_ERROR_BADSUBSPATTERN));
        out.append(text.substr(copied, from - copied));
        out.append(value);
        copied = start = to;
        if (from != to) {
            retry = 0;
        } else {
            if (to == n) break;
            retry = PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED;
        }
    }
    out.append(text.substr(copied));
    return out;
}

} // namespace folio::regex
