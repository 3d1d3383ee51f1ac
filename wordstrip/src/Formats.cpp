#include "Formats.h"

#include "TextCompare.h"

#include <utility>

namespace wordstrip {

const std::array<SaveFormat, 9>& SaveFormats()
{
    static const std::array<SaveFormat, 9> formats{{
        {0, 'w', {"wdFormatDocument", "document", "doc"}, "doc"},
        {1, 'l', {"wdFormatTemplate", "template", "dot"}, "dot"},
        {2, 't', {"wdFormatText", "text", "txt"}, "txt"},
        {3, 'T', {"wdFormatTextLineBreaks", "textlinebreaks"}, "txt"},
        {4, 'd', {"wdFormatDOSText", "dostext"}, "txt"},
        {5, 'D', {"wdFormatDOSTextLineBreaks", "dostextlinebreaks"}, "txt"},
        {6, 'r', {"wdFormatRTF", "rtf", "richtext"}, "rtf"},
        {7, 'u', {"wdFormatUnicodeText", "unicodetext", "unicode", "wdFormatEncodedText", "EncodedText"}, "txt"},
        {8, 'h', {"wdFormatHTML", "html", "htm"}, "html"},
    }};
    return formats;
}

std::optional<int> LookupFormat(std::string_view parameter)
{
    if (parameter.empty()) return std::nullopt;
    if (parameter.size() == 1) {
        const char c = parameter[0];
        if (c >= '0' && c <= '8') return c - '0';
        const std::string_view letters = "wltTdDruh";
        if (const size_t at = letters.find(c); at != std::string_view::npos) return static_cast<int>(at);
        return std::nullopt;
    }
    static constexpr std::pair<std::string_view, int> kShortNames[] = {
        {"doc", 0}, {"dot", 1}, {"txt", 2}, {"richtext", 6}, {"unicode", 7},
        {"wdFormatEncodedText", 7}, {"EncodedText", 7}, {"htm", 8},
    };
    for (const auto& [name, index] : kShortNames)
        if (EqualsIgnoreCase(parameter, name)) return index;
    constexpr std::string_view prefix = "wdFormat";
    for (const auto& format : SaveFormats()) {
        for (std::string_view name : format.names) {
            if (!name.starts_with(prefix)) continue;
            if (EqualsIgnoreCase(parameter, name) || EqualsIgnoreCase(parameter, name.substr(prefix.size())))
                return format.index;
        }
    }
    return std::nullopt;
}

} // namespace wordstrip
