#include "settings/Folders.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

using folio::Folders;
using folio::IniFile;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

TEST(Folders, WithoutASettingsFileEveryFolderHasItsDefaultName)
{
    TempDir dir;
    const Folders f = Folders::Compute(dir.str(), IniFile(dir / "folioset.ini"));
    EXPECT_EQ(f.program, dir.str());
    EXPECT_EQ(f.db, dir.str() + "db/");
    EXPECT_EQ(f.projects, dir.str() + "projects/");
    EXPECT_EQ(f.source, dir.str() + "source");
    EXPECT_EQ(f.jobs, dir.str() + "jobs/FTP/");
    EXPECT_EQ(f.templates, dir.str() + "templates/");
}

TEST(Folders, ConfiguredNamesAreAppendedAsTheyStand)
{
    TempDir dir;
    writeFile(dir / "folioset.ini", "[folders]\ndb=\nprojects=books/all\njobs=out\n");
    const Folders f = Folders::Compute(dir.str(), IniFile(dir / "folioset.ini"));
    EXPECT_EQ(f.db, dir.str() + "/"); // the program folder itself, with two separators
    EXPECT_EQ(f.projects, dir.str() + "books/all/");
    EXPECT_EQ(f.jobs, dir.str() + "out/FTP/");

    // Tables are found there all the same.
    writeFile(dir / "projects.tbl", "id_projects\tpj_name\tpj_folder\tpj_closed\r\n4\tBook\tProject4\t0\r\n");
    EXPECT_EQ(folio::GetProjectFolder(f, 4), dir.str() + "books/all/Project4/");
}

TEST(Folders, GetProjectFolder)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "db");
    const std::string table = "id_projects\tpj_name\tpj_folder\tpj_closed\r\n"
                              "1\tA\tProject1\t0\r\n3\tC\tProject3\t1\r\n";
    writeFile(dir / "db" / "projects.tbl", table);
    const Folders f = Folders::Compute(dir.str(), IniFile(dir / "none.ini"));
    EXPECT_EQ(folio::GetProjectFolder(f, 3), dir.str() + "projects/Project3/");
    EXPECT_EQ(folio::GetProjectFolder(f, 2), "");
    EXPECT_EQ(folio::GetProjectFolder(f, 0), "");
    EXPECT_EQ(folio::GetProjectFolder(f, -1), "");
    EXPECT_EQ(readFile(dir / "db" / "projects.tbl"), table);
}

TEST(Folders, SettingsFileSitsBesideTheProgram)
{
    EXPECT_EQ(folio::SettingsFileFor("/opt/folio/folioset"), "/opt/folio/folioset.ini");
    EXPECT_EQ(folio::SettingsFileFor("/opt/folio/folioset.exe"), "/opt/folio/folioset.ini");
}
