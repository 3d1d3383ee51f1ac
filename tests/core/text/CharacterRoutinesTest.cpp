// Code-page test, cp866 recoding, capitals and transliteration.
#include "CaseFile.h"
#include "TextTestUtil.h"

#include "text/Capitals.h"
#include "text/Cp1251.h"
#include "text/Cp866.h"
#include "text/DetectCp1251.h"
#include "text/Transliterate.h"

#include <gtest/gtest.h>

using texttest::Cp;

namespace {

const char* const kParagraph =
    "Все счастливые семьи похожи друг на друга, каждая несчастливая семья несчастлива "
    "по-своему. Все смешалось в доме Облонских. Жена узнала, что муж был в связи с бывшею в "
    "их доме француженкою-гувернанткой, и объявила мужу, что не может жить с ним в одном доме.";

// KOI8-R codes of the Russian letters (enough to store a paragraph in that code page).
std::string ToKoi8(const std::string& cp1251Text)
{
    static const std::string order = Cp("юабцдефгхийклмнопярстужвьызшэщчъ");
    std::string out;
    for (char c : cp1251Text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0xC0) {
            const char small = static_cast<char>(b >= 0xE0 ? b : b + 0x20);
            const auto pos = order.find(small);
            out += static_cast<char>((b >= 0xE0 ? 0xC0 : 0xE0) + pos);
        } else {
            out += c;
        }
    }
    return out;
}

TEST(DetectCp1251, RealParagraphInThreeCodePages)
{
    const std::string cp1251 = Cp(kParagraph);
    struct Case { const char* name; std::string text; bool expected; };
    const Case cases[] = {
        {"empty", "", true},
        {"plain ASCII", "Just some English text, with 7-bit bytes only.\r\n", true},
        {"cp1251", cp1251, true},
        {"cp866", textcases::ToCp866(cp1251), false},
        {"KOI8-R", ToKoi8(cp1251), false},
    };
    for (const auto& c : cases) EXPECT_EQ(folio::DetectCp1251(c.text), c.expected) << c.name;
}

TEST(DetectCp1251, JudgesByTrueCountsAndLowestValueOnTies)
{
    auto repeat = [](int byte, size_t n) { return std::string(n, static_cast<char>(byte)); };
    // 300 is 44 in a byte counter and 70000 is 4464 in a 16-bit one: a narrow counter would
    // let the three cp866 letters win both times.
    EXPECT_TRUE(folio::DetectCp1251(repeat(0xE5, 300) + repeat(0xE8, 300) + repeat(0xA5, 100) +
                                    repeat(0xA8, 100) + repeat(0xAE, 100)));
    EXPECT_TRUE(folio::DetectCp1251(repeat(0xEE, 70000) + repeat(0xE5, 70000) + repeat(0xA5, 5000) +
                                    repeat(0xA8, 5000) + repeat(0xAE, 5000)));
    // Ties go to the lowest value: A5 A8 (cp866) before E5 (cp1251).
    EXPECT_FALSE(folio::DetectCp1251(repeat(0xE5, 10) + repeat(0xA8, 10) + repeat(0xA5, 10)));
    // One high byte: picks E5, then 7F twice; cp1251 1 against 0.
    EXPECT_TRUE(folio::DetectCp1251("abc\xE5"));
    EXPECT_FALSE(folio::DetectCp1251("abc\xAE"));
    // KOI8-R winning outright also answers false.
    EXPECT_FALSE(folio::DetectCp1251(repeat(0xC5, 5) + repeat(0xC9, 5) + repeat(0xE5, 4)));
}

// cp866 code points of the characters whose cp1251 counterpart is exact.
char32_t Cp866Unicode(int b)
{
    if (b < 0x80) return static_cast<char32_t>(b);
    if (b <= 0xAF) return 0x0410 + (b - 0x80);
    if (b >= 0xE0 && b <= 0xEF) return 0x0440 + (b - 0xE0);
    switch (b) {
    case 0xF0: return 0x0401; case 0xF1: return 0x0451; case 0xF2: return 0x0404;
    case 0xF3: return 0x0454; case 0xF4: return 0x0407; case 0xF5: return 0x0457;
    case 0xF6: return 0x040E; case 0xF7: return 0x045E; case 0xF8: return 0x00B0;
    case 0xFA: return 0x00B7; case 0xFC: return 0x2116; case 0xFD: return 0x00A4;
    case 0xFF: return 0x00A0;
    default: return 0; // pseudographics and symbols cp1251 lacks
    }
}

