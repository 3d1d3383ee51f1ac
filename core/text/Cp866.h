#pragma once
// Recoding from the DOS code page 866 to cp1251, byte for byte.
//
// Bytes 00..7F stay. The Russian letters go to their cp1251 codes. The other cp866
// characters map as follows (the choice is ours; cp1251 has no box drawing):
//   B0..B2 shades, DB..DF blocks   -> '#'
//   vertical lines (B3, BA)        -> '|'
//   horizontal lines (C4, CD)      -> '-'  (so a ruled line reads as hyphens and follows
//                                           the engine's hyphen rules like any other)
//   every corner, tee and cross    -> '+'
//   F2..F7 Є є Ї ї Ў ў, F8 °, FC №, FD ¤, FF no-break space -> their exact cp1251 codes
//   F9 ∙ and FA ·                  -> B7 ·
//   FB √                           -> 'v'
//   FE ■                           -> 95 •
// No byte maps to a line break, a tab, a space or the ellipsis 85, so recoding never
// changes how the engine splits or trims a line.

#include <string>
#include <string_view>

namespace folio {

// The cp1251 byte for one cp866 byte.
unsigned char Cp866ToCp1251Byte(unsigned char c);

// The same characters recoded from cp866 to cp1251; the length is unchanged.
std::string Cp866ToCp1251(std::string_view cp866Text);

// In-place form for callers that already own a copy.
void Cp866ToCp1251InPlace(std::string& text);

// Writes the recoded bytes of `cp866Text` to `out` (room for cp866Text.size() bytes).
void Cp866ToCp1251Copy(std::string_view cp866Text, char* out);

} // namespace folio
