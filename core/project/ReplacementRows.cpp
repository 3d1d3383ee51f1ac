#include "project/ReplacementRows.h"

#include "table/TxtTable.h"

#include <filesystem>

namespace folio {

namespace {

std::vector<ReplacementRow> readRows(TVtTxtTable& table)
{
    std::vector<ReplacementRow> rows;
    for (; !table.Eof(); table.Next()) rows.emplace_back(table.GetValue("expression"), table.GetValue("value"));
    return rows;
}

} // namespace

std::optional<std::vector<ReplacementRow>> LoadReplacementRows(const std::string& tableFile)
{
    if (!std::filesystem::exists(tableFile)) return std::nullopt;
    TVtTxtTable table(tableFile);
    auto rows = readRows(table);
    table.Release();
    return rows;
}

std::vector<ReplacementRow> ReadReplacementRows(const std::string& tableFile)
{
    TVtTxtTable table(tableFile);
    auto rows = readRows(table);
    table.Abandon();
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
