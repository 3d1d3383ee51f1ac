#include "text/Cp866.h"

#include <array>

namespace folio {
namespace {

// cp1251 codes for cp866 B0..DF (pseudographics) and F0..FF (letters and symbols).
constexpr unsigned char kPseudo[48] = {
    '#', '#', '#', '|', '+', '+', '+', '+', '+', '+', '|', '+', '+', '+', '+', '+', // B0..BF
    '+', '+', '+', '+', '-', '+', '+', '+', '+', '+', '+', '+', '+', '-', '+', '+', // C0..CF
    '+', '+', '+', '+', '+', '+', '+', '+', '+', '+', '+', '#', '#', '#', '#', '#', // D0..DF
};
constexpr unsigned char kTail[16] = {
    0xA8, 0xB8, 0xAA, 0xBA, 0xAF, 0xBF, 0xA1, 0xA2, // Ё ё Є є Ї ї Ў ў
    0xB0, 0xB7, 0xB7, 'v', 0xB9, 0xA4, 0x95, 0xA0,  // ° ∙ · √ № ¤ ■ nbsp
};

constexpr std::array<unsigned char, 256> MakeTable()
{
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 0x80; ++i) t[i] = static_cast<unsigned char>(i);
    for (int i = 0x80; i <= 0xAF; ++i) t[i] = static_cast<unsigned char>(i - 0x80 + 0xC0); // А..Я, а..п
    for (int i = 0xB0; i <= 0xDF; ++i) t[i] = kPseudo[i - 0xB0];
    for (int i = 0xE0; i <= 0xEF; ++i) t[i] = static_cast<unsigned char>(i - 0xE0 + 0xF0); // р..я
    for (int i = 0xF0; i <= 0xFF; ++i) t[i] = kTail[i - 0xF0];
    return t;
}

constexpr auto kTable = MakeTable();

} // namespace

unsigned char Cp866ToCp1251Byte(unsigned char c) { return kTable[c]; }

void Cp866ToCp1251Copy(std::string_view cp866Text, char* out)
{
    for (size_t i = 0; i < cp866Text.size(); ++i)
        out[i] = static_cast<char>(kTable[static_cast<unsigned char>(cp866Text[i])]);
}

void Cp866ToCp1251InPlace(std::string& text)
{
    for (char& c : text) c = static_cast<char>(kTable[static_cast<unsigned char>(c)]);
}

std::string Cp866ToCp1251(std::string_view cp866Text)
{
    std::string out(cp866Text);
    Cp866ToCp1251InPlace(out);
    return out;
}

} // namespace folio
