// Properties of one run that the case file cannot show.
#include "TextTestUtil.h"

#include "text/FormatText.h"
#include "text/ParagraphMode.h"

#include <gtest/gtest.h>

using folio::FormatOptions;
using folio::FormatText;
using texttest::Cp;

namespace {

TEST(FormatText, InputLinesAreNotChanged)
{
    const std::vector<std::string> input = {Cp("Он ушел.-Куда… \"да\""), "", Cp(" пере-"), "x\ry"};
    const auto copy = input;
    FormatText(input, {true, true, true, true, true});
    EXPECT_EQ(input, copy);
}

TEST(FormatText, LineBreaksInsideInputLinesSplitThem)
{
    // The text is joined with CR LF and split again, so "a\rb" counts as two lines and a
    // line ending in a break adds an empty line.
    const std::vector<std::string> input = {"first line\r", "second\nthird"};
    const auto r = FormatText(input, {});
    const std::vector<std::string> expected = {"   first line", "", "   second", "   third"};
    EXPECT_EQ(r.lines, expected) << texttest::Show(r.lines);
    for (const auto& line : FormatText({{"a\r\nb\r\r\n\n"}}, {}).lines)
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
}

TEST(FormatText, RunsShareNoState)
{
    // A run ending mid-paragraph or after a probe stop leaves nothing behind for the next.
    const std::vector<std::string> indented = {" a1", " a2", " a3", " a4", " a5", " a6"};
    const std::vector<std::string> plain = {"x"};
    const auto first = FormatText(plain, {});
    FormatText(indented, {.SentenceBreaks = true, .ProbeIndents = true});
    FormatText(std::vector<std::string>{"", "open paragraph that is long enough to stay"}, {true});
    const auto again = FormatText(plain, {});
    EXPECT_EQ(first.lines, again.lines);
    EXPECT_FALSE(again.ManyIndents);
}

struct ModeCase {
    const char* name;
    folio::ParagraphMode mode;
    std::vector<std::string> input;
    std::vector<std::string> expected;
};

TEST(FormatTextInMode, AutoDropsSentenceBreaksForIndentedTexts)
{
    const std::string longer = Cp("Строка, которая кончается точкой и длинная.");
    // Five paragraphs opened by an indent; each first line ends a sentence and is followed by
    // a capital, so sentence breaks split every paragraph in two.
    std::vector<std::string> indented;
    for (int i = 0; i < 5; ++i) {
        indented.push_back(" " + longer);
        indented.push_back(Cp("Тоже строка"));
    }
    const std::vector<std::string> unindented = {longer, Cp("Вторая строка"), longer};
    const std::string para = "   " + longer;
    const std::vector<ModeCase> cases = {
        // Auto probes, meets a fourth indented start with a paragraph open, and reruns without
        // sentence breaks: "Тоже строка" stays in its paragraph.
        {"auto on indented", folio::ParagraphMode::Auto, indented,
         std::vector<std::string>(5, para + Cp(" Тоже строка"))},
        // On keeps the sentence breaks.
        {"on on indented", folio::ParagraphMode::On, indented,
         {para, Cp("   Тоже строка"), para, Cp("   Тоже строка"), para, Cp("   Тоже строка"), para,
          Cp("   Тоже строка"), para, Cp("   Тоже строка")}},
        // Without indents the probe run stands.
        {"auto on unindented", folio::ParagraphMode::Auto, unindented,
         {para, Cp("   Вторая строка"), para}},
        {"off on unindented", folio::ParagraphMode::Off, unindented,
         {para + Cp(" Вторая строка ") + longer}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = folio::FormatTextInMode(c.input, c.mode, {});
        EXPECT_EQ(r.lines, c.expected) << texttest::Show(r.lines);
    }
    EXPECT_EQ(folio::ParagraphModeFromIndex(0), folio::ParagraphMode::Auto);
    EXPECT_EQ(folio::ParagraphModeFromIndex(1), folio::ParagraphMode::On);
    EXPECT_EQ(folio::ParagraphModeFromIndex(2), folio::ParagraphMode::Off);
    EXPECT_EQ(folio::ParagraphModeFromIndex(7), folio::ParagraphMode::Off);
}

} // namespace
