#pragma once
// Capitals of the 33 Russian letters, independent of the process locale.

#include <string>
#include <string_view>

namespace folio {

// The capital of a small Russian letter ("а".."я", "ё" -> "Ё"); every other byte,
// Latin letters included, is returned unchanged.
char UpCaseCyrillic(char c);

// Latin "a".."z" and the Russian small letters in capitals; no other byte changes
// (the other Cyrillic letters of cp1251 keep their case).
std::string UpperCaseRu(std::string_view text);

} // namespace folio
