// The quote and dash passes as tables of cases.
#include "TextTestUtil.h"

#include "text/QuotesAndDashes.h"

#include <gtest/gtest.h>

using texttest::Cp;

namespace {

struct Case { const char* in; const char* out; };

TEST(ConvertQuotes, ReplaceAllsThenPairing)
{
    const Case cases[] = {
        {"“a” b", "«a» b"},
        {"x \"a\" y", "x «a» y"},          // after a space opens, before a space closes
        {"x `a` y", "x «a» y"},
        {"\"a\", `b`.", "»a», «b»."},        // at the text start nothing precedes: the quote
                                             // is left for pairing, then leftover
        {"a\"b\"c", "a«b»c"},               // paired left to right
        {"a\"b`c\"d", "a«b»c»d"},           // kinds mix; a leftover closes
        {"\"", "»"},
        {"\"\"", "«»"},
        {" \" ", " « "},                     // the space before wins over the one after
        {"\r\n\"a\r\n\"", "\r\n«a\r\n»"},   // pairing runs across line ends
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(folio::ConvertQuotes(Cp(c.in)), Cp(c.out)) << c.in;
}

TEST(ConvertDashes, EveryHyphenBesideASpaceThenQuotes)
{
    const Case cases[] = {
        {"a - b", "a — b"},
        {"a- b", "a— b"},
        {"a -b", "a —b"},
        {"a-b", "a-b"},
        {"-- a", "-— a"},           // only the hyphen next to the space
        {"a --", "a —-"},
        {"a - - - b", "a — — — b"},
        {"- \"Да\" -", "— «Да» —"},
        {"-", "-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(folio::ConvertDashes(Cp(c.in)), Cp(c.out)) << c.in;
}

} // namespace
