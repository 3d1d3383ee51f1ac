// Splitting a text into lines and joining lines with CR LF.
#include "text/TextLines.h"

#include <gtest/gtest.h>

namespace {

TEST(TextLines, SplitAtCrLfCrOrLfWithoutAnExtraLastLine)
{
    struct Case { const char* text; std::vector<std::string> lines; };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"\r\n", {""}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\n\r\nb", {"a", "", "b"}},
        {"a\r\r\n", {"a", ""}},      // CR then CR LF: two breaks
        {"a\n\r", {"a", ""}},        // LF then CR: two breaks
        {"\n\n", {"", ""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(folio::SplitTextLines(c.text), c.lines) << c.text;
        const auto views = folio::SplitTextLineViews(c.text);
        EXPECT_EQ(std::vector<std::string>(views.begin(), views.end()), c.lines) << c.text;
    }
}

TEST(TextLines, JoinPutsCrLfAfterEveryLine)
{
    EXPECT_EQ(folio::JoinTextLines(std::vector<std::string>{}), "");
    EXPECT_EQ(folio::JoinTextLines(std::vector<std::string>{"a", "", "b"}), "a\r\n\r\nb\r\n");
    const std::string text = "one\r\n\r\ntwo\r\n";
    EXPECT_EQ(folio::JoinTextLines(folio::SplitTextLines(text)), text);
}

} // namespace
