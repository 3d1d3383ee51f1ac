// The formatter's insert syntax and the reporter's routing of messages.

#include "Console.h"
#include "ConvertOptions.h"
#include "MessageFormat.h"
#include "MessageTable.h"
#include "Reporter.h"
#include "SystemError.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <unistd.h>
#include <vector>

namespace wordstrip {
namespace {

std::optional<std::string> Format(std::string_view format, std::vector<Insert> inserts = {})
{
    return FormatMessageText(format, inserts);
}

TEST(MessageFormat, InsertsAndEscapes)
{
    struct Case {
        std::string_view format;
        std::vector<Insert> inserts;
        std::string expected;
    } cases[] = {
        {"%1: File not found.%n", {"a b.doc"}, "a b.doc: File not found.\n"},
        {"%2 before %1", {"one", "two"}, "two before one"},
        {"[%1!d!] ", {-66LL}, "[-66] "},
        {"[%1!08x!] ", {0x80004005LL}, "[80004005] "},
        {"0x%1!08x!", {0x2ALL}, "0x0000002a"},
        {"%1!08x!", {-1LL}, "ffffffff"},
        {"'%2!c!'", {"-x", 'x'}, "'x'"},
        {"'%2!c!'", {"-", '\0'}, "''"}, // no letter: nothing, never a NUL in the text
        {"%1!s!|%1!5s!|%1!-5s!|", {"ab"}, "ab|   ab|ab   |"},
        {"100%% %. %! %t%r", {}, "100% . ! \t\r"},
        {"cut%0 here", {}, "cut"},
        {"%10", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "ten"}, "ten"},
        // Inserted text is never read again as a format.
        {"%1 and %2", {"%2 %n %1!d!", "x"}, "%2 %n %1!d! and x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(Format(c.format, c.inserts), c.expected);
    }
}

TEST(MessageFormat, FormatsThatCannotBeFilled)
{
    struct Case {
        std::string_view format;
        std::vector<Insert> inserts;
    } cases[] = {
        {"%1", {}},                 // insert missing
        {"%3", {"a", "b"}},
        {"%1!d!", {"text"}},        // wrong kind
        {"%1!c!", {"text"}},
        {"%1", {42LL}},
        {"%1!q!", {42LL}},          // unknown conversion
        {"%1!d", {42LL}},           // unclosed
        {"trailing %", {}},
        {"%z", {}},
        {"%0", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        if (c.format == "%0") {
            EXPECT_EQ(Format(c.format, c.inserts), ""); // the end mark itself is valid
            continue;
        }
        EXPECT_EQ(Format(c.format, c.inserts), std::nullopt);
    }
}

TEST(MessageTable, EveryMessageHasItsText)
{
    for (MessageId id : {msg::FileNotFound, msg::OutputNameTooLong, msg::OutputExists, msg::NoUniqueName,
                         msg::StdoutWriteFailed, msg::OpenFailed, msg::SaveAsFailed, msg::QuitFailed, msg::ShortUsage,
                         msg::LongUsage, msg::Aborted, msg::Unexpected, msg::NoMemory, msg::OleInitFailed,
                         msg::NoVersionInfo, msg::InvalidOption, msg::MissingParameter, msg::ParameterNotAllowed,
                         msg::InvalidParameter, msg::UsedTwice, msg::UsedTwiceSeparate, msg::Conflict,
                         msg::ConflictSeparate, msg::NoFile, msg::WordInitFailed, msg::NoDocuments}) {
        const auto text = LookupMessage(id);
        ASSERT_TRUE(text.has_value()) << std::hex << id;
        EXPECT_TRUE(text->ends_with("\n")) << std::hex << id;
        EXPECT_EQ(text->find('\r'), std::string_view::npos) << std::hex << id;
    }
    EXPECT_FALSE(LookupMessage(0x8FF1FFFF).has_value());
    // The message of our own making: the input and the existing output.
    EXPECT_EQ(*FormatMessageText(*LookupMessage(msg::OutputExists), std::vector<Insert>{"in.doc", "in.txt"}),
              "in.doc: Output file \"in.txt\" already exists. Skipped.\n");
}

TEST(SystemError, Descriptions)
{
    EXPECT_EQ(DescribeSystemCode(ENOENT), "No such file or directory");
    EXPECT_EQ(DescribeSystemCode(0x800401F3), "Invalid class string");
    EXPECT_EQ(DescribeSystemCode(0x80070000 | EACCES), "Permission denied"); // a system call's failure
    EXPECT_EQ(DescribeSystemCode(0x800A1066), std::nullopt);
    EXPECT_EQ(DescribeSystemCode(0xFFFF), std::nullopt);
}

// The reporter writes to two files standing for the standard streams.
class ReporterTest : public ::testing::Test {
protected:
    ReporterTest()
        : outFd_(::open((dir_ / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600)),
          errFd_(::open((dir_ / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600)), console_(outFd_, errFd_),
          reporter_(options_, console_)
    {
        reporter_.SetShutdown([this] { ++shutdowns_; });
    }
    ~ReporterTest() override
    {
        ::close(outFd_);
        ::close(errFd_);
    }
    std::string Out() const { return testsupport::readFile(dir_ / "out"); }
    std::string Err() const { return testsupport::readFile(dir_ / "err"); }
    // The exit code the report ended the run with, or nothing when it returned.
    std::optional<int> Report(MessageId id, std::uint32_t code, std::initializer_list<Insert> inserts = {})
    {
        try {
            reporter_.ReportMessage(id, code, inserts);
        } catch (const ProgramExit& exit) {
            return exit.code;
        }
        return std::nullopt;
    }

    testsupport::TempDir dir_;
    int outFd_, errFd_;
    ConvertOptions options_;
    Console console_;
    Reporter reporter_;
    int shutdowns_ = 0;
};

TEST_F(ReporterTest, WarningsGoToStandardErrorWithTheirSystemCode)
{
    EXPECT_EQ(Report(msg::FileNotFound, ENOENT, {"x.doc"}), std::nullopt);
    EXPECT_EQ(Report(msg::OpenFailed, 0x80030002, {"y.doc"}), std::nullopt);
    EXPECT_EQ(Report(msg::SaveAsFailed, 0x800A1066), std::nullopt);
    EXPECT_EQ(Report(msg::NoUniqueName, 0), std::nullopt);
    EXPECT_EQ(Err(), "Warning: x.doc: File not found.\n[2] No such file or directory\n"
                     "Warning: y.doc: Documents.Open method failed.\n[80030002] The file could not be found\n"
                     "Warning: Document.SaveAs method failed.\n[800a1066] (Unknown error)\n"
                     "Warning: Unable to generate unique filename for output.\n");
    EXPECT_EQ(Out(), "");
    EXPECT_EQ(shutdowns_, 0);
}

TEST_F(ReporterTest, ErrorsShutDownOnceAndEndWithCodeThree)
{
    EXPECT_EQ(Report(msg::NoFile, 0), 3);
    EXPECT_EQ(Report(msg::Unexpected, 12345), 3);
    EXPECT_EQ(Err(), "Error: No file to be processed.\nError: An unexpected error has occurred.\n[12345] (Unknown error)\n");
    EXPECT_EQ(shutdowns_, 1);
}

TEST_F(ReporterTest, UnknownIdentifiersStillSaySomethingForWarningsAndErrors)
{
    EXPECT_EQ(Report(0x8FF1FFFF, 0), std::nullopt);
    EXPECT_EQ(Report(0x4FF1FFFF, 0), std::nullopt);
    EXPECT_EQ(Report(0xCFF1FFFF, 0), 3);
    EXPECT_EQ(Err(), "Warning 0x8ff1ffff has occurred.\nError 0xcff1ffff has occurred.\n");
    EXPECT_EQ(Out(), "");
}

TEST_F(ReporterTest, QuietDebugAndExitOnWarningRules)
{
    struct Case {
        std::uint32_t flags;
        MessageId id;
        std::optional<int> exit;
        std::string out, err;
    } cases[] = {
        {flag::Quiet, msg::FileNotFound, std::nullopt, "", ""},
        {flag::Quiet | flag::ExitOnWarning, msg::FileNotFound, 3, "", "Warning: a: File not found.\n[2] No such file or directory\n"},
        {flag::ExitOnWarning, msg::FileNotFound, 3, "", "Warning: a: File not found.\n[2] No such file or directory\n"},
        {flag::Quiet, msg::Aborted, std::nullopt, "Operation Aborted.\n", ""},
        {flag::Quiet, msg::NoFile, 3, "", "Error: No file to be processed.\n[2] No such file or directory\n"},
        {flag::Debug, msg::FileNotFound, std::nullopt, "Warning: a: File not found.\n[2] No such file or directory\n", ""},
        {flag::Debug, msg::NoFile, 3, "Error: No file to be processed.\n[2] No such file or directory\n", ""},
        {0, msg::Aborted, std::nullopt, "Operation Aborted.\n", ""}, // informational: no code, no prefix
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.flags) + " " + std::to_string(c.id));
        ASSERT_EQ(::ftruncate(outFd_, 0), 0);
        ASSERT_EQ(::ftruncate(errFd_, 0), 0);
        ::lseek(outFd_, 0, SEEK_SET);
        ::lseek(errFd_, 0, SEEK_SET);
        options_.flags = c.flags;
        EXPECT_EQ(Report(c.id, ENOENT, {"a"}), c.exit);
        EXPECT_EQ(Out(), c.out);
        EXPECT_EQ(Err(), c.err);
    }
}

TEST_F(ReporterTest, PrintFormattedWritesAnUnfillableFormatAsItStands)
{
    reporter_.PrintFormatted(Stream::Out, "%1 --> %2%n", {"a"});
    reporter_.PrintFormatted(Stream::Out, "%1!d!%n", {42LL});
    EXPECT_EQ(Out(), "%1 --> %2%n42\n");
}

} // namespace
} // namespace wordstrip
