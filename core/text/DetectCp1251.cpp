#include "text/DetectCp1251.h"

#include <array>
#include <cstdint>

namespace folio {
namespace {

std::array<uint64_t, 256> CountBytes(std::string_view text)
{
    // Four interleaved tables keep neighbouring equal bytes from serialising on one counter.
    std::array<std::array<uint64_t, 256>, 4> part{};
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        ++part[0][p[i]];
        ++part[1][p[i + 1]];
        ++part[2][p[i + 2]];
        ++part[3][p[i + 3]];
    }
    for (; i < n; ++i) ++part[0][p[i]];
    std::array<uint64_t, 256> counts{};
    for (int b = 0; b < 256; ++b) counts[b] = part[0][b] + part[1][b] + part[2][b] + part[3][b];
    return counts;
}

bool IsOneOf(int v, int a, int b, int c) { return v == a || v == b || v == c; }

} // namespace

bool DetectCp1251(std::string_view text)
{
    auto counts = CountBytes(text);
    int cp866 = 0, cp1251 = 0, koi8 = 0;
    for (int pick = 0; pick < 3; ++pick) {
        int best = 0x7F;
        for (int v = 0x7F; v <= 0xFF; ++v)
            if (counts[v] > counts[best]) best = v;
        counts[best] = 0;
        cp866 += IsOneOf(best, 0xA5, 0xA8, 0xAE);
        cp1251 += IsOneOf(best, 0xE5, 0xE8, 0xEE);
        koi8 += IsOneOf(best, 0xC5, 0xC9, 0xCF);
    }
    return cp1251 >= cp866 && cp1251 >= koi8;
}

} // namespace folio
