#include "io/Error.h"
#include "settings/AppSettings.h"
#include "settings/IniFile.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <thread>

using folio::IniFile;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

TEST(IniFile, ReadsWithoutRegardToCaseAndFallsBackToDefaults)
{
    TempDir dir;
    writeFile(dir / "a.ini",
              "; comment\n[Folders]\n DB = data \nempty=\n[\xCF\xF0\xEE\xE5\xEA\xF2]\n"
              "\xC8\xEC\xFF=\xC7\xED\xE0\xF7\xE5\xED\xE8\xE5\nquoted=\" padded \"\n");
    const IniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadString("folders", "db", "x"), "data");
    EXPECT_EQ(ini.ReadString("FOLDERS", "Db", "x"), "data");
    EXPECT_EQ(ini.ReadString("folders", "empty", "x"), ""); // present but empty: not the default
    EXPECT_EQ(ini.ReadString("folders", "missing", "x"), "x");
    EXPECT_EQ(ini.ReadString("nosection", "db", "x"), "x");
    // Cyrillic section and key names fold case too: [проект] имя
    EXPECT_EQ(ini.ReadString("\xEF\xF0\xEE\xE5\xEA\xF2", "\xE8\xEC\xFF", ""), "\xC7\xED\xE0\xF7\xE5\xED\xE8\xE5");
    EXPECT_EQ(ini.ReadString("\xCF\xF0\xEE\xE5\xEA\xF2", "quoted", ""), " padded ");

    const IniFile none(dir / "none.ini");
    EXPECT_EQ(none.ReadInteger("projects", "count", 0), 0);
    EXPECT_TRUE(none.ReadBool("options", "keepfiles", true));
    EXPECT_FALSE(std::filesystem::exists(dir / "none.ini"));
}

TEST(IniFile, IntegersAndBooleans)
{
    struct Case { const char* value; int asInt; bool asBoolDefTrue; bool asBoolDefFalse; };
    const Case cases[] = {
        {"0", 0, false, false},   {"1", 1, true, true},     {"2", 2, true, true},
        {"-3", -3, true, true},   {"yes", 99, true, false}, {"", 99, true, false},
        {"12abc", 99, true, false}, {"$10", 16, true, true}, {"0x1F", 31, true, true},
        {"99999999999", 99, true, false},
    };
    TempDir dir;
    for (const auto& c : cases) {
        writeFile(dir / "a.ini", std::string("[s]\nk=") + c.value + "\n");
        const IniFile ini(dir / "a.ini");
        EXPECT_EQ(ini.ReadInteger("s", "k", 99), c.asInt) << c.value;
        EXPECT_EQ(ini.ReadBool("s", "k", true), c.asBoolDefTrue) << c.value;
        EXPECT_EQ(ini.ReadBool("s", "k", false), c.asBoolDefFalse) << c.value;
    }
}

TEST(IniFile, WritesKeepLayoutAndOrder)
{
    TempDir dir;
    writeFile(dir / "a.ini", "; keep me\n[options]\nB=1\nA = 0\n\n[other]\nx=y\n");
    IniFile ini(dir / "a.ini");
    ini.WriteBool("OPTIONS", "a", true);       // existing key keeps its place and spelling
    ini.WriteString("options", "C", "new");    // new key at the end of its section
    ini.WriteInteger("projects", "count", 3);  // new section at the end of the file
    EXPECT_EQ(readFile(dir / "a.ini"),
              "; keep me\r\n[options]\r\nB=1\r\nA=1\r\nC=new\r\n\r\n[other]\r\nx=y\r\n"
              "[projects]\r\ncount=3\r\n");
    EXPECT_EQ(ini.ReadSection("options"), (std::vector<std::string>{"B", "A", "C"}));

    ini.DeleteKey("options", "b");
    ini.EraseSection("other");
    EXPECT_EQ(readFile(dir / "a.ini"), "; keep me\r\n[options]\r\nA=1\r\nC=new\r\n\r\n[projects]\r\ncount=3\r\n");
    EXPECT_TRUE(ini.SectionExists("Projects"));
    EXPECT_FALSE(ini.ValueExists("options", "B"));
}

TEST(IniFile, FirstWriteCreatesTheFileAndBadWritesAreRefused)
{
    TempDir dir;
    IniFile ini(dir / "project.cfg");
    ini.WriteBool("options", "CreatePDBCB", true);
    EXPECT_EQ(readFile(dir / "project.cfg"), "[options]\r\nCreatePDBCB=1\r\n");

    EXPECT_THROW(ini.WriteString("options", "k", "two\r\nlines"), folio::Error);
    EXPECT_THROW(IniFile(dir / "missing" / "x.ini").WriteString("a", "b", "c"), folio::Error);
    EXPECT_EQ(readFile(dir / "project.cfg"), "[options]\r\nCreatePDBCB=1\r\n");
}

TEST(IniFile, TwoThreadsWritingKeysOfOneFileLoseNone)
{
    TempDir dir;
    const auto file = dir / "project.cfg";
    auto writer = [&](const std::string& prefix) {
        IniFile ini(file);
        for (int i = 0; i < 150; ++i) ini.WriteInteger("options", prefix + std::to_string(i), i);
    };
    std::thread a(writer, "a"), b(writer, "b");
    a.join();
    b.join();
    const IniFile ini(file);
    EXPECT_EQ(ini.ReadSection("options").size(), 300u);
    for (int i = 0; i < 150; ++i) {
        EXPECT_EQ(ini.ReadInteger("options", "a" + std::to_string(i), -1), i);
        EXPECT_EQ(ini.ReadInteger("options", "b" + std::to_string(i), -1), i);
    }
}

TEST(AppSettings, DefaultsOfTheCatalogue)
{
    TempDir dir;
    const IniFile ini(dir / "folioset.ini");
    using namespace folio;
    EXPECT_EQ(Read(ini, appkeys::FoldersDb), "db");
    EXPECT_EQ(Read(ini, appkeys::FoldersProjects), "projects");
    EXPECT_EQ(Read(ini, appkeys::FoldersSource), "source");
    EXPECT_EQ(Read(ini, appkeys::FoldersJobs), "jobs");
    EXPECT_EQ(Read(ini, appkeys::FoldersTemplates), "templates");
    EXPECT_EQ(Read(ini, appkeys::ProjectsCount), 0);
    EXPECT_TRUE(Read(ini, appkeys::OptionsKeepFiles));
    EXPECT_EQ(Read(ini, appkeys::OptionsReadLines), 10);
    EXPECT_EQ(Read(ini, appkeys::OptionsNameTemplate), "%A - %N");
    EXPECT_EQ(Read(ini, projectkeys::AbzRadioGroup), 0);
}
