#pragma once
// File-name patterns: "*" matches any run of characters, "?" exactly one (a whole UTF-8
// character); everything else matches itself. Names beginning with "." are not special.

#include <string_view>

namespace wordstrip {

bool HasWildcards(std::string_view pattern);
bool MatchWildcard(std::string_view pattern, std::string_view name);

} // namespace wordstrip
