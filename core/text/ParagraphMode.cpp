#include "text/ParagraphMode.h"

namespace folio {

ParagraphMode ParagraphModeFromIndex(int index)
{
    if (index == 0) return ParagraphMode::Auto;
    if (index == 1) return ParagraphMode::On;
    return ParagraphMode::Off;
}

FormatResult FormatTextInMode(std::span<const std::string> lines, ParagraphMode mode,
                              FormatOptions options)
{
    options.SentenceBreaks = mode != ParagraphMode::Off;
    options.ProbeIndents = mode == ParagraphMode::Auto;
    FormatResult result = FormatText(lines, options);
    if (mode == ParagraphMode::Auto && result.ManyIndents) {
        // Paragraphs are marked by indentation here; the sentence heuristic would split them.
        options.SentenceBreaks = false;
        options.ProbeIndents = false;
        result = FormatText(lines, options);
    }
    return result;
}

} // namespace folio
