#pragma once
// A project's regular-expression replacements ("rbefore.tbl" before processing, "rafter.tbl"
// after it): a table of the columns "expression" and "value", applied row by row in table
// order. Texts are cp1251; the expressions follow replace/Cp1251Regex.h.

#include "project/ReplacementRows.h"

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace folio {

// Every row in turn over the whole text, each row seeing what the rows before it made: every
// match of the row's expression replaced by its value, inserted as it stands. A row with an
// empty expression replaces nothing. Throws folio::Error for an expression that does not
// compile or a search that fails; nothing is returned then.
std::string ApplyReplacements(std::string text, std::span<const ReplacementRow> rows);

// The table's rule on lines: for each row, the lines joined into one text with CR LF after
// each line, the row's replacement, and the text split again at CR LF, CR or LF (a final line
// break makes no empty last line). So a row may join, split or remove lines. A row with an
// empty expression replaces nothing, but its join and split still happen. When a row fails
// (folio::Error), the lines keep what the rows before it made.
void ApplyReplacementRows(std::vector<std::string>& lines, std::span<const ReplacementRow> rows);

// Applies the table file to the lines, changing them in place. A missing file or a table
// without rows changes nothing. The table is released (written back) as every table is.
void ApplyReplacementTable(const std::filesystem::path& tableFile, std::vector<std::string>& lines);

// The same for the table `tableName` ("rbefore.tbl", "rafter.tbl") of a project folder as
// GetProjectFolder gives it (with its trailing separator). An empty folder - a project without
// one - has no tables.
void ApplyReplacementTable(const std::string& projectFolder, std::string_view tableName,
                           std::vector<std::string>& lines);

} // namespace folio
