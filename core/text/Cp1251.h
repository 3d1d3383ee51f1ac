#pragma once
// Windows-1251: the byte encoding of every text, table and settings file of the workbench.
// Case mapping for all cp1251 letters (Latin, Russian and the other Cyrillic letters),
// independent of the process locale, and conversion to and from UTF-8 for the
// windows and the console tools.

#include <string>
#include <string_view>

namespace folio::cp1251 {

// Capital of one cp1251 character; other bytes are returned unchanged.
char ToUpper(char c);
// Small letter of one cp1251 character; other bytes are returned unchanged.
char ToLower(char c);
std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);
// True when the two strings are equal after upper-casing both.
bool EqualNoCase(std::string_view a, std::string_view b);

// The Unicode code point of a cp1251 byte. The one unassigned byte (0x98) maps to U+0098
// so that every byte survives a round trip.
char32_t ToUnicode(unsigned char c);
// The cp1251 byte of a code point, or '?' when cp1251 has none.
char FromUnicode(char32_t cp);

std::string ToUtf8(std::string_view cp1251Text);
// Invalid UTF-8 sequences and characters that cp1251 cannot hold become '?'.
std::string FromUtf8(std::string_view utf8Text);

} // namespace folio::cp1251
