#include "text/Transliterate.h"

#include "text/Cp1251.h"

namespace folio {
namespace {

// Latin text of "а".."я" (E0..FF) in alphabetical order.
constexpr const char* kRussian[32] = {
    "a", "b", "w", "g", "d", "e", "v", "z", "i", "j", "k", "l", "m", "n", "o", "p",
    "r", "s", "t", "u", "f", "h", "c", "ch", "sh", "sh", "x", "y", "x", "je", "ju", "ja",
};

} // namespace

std::string TransliterateChar(std::string_view character)
{
    if (character.empty()) return {};
    const auto c = static_cast<unsigned char>(cp1251::ToLower(character.front()));
    if (c >= 0xE0) return kRussian[c - 0xE0];
    if (c == 0xB8) return "e"; // ё
    if (c == '-' || c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'))
        return std::string(1, static_cast<char>(c));
    return {};
}

std::string TransliterateText(std::string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i) out += TransliterateChar(text.substr(i, 1));
    return out;
}

} // namespace folio
