#include "io/Error.h"
#include "replace/ReplacementTable.h"
#include "text/Cp1251.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using folio::ApplyReplacementRows;
using folio::ApplyReplacements;
using folio::ApplyReplacementTable;
using folio::Error;
using folio::ReplacementRow;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;
using Lines = std::vector<std::string>;

namespace {

std::string cp(const std::string& utf8) { return folio::cp1251::FromUtf8(utf8); }

Lines cpLines(const Lines& utf8)
{
    Lines out;
    for (const auto& l : utf8) out.push_back(cp(l));
    return out;
}

std::vector<ReplacementRow> cpRows(const std::vector<ReplacementRow>& utf8)
{
    std::vector<ReplacementRow> out;
    for (const auto& [e, v] : utf8) out.emplace_back(cp(e), cp(v));
    return out;
}

// A table file as the settings page writes it, from UTF-8 rows.
std::string tableBytes(const std::vector<ReplacementRow>& rows)
{
    std::string bytes = "expression\tvalue\r\n";
    for (const auto& [e, v] : rows) bytes += cp(e) + "\t" + cp(v) + "\r\n";
    return bytes;
}

} // namespace

TEST(ReplacementRows, EachRowJoinsReplacesAndSplits)
{
    struct Case {
        const char* name;
        std::vector<ReplacementRow> rows;
        Lines input, expected;
    };
    const Case cases[] = {
        {"ё to е", {{"ё", "е"}}, {"Ёлка", "ёж"}, {"Ёлка", "еж"}},
        {"escaped CR LF joins lines", {{"\\r\\n", " "}}, {"a", "b", "c"}, {"a b c "}},
        {"hyphen at a line end rejoins a word", {{"-\\r\\n", ""}}, {"пере-", "нос", "дальше"}, {"перенос", "дальше"}},
        {"dot crosses line breaks", {{"<.*>", "X"}}, {"<a", "b>", "c"}, {"X", "c"}},
        {"second row sees the first row's output", {{"a", "b"}, {"b", "c"}}, {"ab"}, {"cc"}},
        {"rows apply in table order", {{"b", "c"}, {"a", "b"}}, {"ab"}, {"bc"}},
        {"$1 stays as it is", {{"(к)от", "$1"}}, {"кот"}, {"$1"}},
        {"^ is the start of the whole text", {{"^", "> "}}, {"a", "b"}, {"> a", "b"}},
        {"$ is after the last line break", {{"$", "END"}}, {"a", "b"}, {"a", "b", "END"}},
        {"a lone CR left behind splits", {{"\\n", "|"}}, {"a", "b"}, {"a", "|b", "|"}},
        // After the first row the text is "a\nb\n"; the second row sees it rejoined with CR LF.
        {"every row rejoins with CR LF", {{"\\r", ""}, {"\\r\\n", "+"}}, {"a", "b"}, {"a+b+"}},
        {"everything removed leaves no line", {{".*", ""}}, {"a", "b"}, {}},
        {"no lines: an empty text", {{"^", "X"}}, {}, {"X"}},
        {"no match still normalises line breaks", {{"zzz", "y"}}, {"a\rb", "c\nd"}, {"a", "b", "c", "d"}},
        {"empty expression replaces nothing", {{"", "zzz"}}, {"a\rb", "c"}, {"a", "b", "c"}},
        {"empty expression between rows", {{"a", "b"}, {"", "x"}, {"b", "c"}}, {"a"}, {"c"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Lines lines = cpLines(c.input);
        const auto rows = cpRows(c.rows);
        ApplyReplacementRows(lines, rows);
        EXPECT_EQ(lines, cpLines(c.expected));
    }
}

TEST(ReplacementRows, BadExpressionStopsAfterTheRowsBeforeIt)
{
    Lines lines = {"ac"};
    const std::vector<ReplacementRow> rows = {{"a", "b"}, {"(", "x"}, {"c", "d"}};
    try {
        ApplyReplacementRows(lines, rows);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Ошибка в выражении \"(\": missing closing parenthesis (позиция 1)");
    }
    EXPECT_EQ(lines, (Lines{"bc"}));
}

TEST(ReplacementRows, TextFunctionAppliesRowsInSequenceWithoutSplitting)
{
    const auto rows = cpRows({{"ё", "е"}, {"\\r\\n", "\n"}, {"е\\n", "E"}, {"", "never"}});
    EXPECT_EQ(ApplyReplacements(cp("ёж\r\nё\r\n"), rows), cp("еж\nE"));
    EXPECT_THROW(ApplyReplacements("abc", std::vector<ReplacementRow>{{"[a", ""}}), Error);
}

TEST(ReplacementTable, AppliesTheTableFile)
{
    struct Case {
        const char* name;
        std::string file; // bytes of the table file
        Lines input, expected;
    };
    const Case cases[] = {
        {"ё to е, Ё kept", tableBytes({{"ё", "е"}}), {"Ёлка ёж"}, {"Ёлка еж"}},
        {"range takes ё", tableBytes({{"[а-я]+", "w"}}), {"ёжик и Ёж"}, {"w w Ёw"}},
        {"value $1 literally", tableBytes({{"(\\d+)", "$1"}}), {"глава 12"}, {"глава $1"}},
        {"value \\1 literally", tableBytes({{"(\\d+)", "\\1"}}), {"12"}, {"\\1"}},
        {"joining lines", tableBytes({{"([а-я])\\r\\n([а-я])", "$1 $2"}}), {"а", "б"}, {"$1 $2"}},
        {"rows in sequence", tableBytes({{"a", "bb"}, {"bb", "c"}}), {"a", "b"}, {"c", "b"}},
        {"columns found by name", "value\texpression\r\nX\tq\r\n", {"aqa"}, {"aXa"}},
        {"LF line ends of the file", "expression\tvalue\na\tb\n", {"a"}, {"b"}},
        {"header only: nothing happens", "expression\tvalue\r\n", {"a\rb"}, {"a\rb"}},
        {"empty file: nothing happens", "", {"a\rb"}, {"a\rb"}},
        {"empty expression row", tableBytes({{"", "x"}, {"a", "b"}}), {"a\rb"}, {"b", "b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        writeFile(dir / "rbefore.tbl", c.file);
        Lines lines = cpLines(c.input);
        ApplyReplacementTable(dir / "rbefore.tbl", lines);
        EXPECT_EQ(lines, cpLines(c.expected));
    }
}

TEST(ReplacementTable, MissingTableChangesNothingAndCreatesNothing)
{
    TempDir dir;
    Lines lines = {"a\rb", "c"};
    ApplyReplacementTable(dir / "rafter.tbl", lines);
    EXPECT_EQ(lines, (Lines{"a\rb", "c"}));
    EXPECT_FALSE(std::filesystem::exists(dir / "rafter.tbl"));

    ApplyReplacementTable(dir.str(), "rafter.tbl", lines);
    EXPECT_EQ(lines, (Lines{"a\rb", "c"}));
    EXPECT_FALSE(std::filesystem::exists(dir / "rafter.tbl"));
}

TEST(ReplacementTable, ProjectFolderAndTableName)
{
    TempDir dir;
    writeFile(dir / "rafter.tbl", tableBytes({{"ё", "е"}}));
    Lines lines = {cp("ёж")};
    ApplyReplacementTable(dir.str(), "rbefore.tbl", lines); // another table: none
    EXPECT_EQ(lines, (Lines{cp("ёж")}));
    ApplyReplacementTable(dir.str(), "rafter.tbl", lines);
    EXPECT_EQ(lines, (Lines{cp("еж")}));
    // A project without a folder has no tables, whatever lies in the working folder.
    ApplyReplacementTable(std::string(), "rafter.tbl", lines);
    EXPECT_EQ(lines, (Lines{cp("еж")}));
}

TEST(ReplacementTable, ReleasedAfterUse)
{
    TempDir dir;
    writeFile(dir / "rbefore.tbl", "expression\tvalue\na\tb\n");
    Lines lines = {"a"};
    ApplyReplacementTable(dir / "rbefore.tbl", lines);
    EXPECT_EQ(readFile(dir / "rbefore.tbl"), "expression\tvalue\r\na\tb\r\n");
}

TEST(ReplacementTable, BadExpressionEndsTheOperation)
{
    TempDir dir;
    writeFile(dir / "rbefore.tbl", tableBytes({{"a", "b"}, {"[а-я", "x"}, {"c", "d"}}));
    Lines lines = {"ac"};
    try {
        ApplyReplacementTable(dir / "rbefore.tbl", lines);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Ошибка в выражении \"[а-я\": missing terminating ] for character class (позиция 4)");
    }
    EXPECT_EQ(lines, (Lines{"bc"})); // the row before it has been applied
}
