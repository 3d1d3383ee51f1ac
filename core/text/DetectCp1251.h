#pragma once
// Statistical code-page test: cp1251, or a DOS text that must be recoded from cp866.

#include <string_view>

namespace folio {

// True when the text is taken to be cp1251. The three most frequent bytes from 7F to FF
// (lowest on a tie) vote for cp866 (the codes of "е", "и", "о" there: A5 A8 AE), cp1251
// (E5 E8 EE) or KOI8-R (C5 C9 CF); cp1251 wins ties, so a text without high bytes is
// cp1251. A KOI8-R win answers false too: the callers only know how to recode cp866.
bool DetectCp1251(std::string_view text);

} // namespace folio
