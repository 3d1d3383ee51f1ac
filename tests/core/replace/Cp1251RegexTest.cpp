#include "io/Error.h"
#include "replace/Cp1251Regex.h"
#include "text/Cp1251.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

using folio::Error;
using folio::regex::Cp1251Tables;
using folio::regex::Expression;
using folio::regex::WidenRussianRanges;
using namespace std::string_literals;

namespace {

// Test texts are written in UTF-8 and handed to the code as cp1251.
std::string cp(const std::string& utf8) { return folio::cp1251::FromUtf8(utf8); }
std::string utf8(const std::string& cp1251) { return folio::cp1251::ToUtf8(cp1251); }

std::string replaceAll(const std::string& pattern, const std::string& value, const std::string& text)
{
    return Expression(cp(pattern)).ReplaceAll(cp(text), cp(value));
}

struct ReplaceCase {
    const char* name;
    std::string pattern, value, input, expected;
};

void runCases(const std::vector<ReplaceCase>& cases)
{
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(utf8(replaceAll(c.pattern, c.value, c.input)), c.expected);
    }
}

} // namespace

TEST(ReplaceRegex, RussianRangesTakeYo)
{
    runCases({
        {"small range takes ё", "[а-я]", "*", "ёж Ё", "** Ё"},
        {"capital range takes Ё", "[А-Я]", "*", "Ёж ё", "*ж ё"},
        {"both ranges, a word", "[а-яА-Я]+", "W", "Ёлочка, ёжик!", "W, W!"},
        {"negated small range leaves ё out", "[^а-я]", "*", "ёЁя", "ё*я"},
        {"narrower range gains nothing", "[б-д]", "*", "ёбвгде", "ё****е"},
        {"range up to ю gains nothing", "[а-ю]+", "*", "ёж", "ё*"},
        {"hex escapes of the same range", "[\\xE0-\\xFF]", "*", "ё", "*"},
        {"braced hex escapes of the capital range", "[\\x{C0}-\\x{DF}]", "*", "Ё", "*"},
        {"hyphen after the range stays a hyphen", "[а-я-]+", "*", "ё-ж z", "* z"},
        {"literal а-я outside a class", "а-я", "X", "а-я ё", "X ё"},
        {"escaped brackets are no class", "\\[а-я\\]", "X", "[а-я] [ё]", "X [ё]"},
        {"plain ё, case-sensitive", "ё", "е", "Ёлка ёж", "Ёлка еж"},
    });
}

TEST(ReplaceRegex, CaseFolding)
{
    runCases({
        {"case-sensitive by default", "привет", "X", "Привет привет ПРИВЕТ", "Привет X ПРИВЕТ"},
        {"(?i) folds Russian letters", "(?i)привет", "X", "Привет привет ПРИВЕТ", "X X X"},
        {"(?i) folds ё and Ё", "(?i)ёж", "X", "ЁЖ ёж Ёж ёЖ", "X X X X"},
        {"(?i) folds Ё to ё", "(?i)Ё", "X", "ёЁ", "XX"},
        {"(?i) with a small range", "(?i)[а-я]+", "W", "ПРИВЕТ, Ёлка", "W, W"},
        {"(?i) with a capital range", "(?i)[А-Я]", "*", "яЯёЁ", "****"},
        {"(?i) folds other cp1251 letters", "(?i)ї", "X", "Її", "XX"},
        {"(?i) folds Latin letters", "(?i)abc", "X", "ABC abc", "X X"},
        {"(?i) scoped to a group", "(?i:а)б", "X", "Аб АБ", "X АБ"},
        {"(?i) on a back reference", "(?i)(ж)\\1", "X", "жЖ", "X"},
    });
}

TEST(ReplaceRegex, ValueIsInsertedUnchanged)
{
    runCases({
        {"dollar digit", "(a)", "$1", "xa", "x$1"},
        {"backslash digit", "(a)", "\\1", "xa", "x\\1"},
        {"backslash n", "a", "\\n", "a", "\\n"},
        {"dollar ampersand", "a", "$&", "a", "$&"},
        {"braced group", "(a)", "${1}", "a", "${1}"},
        {"empty value deletes", "a+", "", "baab", "bb"},
    });
}

