#pragma once
// Readable failure output for cp1251 lines.

#include "text/Cp1251.h"

#include <string>
#include <vector>

namespace texttest {

inline std::string Show(const std::vector<std::string>& lines)
{
    std::string out;
    for (const auto& l : lines) out += "[" + folio::cp1251::ToUtf8(l) + "]\n";
    return out;
}

inline std::string Cp(const char* utf8) { return folio::cp1251::FromUtf8(utf8); }

} // namespace texttest
