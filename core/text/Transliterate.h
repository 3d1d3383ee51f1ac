#pragma once
// Russian letters in Latin letters, for file names (basenames, author prefixes).
// The scheme is the project's own: "в" is "w", "ж" is "v", "ъ" and "ь" are "x",
// "ш" and "щ" are "sh", "ё" is "e".

#include <string>
#include <string_view>

namespace folio {

// The Latin text for one cp1251 character (possibly empty). Letters are lower-cased first;
// a Russian letter gives its table entry; "-", "0".."9", "a".."z" and "_" stay; anything
// else (space, punctuation, other letters, controls) gives "". Only the first character
// of a longer argument is looked at; an empty argument gives "".
std::string TransliterateChar(std::string_view character);

// The results of TransliterateChar for each character, concatenated.
std::string TransliterateText(std::string_view text);

} // namespace folio
