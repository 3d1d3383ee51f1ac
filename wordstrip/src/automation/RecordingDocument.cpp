#include "RecordingDocument.h"

#include <cstdlib>

namespace wordstrip {
namespace {

bool TakePrefix(std::string_view& line, std::string_view prefix)
{
    if (!line.starts_with(prefix)) return false;
    line.remove_prefix(prefix.size());
    return true;
}

} // namespace

RecordedDocument ParseRecordingFixture(std::string_view bytes)
{
    RecordedDocument doc;
    doc.styles = {{std::string(kNormalStyle), true}, {std::string(kDefaultParagraphFont), true}};
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);

        if (TakePrefix(line, "builtin ")) {
            if (line != kNormalStyle && line != kDefaultParagraphFont) doc.styles.push_back({std::string(line), true});
        } else if (TakePrefix(line, "style ")) {
            doc.styles.push_back({std::string(line), false});
        } else if (TakePrefix(line, "comment ")) {
            doc.comments.emplace_back(line);
        } else if (TakePrefix(line, "para ")) {
            const size_t a = line.find('|');
            const size_t b = a == std::string_view::npos ? a : line.find('|', a + 1);
            if (b == std::string_view::npos)
                doc.paragraphs.push_back({std::string(kNormalStyle), std::string(kDefaultParagraphFont), std::string(line)});
            else
                doc.paragraphs.push_back({std::string(line.substr(0, a)), std::string(line.substr(a + 1, b - a - 1)),
                                          std::string(line.substr(b + 1))});
        } else if (TakePrefix(line, "fail ")) {
            const size_t space = line.find(' ');
            if (space != std::string_view::npos)
                doc.failures[std::string(line.substr(0, space))] =
                    static_cast<HRESULT>(std::strtoul(std::string(line.substr(space + 1)).c_str(), nullptr, 16));
        } else if (TakePrefix(line, "pause ")) {
            doc.pauses.emplace_back(line);
        } else if (line.starts_with("format ")) {
            // written by SaveAs
        } else {
            doc.paragraphs.push_back({std::string(kNormalStyle), std::string(kDefaultParagraphFont), std::string(line)});
        }
    }
    return doc;
}

std::string SerializeRecordedDocument(const RecordedDocument& doc, int format)
{
    std::string out = "format " + std::to_string(format) + "\n";
    for (const auto& style : doc.styles) out += (style.builtIn ? "builtin " : "style ") + style.name + "\n";
    for (const auto& comment : doc.comments) out += "comment " + comment + "\n";
    for (const auto& p : doc.paragraphs) out += "para " + p.style + "|" + p.charStyle + "|" + p.text + "\n";
    return out;
}

} // namespace wordstrip
