#include "settings/IniFile.h"

#include "io/Error.h"
#include "io/FileIO.h"
#include "io/PathLock.h"
#include "table/TableText.h"
#include "text/Cp1251.h"

#include <charconv>
#include <climits>
#include <optional>

namespace folio {
namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// One line of the file, classified once; the text stays as it was read.
struct Line {
    enum Kind { Other, Section, Key } kind = Other;
    std::string text;
    std::string_view name() const
    {
        const std::string_view t = trim(text);
        if (kind == Section) {
            const size_t close = t.find(']');
            return trim(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        }
        return trim(t.substr(0, t.find('=')));
    }
    std::string_view value() const
    {
        std::string_view v = trim(std::string_view(text).substr(text.find('=') + 1));
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        return v;
    }
};

struct Document {
    std::vector<Line> lines;

    static Document load(const std::filesystem::path& file)
    {
        Document doc;
        const auto bytes = ReadFileIfExists(file);
        if (!bytes) return doc;
        for (auto& text : tabletext::SplitLines(*bytes)) {
            Line line;
            const std::string_view t = trim(text);
            if (!t.empty() && t.front() == '[') line.kind = Line::Section;
            else if (!t.empty() && t.front() != ';' && t.find('=') != std::string_view::npos) line.kind = Line::Key;
            line.text = std::move(text);
            doc.lines.push_back(std::move(line));
        }
        return doc;
    }

    std::string text() const
    {
        std::string out;
        for (const auto& line : lines) {
            out += line.text;
            out += "\r\n";
        }
        return out;
    }

    // Index of the first section of that name, or nothing.
    std::optional<size_t> findSection(std::string_view section) const
    {
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].kind == Line::Section && cp1251::EqualNoCase(lines[i].name(), section)) return i;
        return std::nullopt;
    }

    // One past the section's last line.
    size_t sectionEnd(size_t sectionIndex) const
    {
        size_t i = sectionIndex + 1;
        while (i < lines.size() && lines[i].kind != Line::Section) ++i;
        return i;
    }

    std::optional<size_t> findKey(std::string_view section, std::string_view key) const
    {
        const auto s = findSection(section);
        if (!s) return std::nullopt;
        for (size_t i = *s + 1, end = sectionEnd(*s); i < end; ++i)
            if (lines[i].kind == Line::Key && cp1251::EqualNoCase(lines[i].name(), key)) return i;
        return std::nullopt;
    }
};

void requireStorable(const std::filesystem::path& file, std::string_view what)
{
    if (what.find_first_of("\r\n") != std::string_view::npos)
        throw Error("Не удаётся записать \"" + file.filename().string() +
                    "\": значение содержит перевод строки");
}

} // namespace

bool ParseIniInteger(std::string_view text, int& value)
{
    text = trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return false;
    long long magnitude = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    const long long signedValue = negative ? -magnitude : magnitude;
    // Hexadecimal values may spell a negative number in two's complement, as 32-bit readers do.
    if (base == 16 && signedValue > INT_MAX && signedValue <= UINT_MAX) {
        value = static_cast<int>(static_cast<unsigned>(signedValue));
        return true;
    }
    if (signedValue < INT_MIN || signedValue > INT_MAX) return false;
    value = static_cast<int>(signedValue);
    return true;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    PathLock lock(file_);
    const Document doc = Document::load(file_);
    const auto i = doc.findKey(section, key);
    return std::string(i ? doc.lines[*i].value() : defaultValue);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const
{
    const std::string text = ReadString(section, key, "");
    int value = 0;
    return ParseIniInteger(text, value) ? value : defaultValue;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::vector<std::string> IniFile::ReadSection(std::string_view section) const
{
    PathLock lock(file_);
    const Document doc = Document::load(file_);
    std::vector<std::string> keys;
    if (const auto s = doc.findSection(section))
        for (size_t i = *s + 1, end = doc.sectionEnd(*s); i < end; ++i)
            if (doc.lines[i].kind == Line::Key) keys.emplace_back(doc.lines[i].name());
    return keys;
}

bool IniFile::SectionExists(std::string_view section) const
{
    PathLock lock(file_);
    return Document::load(file_).findSection(section).has_value();
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const
{
    PathLock lock(file_);
    return Document::load(file_).findKey(section, key).has_value();
}

namespace {

void setKey(Document& doc, std::string_view section, std::string_view key, std::string_view value)
{
    if (const auto i = doc.findKey(section, key)) {
        Line& line = doc.lines[*i];
        line.text = std::string(line.name()) + "=" + std::string(value);
        return;
    }
    Line line{Line::Key, std::string(key) + "=" + std::string(value)};
    if (const auto s = doc.findSection(section)) {
        // After the section's last non-blank line, so blank separators stay in place.
        size_t at = doc.sectionEnd(*s);
        while (at > *s + 1 && trim(doc.lines[at - 1].text).empty()) --at;
        doc.lines.insert(doc.lines.begin() + static_cast<long>(at), std::move(line));
    } else {
        doc.lines.push_back({Line::Section, "[" + std::string(section) + "]"});
        doc.lines.push_back(std::move(line));
    }
}

} // namespace

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    WriteStrings(section, {{std::string(key), std::string(value)}});
}

void IniFile::WriteStrings(std::string_view section,
                           const std::vector<std::pair<std::string, std::string>>& keyValues)
{
    requireStorable(file_, section);
    for (const auto& [key, value] : keyValues) {
        requireStorable(file_, key);
        requireStorable(file_, value);
    }
    PathLock lock(file_);
    Document doc = Document::load(file_);
    for (const auto& [key, value] : keyValues) setKey(doc, section, key, value);
    WriteFileAtomic(file_, doc.text());
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::DeleteKey(std::string_view section, std::string_view key)
{
    PathLock lock(file_);
    Document doc = Document::load(file_);
    const auto i = doc.findKey(section, key);
    if (!i) return;
    doc.lines.erase(doc.lines.begin() + static_cast<long>(*i));
    WriteFileAtomic(file_, doc.text());
}

void IniFile::EraseSection(std::string_view section)
{
    PathLock lock(file_);
    Document doc = Document::load(file_);
    const auto s = doc.findSection(section);
    if (!s) return;
    doc.lines.erase(doc.lines.begin() + static_cast<long>(*s),
                    doc.lines.begin() + static_cast<long>(doc.sectionEnd(*s)));
    WriteFileAtomic(file_, doc.text());
}

} // namespace folio
