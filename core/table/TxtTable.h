#pragma once
// TVtTxtTable: one ".tbl" table file held whole in memory.
//
// The file is cp1251 text: a header line of TAB-separated column names, then one line per
// row. Rows stay raw lines and are split on demand; every search is a linear scan from the
// first row. An object lives for one operation: it is opened, used and released, and
// releasing writes the whole file back (atomically, under the file's path lock).
//
// If the object goes out of scope while an exception is propagating, nothing is written:
// a failed operation leaves the file on disk as it was.
//
// From opening (or CreateTable) to release the object holds the file's path lock, so
// another thread's table of the same file waits instead of writing back stale rows.

#include "io/PathLock.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace folio {

class TVtTxtTable {
public:
    // A value to compare a field with: an integer compares numerically (the field must be a
    // decimal number, "007" equals 7), a text compares byte by byte.
    using Value = std::variant<long long, std::string>;

    TVtTxtTable();
    // Opens FileName when it is not empty; throws folio::Error when it cannot be read.
    explicit TVtTxtTable(const std::filesystem::path& fileName);
    // Writes the table back unless it was already released or an exception is in flight.
    ~TVtTxtTable() noexcept(false);
    TVtTxtTable(const TVtTxtTable&) = delete;
    TVtTxtTable& operator=(const TVtTxtTable&) = delete;

    // Writes the header and every row to the file (CR LF after each line) and detaches the
    // object from the file. Does nothing when the file name is empty.
    void Release();
    // Detaches the object from its file without writing it back, for readers that must leave
    // a file exactly as they found it (the console tools).
    void Abandon();

    void Open(const std::filesystem::path& fileName);
    void First();
    void Next();
    void Delete();
    int RecordCount() const;
    void AppendRecord(const std::vector<std::string>& values);
    bool Locate(std::string_view column, const Value& value);
    std::string GetValue(std::string_view column) const;
    // The current row's field read as a decimal integer; fails when it is not a number.
    long long GetInteger(std::string_view column) const;
    // The current row's field compared with a value by the rules of Locate.
    bool ValueEquals(std::string_view column, const Value& value) const;
    void SetValue(std::string_view column, const Value& value);
    void SetFilter(std::string_view column, const Value& value);
    void ClearFilter();
    void GetColumnValues(std::string_view column, std::vector<std::string>& list);
    void Clear();
    void CreateTable(const std::filesystem::path& fileName, const std::vector<std::string>& columns);

    bool Eof() const { return eof_; }
    const std::filesystem::path& FileName() const { return fileName_; }
    const std::string& Header() const { return header_; }
    const std::vector<std::string>& Columns() const { return columns_; }
    int CurrentRow() const { return current_; }
    int RowCount() const { return static_cast<int>(rows_.size()); }

private:
    size_t columnPosition(std::string_view column) const;
    const std::string& currentRowText() const;
    long long integerField(int row, std::string_view column) const;
    bool fieldMatches(int row, std::string_view column, const Value& value) const;
    void writeBack() const;

    std::vector<std::string> rows_;
    std::vector<std::string> columns_;
    int current_ = 0;
    int filteredCount_ = 0;
    bool eof_ = true;
    bool filtered_ = false;
    bool released_ = false;
    int uncaughtAtCreation_ = 0;
    std::filesystem::path fileName_;
    std::unique_ptr<PathLock> lock_; // held while the object stands for fileName_
    std::string header_;
    std::string filterColumn_;
    Value filterValue_;
};

} // namespace folio
