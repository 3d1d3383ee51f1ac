#include "io/Error.h"
#include "table/TxtTable.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using folio::Error;
using folio::TVtTxtTable;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;
using namespace std::string_literals;

namespace {

std::vector<std::string> allRows(TVtTxtTable& t, const std::string& column)
{
    std::vector<std::string> out;
    t.GetColumnValues(column, out);
    return out;
}

} // namespace

TEST(TxtTable, ReadsEveryLineEndAndStopsAtNul)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::string header;
        std::vector<std::string> names; // values of column "a"
    };
    const Case cases[] = {
        {"crlf", "a\tb\r\n1\tx\r\n2\ty\r\n", "a\tb", {"1", "2"}},
        {"lone cr", "a\tb\r1\tx\r2\ty", "a\tb", {"1", "2"}},
        {"lone lf", "a\tb\n1\tx\n2\ty\n", "a\tb", {"1", "2"}},
        {"mixed", "a\tb\n1\tx\r2\ty\r\n3\tz", "a\tb", {"1", "2", "3"}},
        {"nul ends the text", "a\tb\r\n1\tx\r\n2\0\r\n3\r\n"s, "a\tb", {"1", "2"}},
        {"empty line is a row", "a\tb\r\n1\tx\r\n\r\n2\ty\r\n", "a\tb", {"1", "", "2"}},
        {"cr lf is one break", "a\r\n\r\n", "a", {""}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        writeFile(dir / "t.tbl", c.bytes);
        TVtTxtTable t(dir / "t.tbl");
        EXPECT_EQ(t.Header(), c.header) << c.name;
        EXPECT_EQ(allRows(t, "a"), c.names) << c.name;
        t.Clear(); // keep the release from depending on the case
    }
}

TEST(TxtTable, HeaderNamesMatchWithoutCaseAndAreWrittenBackAsRead)
{
    TempDir dir;
    // "id", "Имя" (cp1251), an empty name, and a trailing TAB that adds no column.
    writeFile(dir / "t.tbl", "id\t\xC8\xEC\xFF\t\tlast\t\r\n5\tPoems\tx\tz\r\n");
    {
        TVtTxtTable t(dir / "t.tbl");
        EXPECT_EQ(t.Columns().size(), 4u);
        for (const char* name : {"id", "ID", "Id", "iD"}) EXPECT_EQ(t.GetValue(name), "5") << name;
        EXPECT_EQ(t.GetValue("\xE8\xcc\xdf"), "Poems"); // "иМЯ"
        EXPECT_EQ(t.GetValue(""), "x");
        EXPECT_EQ(t.GetValue("LAST"), "z");
    }
    EXPECT_EQ(readFile(dir / "t.tbl"), "id\t\xC8\xEC\xFF\t\tlast\t\r\n5\tPoems\tx\tz\r\n");
}

TEST(TxtTable, ShortRowsAndUnknownColumnsUseTheLastField)
{
    struct Case { std::string row, column, got; };
    const Case reads[] = {
        {"a", "c2", "a"}, {"a\tb", "c3", "b"}, {"a\tb\tc", "nosuch", "c"}, {"a\t\tc", "c2", ""},
    };
    TempDir dir;
    for (const auto& c : reads) {
        writeFile(dir / "t.tbl", "c1\tc2\tc3\r\n" + c.row + "\r\n");
        TVtTxtTable t(dir / "t.tbl");
        EXPECT_EQ(t.GetValue(c.column), c.got) << c.row << " / " << c.column;
    }

    struct Write { std::string row, column, value, result; };
    const Write writes[] = {
        {"a\t\tc", "c2", "b", "a\tb\tc"},
        {"a", "c2", "b", "b"},
        {"a\tb", "c3", "z", "a\tz"},
        {"a\tb\tc", "nosuch", "z", "a\tb\tz"},
        {"a\tb\tc", "C1", "q", "q\tb\tc"},
    };
    for (const auto& w : writes) {
        writeFile(dir / "t.tbl", "c1\tc2\tc3\r\n" + w.row + "\r\n");
        {
            TVtTxtTable t(dir / "t.tbl");
            t.SetValue(w.column, w.value);
        }
        EXPECT_EQ(readFile(dir / "t.tbl"), "c1\tc2\tc3\r\n" + w.result + "\r\n") << w.row;
    }
}

TEST(TxtTable, LocateComparesIntegersNumericallyAndTextsExactly)
{
    TempDir dir;
    writeFile(dir / "t.tbl", "id\tname\r\n05\tpoems\r\n5\tPoems\r\n");
    TVtTxtTable t(dir / "t.tbl");
    ASSERT_TRUE(t.Locate("id", 5LL));
    EXPECT_EQ(t.CurrentRow(), 0); // 05 equals 5
    ASSERT_TRUE(t.Locate("name", std::string("Poems")));
    EXPECT_EQ(t.CurrentRow(), 1);
    EXPECT_FALSE(t.Locate("name", std::string("POEMS")));
    EXPECT_TRUE(t.Eof());
    EXPECT_FALSE(t.Locate("id", 6LL));
    EXPECT_TRUE(t.Eof());
}