TEST(ReplaceRegex, LineBreaksAnchorsAndGreed)
{
    runCases({
        {"dot matches CR and LF", "a.*b", "X", "a\r\nzz\r\nb", "X"},
        {"dot matches one byte of CR LF", "a..b", "X", "a\r\nb", "X"},
        {"escaped CR LF joins lines", "\\r\\n", " ", "a\r\nb\r\n", "a b "},
        {"^ only at the text's start", "^x", "-", "x\r\nx\r\n", "-\r\nx\r\n"},
        {"$ only at the very end", "x$", "-", "x\r\nx", "x\r\n-"},
        {"$ not before a final line break", "x$", "-", "x\r\n", "x\r\n"},
        {"$ alone appends", "$", "END", "a\r\n", "a\r\nEND"},
        {"(?m) still gives line anchors", "(?m)^x", "-", "x\r\nx\rx\nx", "-\r\n-\r-\n-"},
        {"(?-s) dot stops at line breaks", "(?-s)a.*", "X", "abc\r\nad", "X\r\nX"},
        {"greedy by default", "<.+>", "X", "<a> <b>", "X"},
        {"non-greedy on request", "<.+?>", "X", "<a> <b>", "X X"},
        {"brace quantifier", "o{2,3}", "0", "foooo xoo xo", "f0o x0 xo"},
        {"inline comment", "a(?#note)b", "X", "ab", "X"},
    });
}

TEST(ReplaceRegex, WordAndSpaceClassesAreAscii)
{
    runCases({
        {"\\w takes no Cyrillic", "\\w+", "W", "abc ёжик_1", "W ёжикW"},
        {"\\W takes Cyrillic", "\\W", "-", "aё", "a-"},
        {"\\b between Cyrillic and Latin", "\\bab", "X", "ёab жab", "ёX жX"},
        {"no \\b between Cyrillic letters", "ё\\Bж", "X", "ёж", "X"},
        {"\\d is ASCII digits", "\\d+", "#", "a12b", "a#b"},
        {"\\s is space, TAB, LF, CR, FF but not VT", "\\s", "_", "a b\tc\x0B" "d\fe\r\n", "a_b_c\x0B" "d_e__"},
        {"\\R takes no ellipsis", "\\R", "|", "a\xE2\x80\xA6\r\nb", "a\xE2\x80\xA6|b"},
    });
}

TEST(ReplaceRegex, ReplaceAllWithoutRescanning)
{
    runCases({
        {"each match once", "a", "aa", "aaa", "aaaaaa"},
        {"what was put in is not searched", "ab", "b", "aab", "ab"},
        {"matches do not overlap", "aa", "b", "aaa", "ba"},
        {"empty matches between characters", "x*", "-", "abc", "-a-b-c-"},
        {"empty match after a real one", "x*", "-", "xab", "--a-b-"},
        {"CR LF is stepped over whole", "x*", "-", "a\r\nb", "-a-\r\n-b-"},
        {"lookahead only", "(?=b)", "-", "abab", "a-ba-b"},
        {"empty pattern on empty text", "(?:)", "-", "", "-"},
    });
}

