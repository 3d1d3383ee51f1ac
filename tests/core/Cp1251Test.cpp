#include "text/Cp1251.h"

#include <gtest/gtest.h>

using namespace folio;

TEST(Cp1251, CaseMappingCoversEveryCp1251Letter)
{
    struct Case { unsigned char small, capital; };
    const Case cases[] = {
        {'a', 'A'}, {'z', 'Z'}, {0xE0, 0xC0} /* а */, {0xFF, 0xDF} /* я */, {0xB8, 0xA8} /* ё */,
        {0xB3, 0xB2} /* і */, {0xBF, 0xAF} /* ї */, {0xBA, 0xAA} /* є */, {0xB4, 0xA5} /* ґ */,
        {0xA2, 0xA1} /* ў */, {0x90, 0x80} /* ђ */, {0x9F, 0x8F} /* џ */,
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp1251::ToUpper(static_cast<char>(c.small)), static_cast<char>(c.capital)) << int(c.small);
        EXPECT_EQ(cp1251::ToLower(static_cast<char>(c.capital)), static_cast<char>(c.small)) << int(c.capital);
    }
    // Punctuation and symbols have no case.
    for (int b : {int('1'), int('\t'), 0x96 /* – */, 0xAB /* « */, 0xB9 /* № */})
        EXPECT_EQ(cp1251::ToUpper(static_cast<char>(b)), static_cast<char>(b));
    EXPECT_TRUE(cp1251::EqualNoCase("id_Projects", "ID_PROJECTS"));
    EXPECT_TRUE(cp1251::EqualNoCase(cp1251::FromUtf8("имя_ё"), cp1251::FromUtf8("ИМЯ_Ё")));
    EXPECT_FALSE(cp1251::EqualNoCase("id", "idx"));
}

TEST(Cp1251, Utf8RoundTripOfEveryByte)
{
    std::string all;
    for (int i = 1; i < 256; ++i) all += static_cast<char>(i);
    EXPECT_EQ(cp1251::FromUtf8(cp1251::ToUtf8(all)), all);
    EXPECT_EQ(cp1251::ToUtf8("\xC0\xE1\xE2 \xA8\xB8 \xB9 \x97"), "Абв Ёё № —");
}

TEST(Cp1251, Utf8WithoutCp1251CounterpartOrBrokenBecomesQuestionMark)
{
    EXPECT_EQ(cp1251::FromUtf8("a\xE2\x88\x9E" "b"), "a?b");       // ∞
    EXPECT_EQ(cp1251::FromUtf8("\xF0\x9F\x98\x80"), "?");           // emoji
    EXPECT_EQ(cp1251::FromUtf8("x\xD0"), "x?");                     // cut short
    EXPECT_EQ(cp1251::FromUtf8("\xD0x"), "?x");                     // bad continuation
}