TEST(Cp866ToCp1251, LettersAndExactSymbolsKeepTheirCharacter)
{
    for (int b = 0; b < 256; ++b) {
        const char32_t expected = Cp866Unicode(b);
        if (expected == 0) continue;
        const auto mapped = folio::Cp866ToCp1251Byte(static_cast<unsigned char>(b));
        EXPECT_EQ(folio::cp1251::ToUnicode(mapped), expected) << std::hex << b;
    }
    EXPECT_EQ(folio::Cp866ToCp1251("\x8F\xE0\xA8\xA2\xA5\xE2 \xF1 \xFC" "5"), Cp("Привет ё №5"));
}

TEST(Cp866ToCp1251, PseudographicsBecomePlainSignsThatNeverSplitOrTrimALine)
{
    const std::string box = "\xDA\xC4\xC4\xBF\r\n\xB3\xB0\xDB\xBA\r\n\xC0\xCD\xCD\xD9\xFE\xF9\xFB";
    EXPECT_EQ(folio::Cp866ToCp1251(box), "+--+\r\n|##|\r\n+--+\x95\xB7v");
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string mapped = folio::Cp866ToCp1251(all);
    ASSERT_EQ(mapped.size(), all.size());
    for (int b = 0x80; b < 256; ++b) {
        const char c = mapped[b];
        EXPECT_TRUE(c != '\r' && c != '\n' && c != '\t' && c != ' ' && c != '\x85') << std::hex << b;
    }
    EXPECT_EQ(mapped.substr(0, 0x80), all.substr(0, 0x80));
}

TEST(Capitals, UpCaseCyrillicTouchesOnlyTheRussianSmallLetters)
{
    const std::string small = Cp("абвгдеёжзийклмнопрстуфхцчшщъыьэюя");
    const std::string capital = Cp("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
    for (size_t i = 0; i < small.size(); ++i) EXPECT_EQ(folio::UpCaseCyrillic(small[i]), capital[i]) << i;
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        if (small.find(c) == std::string::npos) {
            EXPECT_EQ(folio::UpCaseCyrillic(c), c) << b;
        }
    }
}

TEST(Capitals, UpperCaseRu)
{
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"Привет, world", "ПРИВЕТ, WORLD"},
        {"ёжик-2_x", "ЁЖИК-2_X"},
        {"ўі є", "ўі є"}, // other Cyrillic letters keep their case
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(folio::UpperCaseRu(Cp(c.in)), Cp(c.out)) << c.in;
}

TEST(Transliterate, WordsCharacterByCharacter)
{
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"Щедрин", "shedrin"}, {"Жёлтый-2", "veltyj-2"}, {"Юрий Ёж", "jurijev"}, {"Мать", "matx"},
        {"Въезд Шишкина", "wxezdshishkina"}, {"Эхо, Цапля; чай!", "jehocapljachaj"},
        {"File_Name-01.txt", "file_name-01txt"}, {"ўі№\t", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(folio::TransliterateText(Cp(c.in)), c.out) << c.in;
}

TEST(Transliterate, EveryRussianLetterInBothCases)
{
    const std::string small = Cp("абвгдеёжзийклмнопрстуфхцчшщъыьэюя");
    const char* latin[] = {"a", "b", "w", "g", "d", "e", "e", "v", "z", "i", "j", "k", "l", "m",
                           "n", "o", "p", "r", "s", "t", "u", "f", "h", "c", "ch", "sh", "sh",
                           "x", "y", "x", "je", "ju", "ja"};
    for (size_t i = 0; i < small.size(); ++i) {
        const std::string s(1, small[i]);
        EXPECT_EQ(folio::TransliterateChar(s), latin[i]) << i;
        EXPECT_EQ(folio::TransliterateChar(std::string(1, folio::UpCaseCyrillic(small[i]))), latin[i]) << i;
    }
    EXPECT_EQ(folio::TransliterateChar(""), "");
    EXPECT_EQ(folio::TransliterateChar("Q"), "q");
    EXPECT_EQ(folio::TransliterateChar(" "), "");
}

} // namespace
