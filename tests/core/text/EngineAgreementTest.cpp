// The fused engine against the literal transcription of its rules, on generated texts that
// are dense in the characters the rules look at. Deterministic: a fixed seed.
#include "ReferenceEngine.h"
#include "TextTestUtil.h"

#include "text/FormatText.h"
#include "text/ParagraphFlush.h"
#include "text/PostProcess.h"
#include "text/QuotesAndDashes.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class TextGenerator {
public:
    explicit TextGenerator(unsigned seed) : rng_(seed) {}

    std::string Line()
    {
        static const std::vector<std::string> pieces = {
            " ", " ", "  ", "\t", "-", "--", "\x97", "\"", "`", "\x93", "\x94", ".", "!", "?",
            ",", ";", ":", "\x85", "\xE0", "\xE1", "\xB8", "\xC0", "w", "W", "1", "\xA0", "\x01",
            "\xAE", "\xE5", "word", "\xF1\xEB\xEE\xE2\xEE", "long paragraph text here",
        };
        std::string line;
        const int length = Pick(0, 14);
        if (Pick(0, 3) == 0) line += Pick(0, 1) ? " " : "\t";
        for (int i = 0; i < length; ++i) line += pieces[Pick(0, static_cast<int>(pieces.size()) - 1)];
        return line;
    }

    std::vector<std::string> Lines()
    {
        std::vector<std::string> lines(Pick(0, 12));
        for (auto& l : lines) l = Pick(0, 5) == 0 ? std::string(Pick(0, 2), ' ') : Line();
        return lines;
    }

    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

private:
    std::mt19937 rng_;
};

TEST(EngineAgreement, FormatTextMatchesTheLiteralRulesForEveryOptionSet)
{
    TextGenerator gen(20240611);
    for (int round = 0; round < 3000; ++round) {
        const auto input = gen.Lines();
        const int bits = round % 32;
        const folio::FormatOptions o{bool(bits & 1), bool(bits & 2), bool(bits & 4), bool(bits & 8),
                                     bool(bits & 16)};
        const auto fast = folio::FormatText(input, o);
        const auto ref = reference::FormatText(
            input, {o.AfterEmptyLine, o.RecodeCp866, o.SentenceBreaks, o.ProbeIndents, o.PostProcess});
        ASSERT_EQ(fast.lines, ref.lines) << "round " << round << " options " << bits << "\ninput:\n"
                                         << texttest::Show(input);
        ASSERT_EQ(fast.ManyIndents, ref.manyIndents) << "round " << round;
        const std::vector<std::string_view> views(input.begin(), input.end());
        const auto overViews = folio::FormatTextViews(views, o);
        ASSERT_EQ(overViews.lines, fast.lines) << "round " << round;
        ASSERT_EQ(overViews.ManyIndents, fast.ManyIndents) << "round " << round;
        if (!o.PostProcess && !ref.probeStopped) {
            ASSERT_EQ(fast.lines.size(), ref.flushes + ref.blankLines) << "round " << round;
        }
    }
}

TEST(EngineAgreement, LongTextsMatchTheLiteralRules)
{
    // Long enough for the engine to forget the lines it has read, with lines that hold
    // line breaks and ellipses on the way.
    TextGenerator gen(4711);
    std::vector<std::string> input;
    while (input.size() < 12000) {
        auto part = gen.Lines();
        input.insert(input.end(), part.begin(), part.end());
        if (gen.Pick(0, 50) == 0) input.push_back("a\rb\r\n\x85" "c\n");
    }
    std::string manyBreaks;
    for (int i = 0; i < 9000; ++i) manyBreaks += i % 7 ? "word word\n" : " Indented.\r\n";
    input.insert(input.begin() + 100, manyBreaks);
    for (int bits : {0, 2, 4, 5, 16, 21, 31}) {
        const folio::FormatOptions o{bool(bits & 1), bool(bits & 2), bool(bits & 4), bool(bits & 8),
                                     bool(bits & 16)};
        const auto fast = folio::FormatText(input, o);
        const auto ref = reference::FormatText(
            input, {o.AfterEmptyLine, o.RecodeCp866, o.SentenceBreaks, o.ProbeIndents, o.PostProcess});
        EXPECT_EQ(fast.lines, ref.lines) << "options " << bits;
        EXPECT_EQ(fast.ManyIndents, ref.manyIndents) << "options " << bits;
    }
}

TEST(EngineAgreement, PassesMatchTheLiteralRules)
{
    TextGenerator gen(7);
    std::vector<uint32_t> scratch;
    for (int round = 0; round < 5000; ++round) {
        const std::string text = gen.Line();
        const std::string buffer = " " + text;
        ASSERT_EQ(folio::FlushParagraph(buffer, scratch), reference::Flush(buffer)) << round;
        ASSERT_EQ(folio::ConvertQuotes(text), reference::ConvertQuotes(text)) << round;
        ASSERT_EQ(folio::ConvertDashes(text), reference::ConvertDashes(text)) << round;
    }
    for (int round = 0; round < 3000; ++round) {
        auto lines = gen.Lines();
        if (lines.empty()) continue;
        ASSERT_EQ(folio::PostProcessLines(lines), reference::PostProcess(lines))
            << round << "\n" << texttest::Show(lines);
    }
}

} // namespace
