// Fuzz target: FormatText with any bytes and any options, the passes inside it, and the
// character routines. Besides crashes and sanitizer findings it checks what the engine
// promises: no line break inside an output line, no straight or curly quote, grave accent or
// ellipsis character left, every non-empty line opened by a space, the line count (paragraphs
// flushed plus blank lines) when neither the post-pass nor the probe stop reshapes the output,
// the same answer as the literal transcription of the rules, and the same answer twice.
#include "ReferenceEngine.h"

#include "text/Capitals.h"
#include "text/Cp1251.h"
#include "text/Cp866.h"
#include "text/DetectCp1251.h"
#include "text/FormatText.h"
#include "text/ParagraphFlush.h"
#include "text/PostProcess.h"
#include "text/QuotesAndDashes.h"
#include "text/TextLines.h"
#include "text/Transliterate.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool ok, const char* what)
{
    if (ok) return;
    std::fprintf(stderr, "engine promise broken: %s\n", what);
    std::abort();
}

std::vector<std::string> SplitAt(std::string_view text, char separator)
{
    std::vector<std::string> lines;
    size_t begin = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == separator) {
            lines.emplace_back(text.substr(begin, i - begin));
            begin = i + 1;
        }
    }
    return lines;
}

void CheckFormat(const std::vector<std::string>& lines, const folio::FormatOptions& o)
{
    const folio::FormatResult r = folio::FormatText(lines, o);
    for (const std::string& line : r.lines) {
        Check(line.find_first_of("\r\n") == std::string::npos, "line break inside a line");
        Check(line.find_first_of("\"`\x85\x93\x94") == std::string::npos, "unconverted mark");
        Check(line.empty() || line[0] == ' ', "line not opened by a space");
    }
    const reference::Result ref = reference::FormatText(
        lines, {o.AfterEmptyLine, o.RecodeCp866, o.SentenceBreaks, o.ProbeIndents, o.PostProcess});
    Check(r.lines == ref.lines, "differs from the literal rules");
    Check(r.ManyIndents == ref.manyIndents, "ManyIndents differs from the literal rules");
    if (!o.PostProcess && !ref.probeStopped)
        Check(r.lines.size() == ref.flushes + ref.blankLines, "line count");
    if (lines.empty()) Check(r.lines.empty() && !r.ManyIndents, "output without input");
    const folio::FormatResult again = folio::FormatText(lines, o);
    Check(again.lines == r.lines && again.ManyIndents == r.ManyIndents, "runs share state");
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    const folio::FormatResult overViews = folio::FormatTextViews(views, o);
    Check(overViews.lines == r.lines && overViews.ManyIndents == r.ManyIndents, "views differ");
}

void CheckCharacterRoutines(std::string_view text)
{
    folio::DetectCp1251(text);
    const std::string recoded = folio::Cp866ToCp1251(text);
    Check(recoded.size() == text.size(), "recoding changed the length");
    const std::string upper = folio::UpperCaseRu(text);
    Check(upper.size() == text.size() && folio::UpperCaseRu(upper) == upper, "upper-casing");
    for (char c : folio::TransliterateText(text))
        Check((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_',
              "transliteration outside [a-z0-9_-]");
    Check(folio::cp1251::FromUtf8(folio::cp1251::ToUtf8(text)) == text, "UTF-8 round trip");
    folio::cp1251::FromUtf8(text); // any bytes as UTF-8

    const std::string s(text);
    Check(folio::ConvertQuotes(s) == reference::ConvertQuotes(s), "ConvertQuotes");
    Check(folio::ConvertDashes(s) == reference::ConvertDashes(s), "ConvertDashes");
    std::vector<uint32_t> marks;
    Check(folio::FlushParagraph(s, marks) == reference::Flush(s), "paragraph flush");
    const auto lines = folio::SplitTextLines(text);
    if (!lines.empty())
        Check(folio::PostProcessLines(lines) == reference::PostProcess(lines), "post-pass");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const unsigned bits = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const folio::FormatOptions o{bool(bits & 1), bool(bits & 2), bool(bits & 4), bool(bits & 8),
                                 bool(bits & 16)};
    // Lines as the tool makes them, and lines that still hold line breaks (split at NUL).
    CheckFormat(folio::SplitTextLines(text), o);
    if (bits & 32) CheckFormat(SplitAt(text, '\0'), o);
    CheckCharacterRoutines(text);
    return 0;
}
