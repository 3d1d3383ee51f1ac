#include "io/Error.h"
#include "project/Projects.h"
#include "project/ReplacementRows.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace folio;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

namespace {

const std::string kHeader = "id_projects\tpj_name\tpj_folder\tpj_closed\r\n";

struct ProgramFolder {
    TempDir dir;
    IniFile settings{dir / "folioset.ini"};
    Folders folders;
    ProgramFolder()
    {
        std::filesystem::create_directory(dir / "db");
        writeFile(dir / "db" / "projects.tbl", kHeader);
        folders = Folders::Compute(dir.str(), settings);
    }
    std::string table() const { return readFile(dir / "db" / "projects.tbl"); }
};

} // namespace

TEST(Projects, AddingNumbersProjectsFromTheCountAndNeverReusesIds)
{
    ProgramFolder p;
    EXPECT_EQ(AddProjectRecord(p.folders, p.settings, "A"), 1);
    EXPECT_EQ(AddProjectRecord(p.folders, p.settings, "B\tC\r\nD"), 2);
    EXPECT_EQ(readFile(p.dir / "folioset.ini"), "[projects]\r\ncount=2\r\n");
    EXPECT_EQ(p.table(), kHeader + "1\tA\tProject1\t0\r\n2\tB C  D\tProject2\t0\r\n");
    EXPECT_EQ(readFile(p.dir / "projects" / "Project1" / "project.cfg"),
              "[options]\r\nCreatePDBCB=1\r\nCreateZIPCB=1\r\nAddHeaderCB=1\r\nVornProcessCB=1\r\n");

    const auto folder = DeleteProjectRecord(p.folders, 2);
    ASSERT_TRUE(folder);
    EXPECT_EQ(*folder, p.dir.str() + "projects/Project2/");
    EXPECT_EQ(p.table(), kHeader + "1\tA\tProject1\t0\r\n");
    EXPECT_FALSE(DeleteProjectRecord(p.folders, 2));
    EXPECT_EQ(AddProjectRecord(p.folders, p.settings, "E"), 3);
}

TEST(Projects, AddingWithoutAProjectTableChangesNothing)
{
    ProgramFolder p;
    std::filesystem::remove(p.dir / "db" / "projects.tbl");
    EXPECT_THROW(AddProjectRecord(p.folders, p.settings, "A"), Error);
    EXPECT_FALSE(std::filesystem::exists(p.dir / "folioset.ini"));
    EXPECT_FALSE(std::filesystem::exists(p.dir / "projects"));
}

TEST(Projects, RenameAndCloseEditTheRow)
{
    ProgramFolder p;
    AddProjectRecord(p.folders, p.settings, "A");
    AddProjectRecord(p.folders, p.settings, "B");
    EXPECT_TRUE(RenameProjectRecord(p.folders, 2, "New\tname"));
    EXPECT_TRUE(ToggleProjectClosed(p.folders, 1));
    EXPECT_EQ(p.table(), kHeader + "1\tA\tProject1\t1\r\n2\tNew name\tProject2\t0\r\n");
    EXPECT_TRUE(ToggleProjectClosed(p.folders, 1));
    EXPECT_EQ(p.table(), kHeader + "1\tA\tProject1\t0\r\n2\tNew name\tProject2\t0\r\n");
    EXPECT_FALSE(RenameProjectRecord(p.folders, 7, "x"));
    EXPECT_FALSE(ToggleProjectClosed(p.folders, 7));
}

TEST(Projects, RemovingFilesKeepsSubFoldersAndTheFolderHoldingThem)
{
    TempDir dir;
    const auto folder = dir / "Project1";
    std::filesystem::create_directories(folder / "sub");
    writeFile(folder / "project.cfg", "x");
    writeFile(folder / ".hidden", "x");
    RemoveProjectFiles(folder.string() + "/");
    EXPECT_TRUE(std::filesystem::exists(folder / "sub"));
    EXPECT_FALSE(std::filesystem::exists(folder / "project.cfg"));
    EXPECT_FALSE(std::filesystem::exists(folder / ".hidden"));

    std::filesystem::remove(folder / "sub");
    writeFile(folder / "a.txt", "x");
    RemoveProjectFiles(folder.string() + "/");
    EXPECT_FALSE(std::filesystem::exists(folder));
    RemoveProjectFiles(folder.string() + "/"); // gone already: no complaint
}

TEST(Projects, ListFolderFilesListsPlainFilesOnly)
{
    TempDir dir;
    writeFile(dir / "a.txt", "");
    writeFile(dir / "b.doc", "");
    writeFile(dir / ".c", "");
    std::filesystem::create_directory(dir / "folder");
    auto names = ListFolderFiles(dir.str());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".c", "a.txt", "b.doc"}));
    EXPECT_TRUE(ListFolderFiles(dir.str() + "missing/").empty());
}

TEST(ReplacementRows, SavedUpToTheFirstEmptyExpressionAndLoadedBack)
{
    TempDir dir;
    const std::string file = (dir / "rbefore.tbl").string();
    EXPECT_FALSE(LoadReplacementRows(file));

    SaveReplacementRows(file, {{"a", "b"}, {"", "lost"}, {"c", "d"}});
    EXPECT_EQ(readFile(file), "expression\tvalue\r\na\tb\r\n");
    EXPECT_EQ(*LoadReplacementRows(file), (std::vector<ReplacementRow>{{"a", "b"}}));

    // An existing table keeps its header as written; an empty grid leaves it without rows.
    writeFile(file, "Expression\tValue\r\nx\ty\r\n");
    SaveReplacementRows(file, {{"", ""}});
    EXPECT_EQ(readFile(file), "Expression\tValue\r\n");
    EXPECT_TRUE(LoadReplacementRows(file)->empty());
}
