// The engine against the case file: each case names the rule it shows.
#include "CaseFile.h"
#include "ReferenceEngine.h"
#include "TextTestUtil.h"

#include "text/FormatText.h"

#include <gtest/gtest.h>

namespace {

const std::filesystem::path kCases = std::filesystem::path(__FILE__).parent_path() / "cases";

TEST(FormatTextCases, EveryCaseGivesItsExpectedLines)
{
    const auto cases = textcases::ReadFormatCases(kCases / "format-text.txt");
    ASSERT_GT(cases.size(), 20u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const folio::FormatResult r = folio::FormatText(c.input, c.options);
        EXPECT_EQ(r.lines, c.expected) << "got:\n" << texttest::Show(r.lines) << "expected:\n"
                                       << texttest::Show(c.expected);
        if (c.manyIndents) {
            EXPECT_EQ(r.ManyIndents, *c.manyIndents);
        }

        // The literal transcription of the rules must agree, so the case file checks both.
        const reference::Result ref = reference::FormatText(
            c.input, {c.options.AfterEmptyLine, c.options.RecodeCp866, c.options.SentenceBreaks,
                      c.options.ProbeIndents, c.options.PostProcess});
        EXPECT_EQ(ref.lines, c.expected) << "reference got:\n" << texttest::Show(ref.lines);
    }
}

} // namespace
