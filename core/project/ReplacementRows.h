#pragma once
// The rows of a project's "rbefore.tbl" or "rafter.tbl" as the settings page's grids show
// and save them: pairs of expression and value, cp1251.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace folio {

using ReplacementRow = std::pair<std::string, std::string>; // expression, value

// The table's rows, or nothing when the file does not exist.
std::optional<std::vector<ReplacementRow>> LoadReplacementRows(const std::string& tableFile);

// The table's rows, leaving the file untouched (no write-back); fails when it cannot be read.
std::vector<ReplacementRow> ReadReplacementRows(const std::string& tableFile);

// Rewrites the table (creating it with the columns "expression" and "value" when missing)
// with the grid's rows up to the first one whose expression is empty.
void SaveReplacementRows(const std::string& tableFile, const std::vector<ReplacementRow>& gridRows);

} // namespace folio
