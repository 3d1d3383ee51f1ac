#pragma once
// Message identifiers, laid out as message-table identifiers: bits 31-30 severity,
// bits 27-16 facility (0xFF1 files and general, 0xFF2 command line, 0xFF3 Word automation),
// bits 15-0 code.

#include <cstdint>

namespace wordstrip {

using MessageId = std::uint32_t;

enum class Severity { Success = 0, Informational = 1, Warning = 2, Error = 3 };

constexpr Severity SeverityOf(MessageId id) { return static_cast<Severity>(id >> 30); }

namespace msg {
// Warnings: the current file or argument is given up, the run goes on.
constexpr MessageId FileNotFound = 0x8FF10002;
constexpr MessageId OutputNameTooLong = 0x8FF10003;
constexpr MessageId OutputExists = 0x8FF10004;
constexpr MessageId NoUniqueName = 0x8FF10005;
constexpr MessageId StdoutWriteFailed = 0x8FF10006;
constexpr MessageId OpenFailed = 0x8FF30001;
constexpr MessageId SaveAsFailed = 0x8FF30002;
constexpr MessageId QuitFailed = 0x8FF30004;
// Informational.
constexpr MessageId ShortUsage = 0x4FF10001;
constexpr MessageId LongUsage = 0x4FF10002;
constexpr MessageId Aborted = 0x4FF10003;
// Errors: the run ends with exit code 3.
constexpr MessageId Unexpected = 0xCFF10001;
constexpr MessageId NoMemory = 0xCFF10002;
constexpr MessageId OleInitFailed = 0xCFF10003;
constexpr MessageId NoVersionInfo = 0xCFF10004;
constexpr MessageId InvalidOption = 0xCFF20002;
constexpr MessageId MissingParameter = 0xCFF20003;
constexpr MessageId ParameterNotAllowed = 0xCFF20004;
constexpr MessageId InvalidParameter = 0xCFF20005;
constexpr MessageId UsedTwice = 0xCFF20006;
constexpr MessageId UsedTwiceSeparate = 0xCFF20007;
constexpr MessageId Conflict = 0xCFF20008;
constexpr MessageId ConflictSeparate = 0xCFF20009;
constexpr MessageId NoFile = 0xCFF2000A;
constexpr MessageId WordInitFailed = 0xCFF30001;
constexpr MessageId NoDocuments = 0xCFF30002;
} // namespace msg

} // namespace wordstrip