TEST(TxtTable, FieldThatIsNotANumberFailsAndLeavesTheFileAsItWas)
{
    TempDir dir;
    const std::string original = "id\tname\n1\tone\nabc\tbad\n5\tfive\n";
    writeFile(dir / "t.tbl", original);
    try {
        TVtTxtTable t(dir / "t.tbl");
        t.SetValue("name", std::string("changed"));
        t.Locate("id", 5LL);
        FAIL() << "Locate should have failed";
    } catch (const Error& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("abc"), std::string::npos) << what;
        EXPECT_NE(what.find("t.tbl"), std::string::npos) << what;
    }
    EXPECT_EQ(readFile(dir / "t.tbl"), original);

    // An empty field is not a number either.
    writeFile(dir / "t.tbl", "id\tname\r\n\tx\r\n");
    TVtTxtTable t(dir / "t.tbl");
    EXPECT_THROW(t.Locate("id", 1LL), Error);
    EXPECT_THROW(t.SetFilter("id", 1LL), Error);
    t.Clear();
}

TEST(TxtTable, HeaderOnlyAndEmptyFiles)
{
    TempDir dir;
    writeFile(dir / "h.tbl", "id\tname\r\n");
    {
        TVtTxtTable t(dir / "h.tbl");
        EXPECT_TRUE(t.Eof());
        EXPECT_EQ(t.RecordCount(), 0);
        t.AppendRecord({"7", "Seven"});
        EXPECT_TRUE(t.Eof()); // appending does not move the current row
    }
    EXPECT_EQ(readFile(dir / "h.tbl"), "id\tname\r\n7\tSeven\r\n");

    writeFile(dir / "e.tbl", "");
    {
        TVtTxtTable t(dir / "e.tbl");
        EXPECT_TRUE(t.Columns().empty());
        EXPECT_TRUE(t.Eof());
    }
    EXPECT_EQ(readFile(dir / "e.tbl"), "\r\n");
}

TEST(TxtTable, DeleteWhileIteratingRemovesEveryRow)
{
    TempDir dir;
    writeFile(dir / "t.tbl", "id\r\n1\r\n2\r\n3\r\n");
    {
        TVtTxtTable t(dir / "t.tbl");
        while (!t.Eof()) {
            t.Delete();
            t.Next();
        }
        EXPECT_EQ(t.RecordCount(), 0);
    }
    EXPECT_EQ(readFile(dir / "t.tbl"), "id\r\n");
}

TEST(TxtTable, DeleteOfTheLastRowEndsTheIterationAndFirstRowLeavesNoCurrentRow)
{
    TempDir dir;
    writeFile(dir / "t.tbl", "id\r\n1\r\n2\r\n3\r\n");
    TVtTxtTable t(dir / "t.tbl");
    ASSERT_TRUE(t.Locate("id", 3LL));
    t.Delete();
    EXPECT_TRUE(t.Eof());
    EXPECT_EQ(t.CurrentRow(), 1);
    t.Next();
    EXPECT_EQ(t.CurrentRow(), 1);
    EXPECT_EQ(t.GetValue("id"), "2");

    t.First();
    t.Delete(); // removes "1": no row is current now
    EXPECT_EQ(t.CurrentRow(), -1);
    EXPECT_FALSE(t.Eof());
    EXPECT_THROW(t.GetValue("id"), Error);
    EXPECT_THROW(t.SetValue("id", 9LL), Error);
    t.Next();
    EXPECT_EQ(t.GetValue("id"), "2");
}

TEST(TxtTable, FilterWalksOnlyMatchingRows)
{
    TempDir dir;
    writeFile(dir / "t.tbl", "id_authors\tal_name\r\n1\ta\r\n3\tb\r\n2\tc\r\n3\td\r\n");
    TVtTxtTable t(dir / "t.tbl");
    t.SetFilter("id_authors", 3LL);
    EXPECT_EQ(t.RecordCount(), 2);
    EXPECT_EQ(t.CurrentRow(), 1);
    t.Next();
    EXPECT_EQ(t.CurrentRow(), 3);
    EXPECT_FALSE(t.Eof());
    t.Next();
    EXPECT_TRUE(t.Eof());
    EXPECT_EQ(t.CurrentRow(), 3);

    EXPECT_EQ(allRows(t, "al_name"), (std::vector<std::string>{"b", "d"}));
    EXPECT_FALSE(t.Locate("al_name", std::string("a"))); // outside the filter
    EXPECT_TRUE(t.Locate("al_name", std::string("d")));

    t.AppendRecord({"3", "e"}); // the filter is set again and counts the new row
    EXPECT_EQ(t.RecordCount(), 3);
    EXPECT_EQ(t.CurrentRow(), 1);

    t.Delete(); // removes "b", then moves to the first match again
    EXPECT_EQ(t.GetValue("al_name"), "d");

    t.SetFilter("id_authors", 9LL);
    EXPECT_TRUE(t.Eof());
    EXPECT_EQ(t.RecordCount(), 0);
    EXPECT_THROW(t.GetValue("al_name"), Error); // a filtered First that found nothing

    t.ClearFilter();
    EXPECT_EQ(t.RecordCount(), 4);
    t.Clear();
}

