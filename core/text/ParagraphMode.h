#pragma once
// The project's paragraph modes ("Авто", "Включить", "Выключить") on top of FormatText.

#include "text/FormatText.h"

namespace folio {

enum class ParagraphMode { Auto = 0, On = 1, Off = 2 };

// The mode stored as the radio group's index; any value other than 0 or 1 is Off.
ParagraphMode ParagraphModeFromIndex(int index);

// Runs the engine in a paragraph mode. The mode decides SentenceBreaks and ProbeIndents;
// the other options are taken from `options`. Auto first runs with both on and, when that
// run answers ManyIndents, runs again with both off; the second output replaces the first.
FormatResult FormatTextInMode(const std::vector<std::string>& lines, ParagraphMode mode,
                              FormatOptions options);
// The same over views (see FormatTextViews).
FormatResult FormatTextViewsInMode(std::span<const std::string_view> lines, ParagraphMode mode,
                                   FormatOptions options);

} // namespace folio
