#pragma once
// cp1251 codes of the characters the typography engine treats specially.

namespace folio {

inline constexpr char kEmDash = '\x97';
inline constexpr char kEllipsis = '\x85';
inline constexpr char kLeftGuillemet = '\xAB';
inline constexpr char kRightGuillemet = '\xBB';
inline constexpr char kLeftDoubleQuote = '\x93';
inline constexpr char kRightDoubleQuote = '\x94';

// Small letter for the sentence-break look-ahead: Latin a..z or Russian а..я ("ё" is not one).
inline bool IsSmallLetter(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b >= 'a' && b <= 'z') || b >= 0xE0;
}

} // namespace folio
