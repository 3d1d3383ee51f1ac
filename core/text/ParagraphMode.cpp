#include "text/ParagraphMode.h"

namespace folio {

ParagraphMode ParagraphModeFromIndex(int index)
{
    if (index == 0) return ParagraphMode::Auto;
    if (index == 1) return ParagraphMode::On;
    return ParagraphMode::Off;
}

namespace {

template <class Run>
FormatResult InMode(Run run, ParagraphMode mode, FormatOptions options)
{
    options.SentenceBreaks = mode != ParagraphMode::Off;
    options.ProbeIndents = mode == ParagraphMode::Auto;
    FormatResult result = run(options);
    if (mode == ParagraphMode::Auto && result.ManyIndents) {
        // Paragraphs are marked by indentation here; the sentence heuristic would split them.
        options.SentenceBreaks = false;
        options.ProbeIndents = false;
        result = run(options);
    }
    return result;
}

} // namespace

FormatResult FormatTextInMode(const std::vector<std::string>& lines, ParagraphMode mode,
                              FormatOptions options)
{
    return InMode([&](const FormatOptions& o) { return FormatText(lines, o); }, mode, options);
}

FormatResult FormatTextViewsInMode(std::span<const std::string_view> lines, ParagraphMode mode,
                                   FormatOptions options)
{
    return InMode([&](const FormatOptions& o) { return FormatTextViews(lines, o); }, mode, options);
}

} // namespace folio
