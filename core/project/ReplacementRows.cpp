#include "project/ReplacementRows.h"

#include "table/TxtTable.h"

#include <filesystem>

namespace folio {

std::optional<std::vector<ReplacementRow>> LoadReplacementRows(const std::string& tableFile)
{
    if (!std::filesystem::exists(tableFile)) return std::nullopt;
    std::vector<ReplacementRow> rows;
    TVtTxtTable table(tableFile);
    for (; !table.Eof(); table.Next()) rows.emplace_back(table.GetValue("expression"), table.GetValue("value"));
    table.Release();
    return rows;
}

void SaveReplacementRows(const std::string& tableFile, const std::vector<ReplacementRow>& gridRows)
{
    TVtTxtTable table;
    if (std::filesystem::exists(tableFile)) table.Open(tableFile);
    else table.CreateTable(tableFile, {"expression", "value"});
    table.Clear();
    for (const auto& [expression, value] : gridRows) {
        if (expression.empty()) break;
        table.AppendRecord({expression, value});
    }
    table.Release();
}

} // namespace folio
