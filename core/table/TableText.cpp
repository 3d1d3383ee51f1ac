#include "table/TableText.h"

namespace folio::tabletext {

std::vector<std::string> SplitLines(std::string_view text)
{
    if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    std::vector<std::string> lines;
    size_t start = 0;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<std::string> SplitHeader(std::string_view header)
{
    std::vector<std::string> names;
    size_t tab;
    while ((tab = header.find('\t')) != std::string_view::npos) {
        names.emplace_back(header.substr(0, tab));
        header.remove_prefix(tab + 1);
    }
    if (!header.empty()) names.emplace_back(header);
    return names;
}

std::string_view ReadField(std::string_view row, size_t k)
{
    std::string_view field;
    for (size_t i = 0; i <= k; ++i) {
        const size_t tab = row.find('\t');
        if (tab == std::string_view::npos) return row;
        field = row.substr(0, tab);
        row.remove_prefix(tab + 1);
    }
    return field;
}

std::string ReplaceField(std::string_view row, size_t k, std::string_view value)
{
    // Walk to field k; `start` is where the field being looked at begins.
    size_t start = 0;
    for (size_t i = 0; i < k; ++i) {
        const size_t tab = row.find('\t', start);
        if (tab == std::string_view::npos) break; // row ends before field k: replace the last field
        start = tab + 1;
    }
    const size_t end = row.find('\t', start);
    std::string out(row.substr(0, start));
    out += value;
    if (end != std::string_view::npos) out += row.substr(end);
    return out;
}

bool IsStorableValue(std::string_view value)
{
    return value.find_first_of("\t\r\n") == std::string_view::npos;
}

} // namespace folio::tabletext