// The loop must agree with PCRE2's own global literal substitution on empty matches,
// anchors and line breaks.
TEST(ReplaceRegex, AgreesWithPcre2Substitute)
{
    const std::vector<std::string> patterns = {"", "x*", "a*?", "(?=b)", "\\b", "$", "^", "(?m)^", "(?m)$",
                                               "\\r?", "a|", "(?m)$\\s*", "[а-я]*", "(?i)Ё*", ".", "\\R*"};
    const std::vector<std::string> texts = {"", "a", "abc", "a\r\nb\r\n", "\r\n\r\n", "bab", "xxaxb", "ёЁж\rж\n"};
    for (const auto& p : patterns) {
        const std::string pattern = WidenRussianRanges(cp(p));
        int error = 0;
        PCRE2_SIZE offset = 0;
        pcre2_compile_context* cc = pcre2_compile_context_create(nullptr);
        pcre2_set_character_tables(cc, Cp1251Tables());
        pcre2_set_newline(cc, PCRE2_NEWLINE_ANYCRLF);
        pcre2_set_bsr(cc, PCRE2_BSR_ANYCRLF);
        pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                         PCRE2_DOTALL | PCRE2_DOLLAR_ENDONLY, &error, &offset, cc);
        ASSERT_NE(code, nullptr) << p;
        for (const auto& t : texts) {
            SCOPED_TRACE("pattern " + p + " text " + t);
            const std::string text = cp(t);
            const std::string value = "<$1>";
            std::string expected(text.size() * 8 + 64, '\0');
            PCRE2_SIZE length = expected.size();
            const int rc = pcre2_substitute(code, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), 0,
                                            PCRE2_SUBSTITUTE_GLOBAL | PCRE2_SUBSTITUTE_LITERAL, nullptr, nullptr,
                                            reinterpret_cast<PCRE2_SPTR>(value.data()), value.size(),
                                            reinterpret_cast<PCRE2_UCHAR*>(expected.data()), &length);
            ASSERT_GE(rc, 0);
            expected.resize(length);
            EXPECT_EQ(Expression(cp(p)).ReplaceAll(text, value), expected);
        }
        pcre2_code_free(code);
        pcre2_compile_context_free(cc);
    }
}

TEST(ReplaceRegex, WidensOnlyClassRanges)
{
    struct Case {
        const char* name;
        std::string pattern, expected;
    };
    const Case cases[] = {
        {"small range", "[а-я]", "[ёа-я]"},
        {"capital range", "[А-Я]", "[ЁА-Я]"},
        {"both", "[а-яА-Я]", "[ёа-яЁА-Я]"},
        {"negated", "[^а-я]", "[^ёа-я]"},
        {"before a hyphen range start", "[а-я-z]", "[ёа-я-z]"},
        {"after a POSIX class", "[[:alpha:]а-я]", "[[:alpha:]ёа-я]"},
        {"after an escaped bracket", "[\\]а-я]", "[\\]ёа-я]"},
        {"after a leading bracket", "[]а-я]", "[]ёа-я]"},
        {"hex escapes", "[\\xE0-\\xFF]", "[ё\\xE0-\\xFF]"},
        {"braced hex escapes", "[\\x{C0}-\\x{DF}]", "[Ё\\x{C0}-\\x{DF}]"},
        {"two classes", "[а-я][А-Я]", "[ёа-я][ЁА-Я]"},
        {"other ranges", "[б-я][а-ю][А-Ю][a-z]", "[б-я][а-ю][А-Ю][a-z]"},
        {"outside a class", "а-я", "а-я"},
        {"escaped bracket outside", "\\[а-я]", "\\[а-я]"},
        {"quoted text", "\\Q[а-я]\\E", "\\Q[а-я]\\E"},
        {"quoted in a class", "[\\Qа-я\\E]", "[\\Qа-я\\E]"},
        {"comment group", "(?#[)а-я]", "(?#[)а-я]"},
        {"control escape \\c[", "\\c[а-я]", "\\c[а-я]"},
        {"verb name", "(*MARK:[)а-я]", "(*MARK:[)а-я]"},
        {"range already taken by an earlier one", "[%-а-я]", "[%-а-я]"},
        {"# without extended mode", "#[\nа-я]", "#[\nёа-я]"},
        {"# comment in extended mode", "(?x)#[\nа-я]", "(?x)#[\nа-я]"},
        {"extended mode switched off", "(?x)(?-x)#[а-я]", "(?x)(?-x)#[ёа-я]"},
        {"extended mode ends with its group", "(?x:a)#[а-я]", "(?x:a)#[ёа-я]"},
        {"extended mode of a group", "(?x:#[\n)а-я]", "(?x:#[\n)а-я]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(utf8(WidenRussianRanges(cp(c.pattern))), c.expected);
    }

    std::vector<size_t> inserted;
    WidenRussianRanges(cp("x[а-я][А-Я]"), &inserted);
    EXPECT_EQ(inserted, (std::vector<size_t>{2, 8}));
}

TEST(ReplaceRegex, BadExpressionNamesItsReasonAndPosition)
{
    struct Case {
        const char* name;
        std::string pattern;
        std::string reason;
        size_t position;
    };
    const Case cases[] = {
        {"open parenthesis", "(ё", "missing closing parenthesis", 2},
        {"unmatched close", "a)б", "unmatched closing parenthesis", 1},
        {"open class after a widened range", "[а-я]x[", "missing terminating ] for character class", 7},
        {"close after a widened range", "[а-я]x)", "unmatched closing parenthesis", 6},
        {"nothing to repeat", "*a", "quantifier does not follow a repeatable item", 0},
        {"range out of order", "[я-а]", "range out of order in character class", 3},
        {"UTF is refused", "(*UTF)ё", "using UTF is disabled by the application", 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            Expression e(cp(c.pattern));
            ADD_FAILURE() << "compiled";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "Ошибка в выражении \"" + c.pattern + "\": " + c.reason + " (позиция " +
                                                 std::to_string(c.position) + ")");
        }
    }
}

