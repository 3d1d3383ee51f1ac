#include "text/Capitals.h"

namespace folio {

char UpCaseCyrillic(char c)
{
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0xE0) return static_cast<char>(b - 0x20); // а..я -> А..Я
    if (b == 0xB8) return static_cast<char>(0xA8);     // ё -> Ё
    return c;
}

std::string UpperCaseRu(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        c = UpCaseCyrillic(c);
    }
    return out;
}

} // namespace folio
