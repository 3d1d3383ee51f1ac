#include "replace/ReplacementTable.h"

#include "replace/Cp1251Regex.h"
#include "text/TextLines.h"

namespace folio {

std::string ApplyReplacements(std::string text, std::span<const ReplacementRow> rows)
{
    for (const auto& [expression, value] : rows) {
        if (expression.empty()) continue;
        text = regex::Expression(expression).ReplaceAll(text, value);
    }
    return text;
}

void ApplyReplacementRows(std::vector<std::string>& lines, std::span<const ReplacementRow> rows)
{
    for (const ReplacementRow& row : rows) {
        std::string text = JoinTextLines(lines);
        text = ApplyReplacements(std::move(text), std::span(&row, 1));
        lines = SplitTextLines(text);
    }
}

void ApplyReplacementTable(const std::filesystem::path& tableFile, std::vector<std::string>& lines)
{
    // The rows are read and the table released before the (possibly long) replacing: the
    // window may save the grids into this file meanwhile, and a late write-back of what was
    // read here would undo that.
    const auto rows = LoadReplacementRows(tableFile.string());
    if (rows) ApplyReplacementRows(lines, *rows);
}

void ApplyReplacementTable(const std::string& projectFolder, std::string_view tableName,
                           std::vector<std::string>& lines)
{
    if (projectFolder.empty()) return;
    ApplyReplacementTable(std::filesystem::path(projectFolder + std::string(tableName)), lines);
}

} // namespace folio
