#pragma once
// A text as lines and back, by the project's line rules.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace folio {

// Lines split at CR LF, CR or LF. A final line break makes no extra line; an empty text
// has no lines.
std::vector<std::string> SplitTextLines(std::string_view text);
// The same lines as views into `text`.
std::vector<std::string_view> SplitTextLineViews(std::string_view text);

// Every line followed by CR LF.
std::string JoinTextLines(std::span<const std::string> lines);

} // namespace folio
