#pragma once
// Narrow (byte) strings to the wide strings an automation server takes, and back.
// Narrow strings are read as UTF-8; a byte that is not part of valid UTF-8 becomes the lone
// surrogate U+DC80+byte, and turns back into the same byte, so any file name found by the
// search reaches the server and comes back unchanged.

#include <string>
#include <string_view>

namespace wordstrip {

std::u16string WidenString(std::string_view narrow);
std::string NarrowString(std::u16string_view wide);

} // namespace wordstrip
