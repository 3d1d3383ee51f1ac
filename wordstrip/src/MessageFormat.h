#pragma once
// Formatting with the message-table insert syntax: %1..%99 with an optional printf-style
// conversion between exclamation marks (%1!d!, %1!08x!, %2!c!), and the escapes %n (line end),
// %r, %t, %space, %., %!, %% and %0 (end of text). Inserted text is never interpreted again.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace wordstrip {

// One insert: text, a number (integers of any width; hexadecimal conversions show its low
// 32 bits, as the codes are 32-bit), or a character.
using Insert = std::variant<std::string_view, long long, char>;

// The filled text, or nothing when the format cannot be filled (an insert missing or of the
// wrong kind, a conversion that is not understood, a lone "%").
std::optional<std::string> FormatMessageText(std::string_view format, std::span<const Insert> inserts);

} // namespace wordstrip