TEST(TxtTable, OpenWritesThePreviousFileBackOnlyWhenItHasRows)
{
    TempDir dir;
    writeFile(dir / "a.tbl", "id\n1\n");
    writeFile(dir / "b.tbl", "id\n2\n");
    {
        TVtTxtTable t(dir / "a.tbl");
        t.SetValue("id", 10LL);
        t.Open(dir / "b.tbl");
        EXPECT_EQ(t.GetValue("id"), "2");
        EXPECT_EQ(readFile(dir / "a.tbl"), "id\r\n10\r\n");
        t.Delete();              // b.tbl has no rows now
        t.Open(dir / "a.tbl");   // so it is not written here...
        EXPECT_EQ(readFile(dir / "b.tbl"), "id\n2\n");
    }                            // ...and a.tbl is written at release
    EXPECT_EQ(readFile(dir / "a.tbl"), "id\r\n10\r\n");
    EXPECT_EQ(readFile(dir / "b.tbl"), "id\n2\n");
}

TEST(TxtTable, FailuresToOpenOrWriteAreReported)
{
    TempDir dir;
    EXPECT_THROW(TVtTxtTable t(dir / "missing.tbl"), Error);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.tbl"));

    // Writing into a folder that went away while the table was open.
    std::filesystem::create_directory(dir / "sub");
    writeFile(dir / "sub" / "t.tbl", "id\r\n1\r\n");
    TVtTxtTable t(dir / "sub" / "t.tbl");
    std::filesystem::remove_all(dir / "sub");
    try {
        t.Release();
        FAIL() << "Release should have failed";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("t.tbl"), std::string::npos);
    }
}

TEST(TxtTable, RefusesValuesTheFormatCannotHold)
{
    TempDir dir;
    writeFile(dir / "t.tbl", "id\tname\r\n1\tx\r\n");
    for (const std::string bad : {"a\tb", "a\nb", "a\rb"}) {
        {
            TVtTxtTable t(dir / "t.tbl");
            EXPECT_THROW(t.SetValue("name", bad), Error);
            EXPECT_THROW(t.AppendRecord({"2", bad}), Error);
        }
        EXPECT_EQ(readFile(dir / "t.tbl"), "id\tname\r\n1\tx\r\n");
    }
}

TEST(TxtTable, NewTablesAndAppendWithoutFile)
{
    TempDir dir;
    {
        TVtTxtTable t;
        t.AppendRecord({"x"});
        EXPECT_EQ(t.RecordCount(), 0);
        t.CreateTable(dir / "r.tbl", {"expression", "value"});
        t.AppendRecord({"a", "b"});
        t.AppendRecord({"c", ""});
    }
    EXPECT_EQ(readFile(dir / "r.tbl"), "expression\tvalue\r\na\tb\r\nc\t\r\n");
}

TEST(TxtTable, AnotherThreadsTableOfTheSameFileWaitsForTheRelease)
{
    TempDir dir;
    writeFile(dir / "t.tbl", "id\tname\r\n1\told\r\n");
    std::atomic<bool> otherDone{false};
    std::string seen;
    std::thread other;
    {
        TVtTxtTable mine(dir / "t.tbl");
        mine.SetValue("name", std::string("new"));
        other = std::thread([&] {
            TVtTxtTable theirs(dir / "t.tbl"); // waits until `mine` is released
            seen = theirs.GetValue("name");
            theirs.SetValue("name", seen + "+their");
            otherDone = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(otherDone.load());
        // The same thread may open the file again while it holds it.
        TVtTxtTable nested(dir / "t.tbl");
        EXPECT_EQ(nested.GetValue("name"), "old");
        nested.Clear();
        nested.Release();
        mine.Release(); // written last: the nested release is overwritten
    }
    other.join();
    EXPECT_EQ(seen, "new");
    EXPECT_EQ(readFile(dir / "t.tbl"), "id\tname\r\n1\tnew+their\r\n");
}
