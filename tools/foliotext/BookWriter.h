#pragma once
// Book lines out: each followed by CR LF, in cp1251 or UTF-8, through a small buffer, so no
// second copy of the whole text is ever made.

#include <string>
#include <vector>

namespace foliotext {

bool WriteBookLines(int fd, const std::vector<std::string>& lines, bool utf8, std::string& reason);

} // namespace foliotext