TEST(ReplaceRegex, FailingSearchIsAnError)
{
    // Nested repeats over a run that does not reach the end: the match limit stops the search.
    const Expression e("(a+)+$");
    const std::string text = std::string(40, 'a') + "b";
    try {
        e.ReplaceAll(text, "x");
        ADD_FAILURE() << "no error";
    } catch (const Error& err) {
        EXPECT_EQ(std::string(err.what()),
                  "Ошибка при поиске по выражению \"(a+)+$\": match limit exceeded");
    }
}

TEST(ReplaceRegex, TablesFollowCp1251)
{
    const unsigned char* t = Cp1251Tables();
    const unsigned char* lcc = t;
    const unsigned char* fcc = t + 256;
    const unsigned char* cbits = t + 512;
    const unsigned char* ctypes = t + 832;

    // The ASCII half is what PCRE2 builds for the C locale, VT apart (not white space here).
    ASSERT_STREQ(std::setlocale(LC_CTYPE, nullptr), "C");
    const unsigned char* c = pcre2_maketables(nullptr);
    ASSERT_NE(c, nullptr);
    for (int i = 0; i < 128; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lcc[i], c[i]);
        EXPECT_EQ(fcc[i], c[256 + i]);
        EXPECT_EQ(ctypes[i], c[832 + i] & (i == 0x0B ? ~1 : 0xFF));
    }
    for (int k = 0; k < 320; ++k) {
        const bool vtByte = k == 0x0B / 8; // the space bitmap's byte holding VT
        EXPECT_EQ(cbits[k], vtByte ? (c[512 + k] & ~(1 << (0x0B & 7))) : c[512 + k]) << k;
    }
    pcre2_maketables_free(nullptr, c);

    // The upper half: cp1251 case pairs, no classes.
    for (int i = 128; i < 256; ++i) {
        SCOPED_TRACE(i);
        const char ch = static_cast<char>(i);
        EXPECT_EQ(lcc[i], static_cast<unsigned char>(folio::cp1251::ToLower(ch)));
        EXPECT_EQ(fcc[fcc[i]], i); // flipping twice gives the letter back
        EXPECT_EQ(ctypes[i], 0);
        for (int bitmap = 0; bitmap < 10; ++bitmap) EXPECT_EQ(cbits[bitmap * 32 + i / 8] & (1 << (i & 7)), 0);
    }
    EXPECT_EQ(fcc[0xB8], 0xA8); // ё Ё
    EXPECT_EQ(fcc[0xA8], 0xB8);
    EXPECT_EQ(fcc[0xE0], 0xC0); // а А
    EXPECT_EQ(fcc[0xDF], 0xFF); // Я я
    EXPECT_EQ(fcc[0xB9], 0xB9); // № has no case
}
