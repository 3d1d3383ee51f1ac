#pragma once
// The line and field rules of the table file format, shared by the table store and the
// tools that read tables.

#include <string>
#include <string_view>
#include <vector>

namespace folio::tabletext {

// Splits text into lines at CR LF, a lone CR or a lone LF; a NUL ends the text. A final
// line break makes no extra line; an empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text);

// Header names: split at TAB; an empty name between two TABs counts, a trailing TAB adds
// no column.
std::vector<std::string> SplitHeader(std::string_view header);

// Field k of a raw row. Fields past the row's last TAB all read as its last field.
std::string_view ReadField(std::string_view row, size_t k);

// The row with field k replaced; past the row's end the last field is replaced.
std::string ReplaceField(std::string_view row, size_t k, std::string_view value);

// A value the format can hold: no TAB, CR or LF.
bool IsStorableValue(std::string_view value);

} // namespace folio::tabletext
