#include "table/TxtTable.h"

#include "io/Error.h"
#include "io/FileIO.h"
#include "io/PathLock.h"
#include "table/TableText.h"
#include "text/Cp1251.h"

#include <charconv>
#include <exception>

namespace folio {
namespace {

std::string tableName(const std::filesystem::path& file)
{
    return "\"" + (file.empty() ? std::string("(без файла)") : file.filename().string()) + "\"";
}

// Decimal integer with an optional sign, blanks around it allowed.
bool parseInteger(std::string_view text, long long& out)
{
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

std::string valueText(const TVtTxtTable::Value& value)
{
    if (const auto* number = std::get_if<long long>(&value)) return std::to_string(*number);
    return std::get<std::string>(value);
}

} // namespace

TVtTxtTable::TVtTxtTable() : uncaughtAtCreation_(std::uncaught_exceptions()) {}

TVtTxtTable::TVtTxtTable(const std::filesystem::path& fileName)
    : uncaughtAtCreation_(std::uncaught_exceptions())
{
    if (!fileName.empty()) Open(fileName);
}

TVtTxtTable::~TVtTxtTable() noexcept(false)
{
    // During unwinding the operation failed: leave the file as it was.
    if (released_ || std::uncaught_exceptions() > uncaughtAtCreation_) return;
    Release();
}

void TVtTxtTable::Release()
{
    if (released_) return;
    released_ = true;
    if (!fileName_.empty()) writeBack();
    lock_.reset();
}

void TVtTxtTable::Abandon()
{
    released_ = true;
    lock_.reset();
}

void TVtTxtTable::writeBack() const
{
    std::string text;
    size_t size = header_.size() + 2;
    for (const auto& row : rows_) size += row.size() + 2;
    text.reserve(size);
    text += header_;
    text += "\r\n";
    for (const auto& row : rows_) {
        text += row;
        text += "\r\n";
    }
    std::unique_ptr<PathLock> temporary;
    if (!lock_) temporary = std::make_unique<PathLock>(fileName_);
    WriteFileAtomic(fileName_, text);
}

void TVtTxtTable::Open(const std::filesystem::path& fileName)
{
    columns_.clear();
    // A table whose rows were all removed is not written back here.
    if (!rows_.empty() && !fileName_.empty()) writeBack();

    // The previous file is done with; the new one is held until release. Never two at once.
    lock_.reset();
    lock_ = std::make_unique<PathLock>(fileName);
    std::string bytes;
    try {
        bytes = ReadWholeFile(fileName);
    } catch (...) {
        lock_.reset();
        throw;
    }
    rows_ = tabletext::SplitLines(bytes);
    fileName_ = fileName;
    released_ = false;
    current_ = 0;
    if (rows_.empty()) {
        header_.clear();
        eof_ = true;
        return;
    }
    header_ = std::move(rows_.front());
    rows_.erase(rows_.begin());
    columns_ = tabletext::SplitHeader(header_);
    eof_ = rows_.empty();
}

size_t TVtTxtTable::columnPosition(std::string_view column) const
{
    for (size_t i = 0; i < columns_.size(); ++i)
        if (cp1251::EqualNoCase(columns_[i], column)) return i;
    return columns_.size();
}

const std::string& TVtTxtTable::currentRowText() const
{
    if (current_ < 0 || current_ >= static_cast<int>(rows_.size()))
        throw Error("Таблица " + tableName(fileName_) + ": нет текущей строки (строка " +
                    std::to_string(current_) + " вне списка из " + std::to_string(rows_.size()) +
                    " строк)");
    return rows_[static_cast<size_t>(current_)];
}

long long TVtTxtTable::integerField(int row, std::string_view column) const
{
    const std::string_view field =
        tabletext::ReadField(rows_[static_cast<size_t>(row)], columnPosition(column));
    long long number = 0;
    if (!parseInteger(field, number))
        throw Error("Таблица " + tableName(fileName_) + ": значение \"" + cp1251::ToUtf8(field) +
                    "\" в столбце \"" + cp1251::ToUtf8(column) + "\" (строка " +
                    std::to_string(row + 1) + ") не является числом");
    return number;
}

bool TVtTxtTable::fieldMatches(int row, std::string_view column, const Value& value) const
{
    if (const auto* text = std::get_if<std::string>(&value))
        return tabletext::ReadField(rows_[static_cast<size_t>(row)], columnPosition(column)) == *text;
    return integerField(row, column) == std::get<long long>(value);
}

void TVtTxtTable::First()
{
    current_ = 0;
    eof_ = rows_.empty();
    if (!filtered_ || eof_) return;
    const int n = static_cast<int>(rows_.size());
    while (current_ < n && !fieldMatches(current_, filterColumn_, filterValue_)) ++current_;
    eof_ = current_ >= n;
}

void TVtTxtTable::Next()
{
    if (eof_) return;
    const int n = static_cast<int>(rows_.size());
    ++current_;
    if (filtered_)
        while (current_ < n && !fieldMatches(current_, filterColumn_, filterValue_)) ++current_;
    if (current_ >= n) {
        eof_ = true;
        current_ = n - 1;
    }
}

void TVtTxtTable::Delete()
{
    if (rows_.empty()) return;
    currentRowText(); // fails when there is no current row
    rows_.erase(rows_.begin() + current_);
    --current_;
    if (filtered_) {
        // Copy first: SetFilter takes the column by reference into the member.
        const std::string column = filterColumn_;
        const Value value = filterValue_;
        SetFilter(column, value);
    } else {
        eof_ = current_ == static_cast<int>(rows_.size()) - 1;
    }
}

int TVtTxtTable::RecordCount() const
{
    if (rows_.empty()) return 0;
    return filtered_ ? filteredCount_ : static_cast<int>(rows_.size());
}

void TVtTxtTable::AppendRecord(const std::vector<std::string>& values)
{
    if (fileName_.empty()) return;
    std::string line;
    for (size_t i = 0; i < columns_.size(); ++i) {
        const std::string value = i < values.size() ? values[i] : std::string();
        if (!tabletext::IsStorableValue(value))
            throw Error("Таблица " + tableName(fileName_) + ": значение столбца \"" +
                        cp1251::ToUtf8(columns_[i]) +
                        "\" содержит табуляцию или перевод строки и не может быть сохранено");
        if (i > 0) line += '\t';
        line += value;
    }
    rows_.push_back(std::move(line));
    if (filtered_) {
        const std::string column = filterColumn_;
        const Value value = filterValue_;
        SetFilter(column, value);
    }
}

bool TVtTxtTable::Locate(std::string_view column, const Value& value)
{
    for (First(); !eof_; Next())
        if (fieldMatches(current_, column, value)) return true;
    return false;
}

std::string TVtTxtTable::GetValue(std::string_view column) const
{
    return std::string(tabletext::ReadField(currentRowText(), columnPosition(column)));
}

long long TVtTxtTable::GetInteger(std::string_view column) const
{
    currentRowText();
    return integerField(current_, column);
}

bool TVtTxtTable::ValueEquals(std::string_view column, const Value& value) const
{
    currentRowText();
    return fieldMatches(current_, column, value);
}

void TVtTxtTable::SetValue(std::string_view column, const Value& value)
{
    if (rows_.empty()) return;
    const std::string text = valueText(value);
    if (!tabletext::IsStorableValue(text))
        throw Error("Таблица " + tableName(fileName_) + ": значение столбца \"" +
                    cp1251::ToUtf8(column) +
                    "\" содержит табуляцию или перевод строки и не может быть сохранено");
    const std::string& row = currentRowText();
    rows_[static_cast<size_t>(current_)] = tabletext::ReplaceField(row, columnPosition(column), text);
}

void TVtTxtTable::SetFilter(std::string_view column, const Value& value)
{
    filterColumn_ = std::string(column);
    filterValue_ = value;
    filtered_ = true;
    int count = 0;
    for (First(); !eof_; Next()) ++count;
    filteredCount_ = count;
    First();
}

void TVtTxtTable::ClearFilter() { filtered_ = false; }

void TVtTxtTable::GetColumnValues(std::string_view column, std::vector<std::string>& list)
{
    list.clear();
    for (First(); !eof_; Next()) list.push_back(GetValue(column));
}

void TVtTxtTable::Clear()
{
    rows_.clear();
    current_ = 0;
    eof_ = true;
    filtered_ = false;
}

void TVtTxtTable::CreateTable(const std::filesystem::path& fileName, const std::vector<std::string>& columns)
{
    rows_.clear();
    current_ = 0;
    eof_ = true;
    filtered_ = false;
    released_ = false;
    lock_ = fileName.empty() ? nullptr : std::make_unique<PathLock>(fileName);
    fileName_ = fileName;
    columns_ = columns;
    header_.clear();
    for (size_t i = 0; i < columns.size(); ++i) {
        if (i > 0) header_ += '\t';
        header_ += columns[i];
    }
}

} // namespace folio
