#pragma once
// An INI settings file with the semantics editors' files have always had: sections and keys
// matched without regard to case, a default at every read, every write on disk at once
// (nothing cached, so every reader sees the last write), layout and key order kept, a new
// key appended at the end of its section and a new section at the end of the file.
// Names and values are cp1251 bytes.
//
// Each operation reads the file afresh; a write is read-modify-write under the file's path
// lock and replaces the file atomically, so two threads writing different keys of one
// file never lose each other's keys.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace folio {

class IniFile {
public:
    explicit IniFile(std::filesystem::path file) : file_(std::move(file)) {}

    const std::filesystem::path& FileName() const { return file_; }

    // A key that is present with an empty value reads as empty text, not as the default.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    // A value that is not a whole number reads as the default.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // Read as an integer: any number but 0 is true; a value that is not a number gives the default.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    // Key names of the section in file order.
    std::vector<std::string> ReadSection(std::string_view section) const;
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

    // Writes fail with folio::Error (the folder is missing, the disk is full, or the name or
    // value holds a line break, which the format cannot keep).
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    // Several keys of one section in one read-modify-write: each key as WriteString would
    // write it, with one replacement of the file instead of one per key.
    void WriteStrings(std::string_view section, const std::vector<std::pair<std::string, std::string>>& keyValues);
    void DeleteKey(std::string_view section, std::string_view key);
    void EraseSection(std::string_view section);

private:
    std::filesystem::path file_;
};

// The integer reading rules of the settings files: optional sign, decimal digits, or
// hexadecimal after "$" or "0x"; the whole value must be the number.
bool ParseIniInteger(std::string_view text, int& value);

} // namespace folio
