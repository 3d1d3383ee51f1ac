// Path syntax, environment references, full paths, and the Cygwin mount table.

#include "CygwinPath.h"
#include "ResolvePath.h"
#include "SystemError.h"
#include "UserRegistry.h"
#include "Wildcard.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace wordstrip {
namespace {

TEST(ConvertPathSyntax, Forms)
{
    struct Case {
        std::string_view in, out;
    } cases[] = {
        {"a.doc", "a.doc"},
        {"dir\\sub\\a.doc", "dir/sub/a.doc"},
        {"dir//sub\\\\/a.doc", "dir/sub/a.doc"},
        {"/usr/a.doc", "/usr/a.doc"},
        {"//d/work/a.doc", "d:/work/a.doc"},
        {"//d", "/d"},
        {"///d/a", "/d/a"},
        {"\\\\server\\share\\a.doc", "//server/share/a.doc"},
        {"~/docs/*.doc", "%HOME%/docs/*.doc"},
        {"a~b", "a~b"},
        {"$TEMP/a.doc", "%TEMP%/a.doc"},
        {"${TEMP}/a.doc", "%TEMP%/a.doc"},
        {"x/${A B}y/z", "x/%A B%y/z"},
        {"cost$", "cost$"},
        {"a$/b", "a$/b"},
        {"${unclosed/a", "%{unclosed%/a"},
        {"Книга.doc", "Книга.doc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(ConvertPathSyntax(c.in), std::string(c.out));
    }
}

TEST(ConvertPathSyntax, EmptyOrTooLongGivesNothing)
{
    SetLastError(0);
    EXPECT_EQ(ConvertPathSyntax(""), std::nullopt);
    EXPECT_EQ(LastError(), EINVAL);
    // Never a cut path: one that does not fit fails as a whole.
    EXPECT_EQ(ConvertPathSyntax("abcd", 5), "abcd");
    EXPECT_EQ(ConvertPathSyntax("abcde", 5), std::nullopt);
    EXPECT_EQ(LastError(), ENAMETOOLONG);
}

TEST(ExpandEnvironmentReferences, DefinedUndefinedAndNotRescanned)
{
    ::setenv("WS_TEST_A", "alpha", 1);
    ::setenv("WS_TEST_P", "%WS_TEST_A%", 1);
    ::unsetenv("WS_TEST_NONE");
    EXPECT_EQ(ExpandEnvironmentReferences("%WS_TEST_A%/x"), "alpha/x");
    EXPECT_EQ(ExpandEnvironmentReferences("%WS_TEST_P%"), "%WS_TEST_A%");
    EXPECT_EQ(ExpandEnvironmentReferences("%WS_TEST_NONE%/x"), "%WS_TEST_NONE%/x");
    EXPECT_EQ(ExpandEnvironmentReferences("%WS_TEST_NONE%WS_TEST_A%"), "%WS_TEST_NONEalpha");
    EXPECT_EQ(ExpandEnvironmentReferences("100%"), "100%");
    EXPECT_EQ(ExpandEnvironmentReferences("%%"), "%%");
}

TEST(ResolvePath, FullPathsAndTheirLastComponent)
{
    const std::string cwd = std::filesystem::current_path().string();
    const std::string parent = std::filesystem::current_path().parent_path().string();
    struct Case {
        std::string in, out;
    } cases[] = {
        {"a.doc", cwd + "/a.doc"},
        {"./x/../*.doc", cwd + "/*.doc"},
        {"../a.doc", parent + "/a.doc"},
        {"/a/./b/../c.doc", "/a/c.doc"},
        {"/../../a", "/a"},
        {"c:/a/b.doc", "/a/b.doc"},
        {"C:\\a\\b.doc", "/a/b.doc"},
        {"c:b.doc", cwd + "/b.doc"},
        {"//d/a/b.doc", "/a/b.doc"},
        {"\\\\server\\share\\a", "//server/share/a"},
        {"/dir/", "/dir/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        const auto resolved = ResolvePath(c.in, false);
        ASSERT_TRUE(resolved.has_value());
        EXPECT_EQ(resolved->path, c.out);
        EXPECT_EQ(resolved->lastComponent, c.out.rfind('/') + 1);
    }
}

TEST(ResolvePath, FailuresSetTheLastError)
{
    EXPECT_EQ(ResolvePath("", false), std::nullopt);
    EXPECT_EQ(LastError(), EINVAL);
    EXPECT_EQ(ResolvePath("/" + std::string(kMaxPath, 'a'), false), std::nullopt);
    EXPECT_EQ(LastError(), ENAMETOOLONG);
    EXPECT_TRUE(ResolvePath("/" + std::string(kMaxPath - 2, 'a'), false).has_value());
    EXPECT_EQ(ResolvePath("/" + std::string(kMaxPath - 1, 'a'), false), std::nullopt);
    // Values of variables count toward the limit too.
    ::setenv("WS_TEST_LONG", std::string(kMaxPath, 'v').c_str(), 1);
    EXPECT_EQ(ResolvePath("/$WS_TEST_LONG", false), std::nullopt);
    EXPECT_EQ(LastError(), ENAMETOOLONG);
}

UserRegistry MountTable()
{
    return UserRegistry::Parse("[Software\\Cygnus Solutions\\Cygwin\\mounts v2]\r\n"
                               "cygdrive prefix=/cygdrive\r\n"
                               "[software\\cygnus solutions\\cygwin\\MOUNTS V2\\/usr/bin]\r\n"
                               "native=C:\\cygwin\\bin\r\n"
                               "[Software\\Cygnus Solutions\\Cygwin\\mounts v2\\/usr]\n"
                               "native=/srv/cygwin/usr/\n"
                               "[Software\\Cygnus Solutions\\Cygwin\\mounts v2\\/]\n"
                               "native=/srv/cygwin\n"
                               "[Software\\Cygnus Solutions\\Cygwin\\mounts v2\\/nonative]\n");
}

TEST(MapCygwinPath, DrivePrefixAndLongestMountPoint)
{
    const UserRegistry registry = MountTable();
    struct Case {
        std::string_view in;
        std::optional<std::string> out;
    } cases[] = {
        {"/cygdrive/c/doc/a.doc", "c:/doc/a.doc"},
        {"/cygdrive/c//doc//a.doc", "c:/doc/a.doc"},
        {"/cygdrive/c", std::nullopt},  // no "/" after the letter
        {"/cygdrivex/c/a", std::nullopt},
        {"/usr/bin/ls", "C:/cygwin/bin/ls"},
        {"/USR/BIN/ls", "C:/cygwin/bin/ls"}, // key names are not case-sensitive
        {"/usr/bin/", "C:/cygwin/bin/"},
        {"/usr/bin", "C:/cygwin/bin"},
        {"/usr/lib/x", "/srv/cygwin/usr/lib/x"},
        {"/usr//lib", "/srv/cygwin/usr/lib"},
        {"/home/a.doc", std::nullopt},  // the root mount is not consulted
        {"/nonative/a", std::nullopt},  // a mount point without its folder
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(MapCygwinPath(c.in, registry), c.out);
    }
    EXPECT_EQ(MapCygwinPath("/cygdrive/c/a", UserRegistry()), std::nullopt);
    // A prefix longer than the table allows is not used; the mount points still are.
    const UserRegistry longPrefix = UserRegistry::Parse("[Software\\Cygnus Solutions\\Cygwin\\mounts v2]\n"
                                                        "cygdrive prefix=/a-very-long-prefix\n"
                                                        "[Software\\Cygnus Solutions\\Cygwin\\mounts v2\\/a-very-long-prefix]\n"
                                                        "native=/mnt\n");
    EXPECT_EQ(MapCygwinPath("/a-very-long-prefix/c/x", longPrefix), "/mnt/c/x");
}

TEST(Wildcard, Matching)
{
    struct Case {
        std::string_view pattern, name;
        bool matches;
    } cases[] = {
        {"*.doc", "a.doc", true},       {"*.doc", ".hidden.doc", true}, {"*.doc", "a.docx", false},
        {"*.doc", "a.DOC", false},      {"?.doc", "ж.doc", true},       {"?.doc", "ab.doc", false},
        {"a*b*c", "aXbYbZc", true},     {"a*b*c", "aXbYc", true},        {"a*b*c", "acb", false},
        {"*", "", true},                {"", "", true},                  {"a.doc", "a.doc", true},
        {"**?", "x", true},             {"[ab].doc", "[ab].doc", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " / " + std::string(c.name));
        EXPECT_EQ(MatchWildcard(c.pattern, c.name), c.matches);
    }
}

} // namespace
} // namespace wordstrip
