#include "text/Cp1251.h"

#include <array>
#include <unordered_map>

namespace folio::cp1251 {
namespace {

// Code points of 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order.
constexpr char32_t kHighHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

// Capital/small pairs outside the two contiguous alphabets.
constexpr unsigned char kOtherPairs[][2] = {
    {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D}, {0x8E, 0x9E},
    {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4}, {0xA8, 0xB8}, {0xAA, 0xBA},
    {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},
};

struct CaseTables {
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};
    CaseTables()
    {
        for (int i = 0; i < 256; ++i) upper[i] = lower[i] = static_cast<unsigned char>(i);
        for (int i = 'a'; i <= 'z'; ++i) {
            upper[i] = static_cast<unsigned char>(i - 32);
            lower[i - 32] = static_cast<unsigned char>(i);
        }
        for (int i = 0xE0; i <= 0xFF; ++i) {
            upper[i] = static_cast<unsigned char>(i - 32);
            lower[i - 32] = static_cast<unsigned char>(i);
        }
        for (const auto& p : kOtherPairs) {
            upper[p[1]] = p[0];
            lower[p[0]] = p[1];
        }
    }
};

const CaseTables& tables()
{
    static const CaseTables t;
    return t;
}

const std::unordered_map<char32_t, unsigned char>& reverseMap()
{
    static const auto map = [] {
        std::unordered_map<char32_t, unsigned char> m;
        for (int i = 0x80; i < 0x100; ++i) m.emplace(ToUnicode(static_cast<unsigned char>(i)), i);
        return m;
    }();
    return map;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

char ToUpper(char c) { return static_cast<char>(tables().upper[static_cast<unsigned char>(c)]); }
char ToLower(char c) { return static_cast<char>(tables().lower[static_cast<unsigned char>(c)]); }

std::string ToUpper(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = ToUpper(c);
    return out;
}

std::string ToLower(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = ToLower(c);
    return out;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (ToUpper(a[i]) != ToUpper(b[i])) return false;
    return true;
}

char32_t ToUnicode(unsigned char c)
{
    if (c < 0x80) return c;
    if (c >= 0xC0) return 0x0410 + (c - 0xC0);
    return kHighHalf[c - 0x80];
}

char FromUnicode(char32_t cp)
{
    if (cp < 0x80) return static_cast<char>(cp);
    if (cp >= 0x0410 && cp <= 0x044F) return static_cast<char>(0xC0 + (cp - 0x0410));
    const auto& m = reverseMap();
    auto it = m.find(cp);
    return it == m.end() ? '?' : static_cast<char>(it->second);
}

std::string ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) appendUtf8(out, ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string FromUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        int extra;
        char32_t cp;
        if (b < 0x80) { out += static_cast<char>(b); ++i; continue; }
        if ((b & 0xE0) == 0xC0) { extra = 1; cp = b & 0x1F; }
        else if ((b & 0xF0) == 0xE0) { extra = 2; cp = b & 0x0F; }
        else if ((b & 0xF8) == 0xF0) { extra = 3; cp = b & 0x07; }
        else { out += '?'; ++i; continue; }
        if (i + extra >= n) { out += '?'; break; } // truncated sequence
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char cb = static_cast<unsigned char>(text[i + k]);
            if ((cb & 0xC0) != 0x80) { ok = false; break; }
            cp = (cp << 6) | (cb & 0x3F);
        }
        if (!ok) { out += '?'; ++i; continue; }
        out += FromUnicode(cp);
        i += extra + 1;
    }
    return out;
}

} // namespace folio::cp1251
