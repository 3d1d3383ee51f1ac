#pragma once
// The paragraph and typography engine: raw Russian text lines (hard-wrapped, indented or
// blank-line paragraphs, straight quotes, hyphens for dashes) in, book lines out: one line
// per paragraph opened by three spaces, single spaces, « », em dashes, blank lines kept.
//
// A pure function: no file, no window, no state kept between runs, so runs on different
// threads never interfere. Lines are cp1251 bytes; lengths count bytes.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace folio {

struct FormatOptions {
    // The first non-blank line after blank lines is a paragraph of its own.
    bool AfterEmptyLine = false;
    // Every source line is recoded from cp866 before anything else.
    bool RecodeCp866 = false;
    // A line ending a sentence ends the paragraph unless the next line begins with a
    // small letter.
    bool SentenceBreaks = false;
    // Probe run of the automatic paragraph mode: stops as soon as more than three
    // paragraphs have been found by indentation (only together with SentenceBreaks).
    bool ProbeIndents = false;
    // The post-processing pass runs at the end.
    bool PostProcess = false;
};

struct FormatResult {
    std::vector<std::string> lines;
    // More than three paragraphs were ended because the next line began with a blank.
    bool ManyIndents = false;
};

// One run of the engine. The input lines are not changed. A line holding CR or LF counts as
// the lines it splits into (the text is joined with CR LF and split again), so no output line
// ever holds a line break. A probe stop returns the lines gathered so far, without the final
// dash pass and without the post-pass.
FormatResult FormatText(const std::vector<std::string>& lines, const FormatOptions& options);
// The same over views, for callers that keep the text whole (the lines must outlive the call).
// A name of its own, so that FormatText({"a", "b"}, options) stays unambiguous.
FormatResult FormatTextViews(std::span<const std::string_view> lines, const FormatOptions& options);

} // namespace folio
