#pragma once
// The quote pass and the dash pass of the typography engine.
//
// Both are defined as sequences of replace-alls (each left to right, non-overlapping,
// never rescanning what it put in); they are computed here in one pass with the same
// result, which the tests check against the literal sequences.

#include <string>
#include <string_view>

namespace folio {

// “ ” become « »; a straight quote or grave accent after a space becomes «, else one
// before a space, comma or full stop becomes »; the marks still left pair up left to
// right (« then »), straight quotes and grave accents with each other; a mark left over
// at the end becomes ».
std::string ConvertQuotes(std::string_view text);

// In place; the length never changes.
void ConvertQuotesInPlace(std::string& text);

// " - ", "- " and " -" get an em dash for the hyphen, then the quote pass.
// Net effect of the three replace-alls: every hyphen next to a space becomes an em dash.
std::string ConvertDashes(std::string_view text);

// The three dash replace-alls alone, in place (no quote pass).
void ReplaceSpacedHyphens(std::string& text);

} // namespace folio
