// Whole runs: how file arguments are resolved and searched.

#include "RunFixture.h"

#include <gmock/gmock.h>

namespace wstest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class InputsRun : public WordstripRunTest {
protected:
    std::vector<std::string> Opened() const { return NamesPassedTo("Documents.Open"); }
    std::vector<std::string> Ws(std::initializer_list<std::string> relative) const
    {
        std::vector<std::string> out;
        for (const auto& r : relative) out.push_back(W(r));
        return out;
    }
};

TEST_F(InputsRun, WildcardsMatchFilesOfTheLastComponentOnly)
{
    for (const char* name : {"a.doc", "b.doc", ".hidden.doc", "c.txt", "ж.doc", "ab.doc"}) Doc(std::string("in/") + name);
    fs::create_directories(Work() / "in/folder.doc");
    fs::create_directory(Work() / "out");
    struct Case {
        std::string argument;
        std::vector<std::string> opened;
    } cases[] = {
        {"in/*.doc", Ws({"in/.hidden.doc", "in/a.doc", "in/ab.doc", "in/b.doc", "in/ж.doc"})},
        {"in/?.doc", Ws({"in/a.doc", "in/b.doc", "in/ж.doc"})},
        {"in/a*", Ws({"in/a.doc", "in/ab.doc"})},
        {"in/*", Ws({"in/.hidden.doc", "in/a.doc", "in/ab.doc", "in/b.doc", "in/c.txt", "in/ж.doc"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument);
        fs::remove(RecordFile());
        const RunResult r = Run({"-q", "-w", "-o", "out", c.argument});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(Opened(), c.opened);
    }
}

TEST_F(InputsRun, ArgumentsThatFindNothing)
{
    Doc("in/a.doc");
    const RunResult r = Run({"in", "in/*.none", "nowhere/*.doc", "in/a.doc/"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Warning: in: File not found.\n[2] No such file or directory\n"
                     "Warning: in/*.none: File not found.\n[2] No such file or directory\n"
                     "Warning: nowhere/*.doc: File not found.\n[2] No such file or directory\n"
                     "Warning: in/a.doc/: File not found.\n[20] Not a directory\n");
    EXPECT_THAT(Record(), IsEmpty());
}

TEST_F(InputsRun, RecursionConvertsEachLevelBeforeItsSubFolders)
{
    for (const char* name : {"a.doc", "z.doc", "sub1/b.doc", "sub1/deeper/c.doc", "sub1/deeper/x.txt", "sub2/d.doc"})
        Doc(std::string("tree/") + name);
    fs::create_directory(Work() / "out");
    const RunResult r = Run({"-r", "-D", "-o", "out", "tree/*.doc"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Opened(), Ws({"tree/a.doc", "tree/z.doc", "tree/sub1/b.doc", "tree/sub1/deeper/c.doc", "tree/sub2/d.doc"}));
    EXPECT_THAT(r.out, HasSubstr("DEBUG: 1 arguments to be processed recursively.\n"));
    EXPECT_THAT(r.out, HasSubstr("DEBUG: Searching \"" + W("tree/sub1/deeper/*.doc") + "\"...\n"));

    // A name without wildcards is looked for in every sub-folder too.
    fs::remove(RecordFile());
    Doc("tree/sub2/b.doc");
    const RunResult named = Run({"-r", "-q", "-w", "-o", "out", "tree/b.doc"});
    EXPECT_EQ(named.exitCode, 0) << named.err;
    EXPECT_EQ(Opened(), Ws({"tree/sub1/b.doc", "tree/sub2/b.doc"}));
}

TEST_F(InputsRun, PathSyntaxFormsReachTheSameFile)
{
    Doc("docs/a.doc");
    const std::string docs = W("docs");
    RunSetup setup = Setup();
    setup.env["HOME"] = W("");
    setup.env["DOCS"] = docs;
    const std::string rootless = docs.substr(1); // the folder without its leading "/"
    for (const std::string& argument : {std::string("~/docs/a.doc"), std::string("$DOCS/a.doc"),
                                        std::string("${DOCS}/a.doc"), std::string("%DOCS%/a.doc"),
                                        std::string("docs\\a.doc"), std::string("docs///a.doc"),
                                        std::string("./x/../docs/./a.doc"), "//d/" + rootless + "/a.doc",
                                        "c:" + docs + "/a.doc", "C:\\" + rootless + "\\a.doc"}) {
        SCOPED_TRACE(argument);
        fs::remove(RecordFile());
        const RunResult r = RunWith(setup, {"-q", "-w", argument});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_THAT(Opened(), ElementsAre(W("docs/a.doc")));
    }
    const RunResult undefined = RunWith(setup, {"$NO_SUCH_VARIABLE/a.doc"});
    EXPECT_EQ(undefined.err, "Warning: $NO_SUCH_VARIABLE/a.doc: File not found.\n[2] No such file or directory\n");
}

TEST_F(InputsRun, CygwinMountTableMapsPathsUnlessTurnedOff)
{
    Doc("mounted/a.doc");
    Doc("plain/b.doc");
    fs::create_directories(Config() / "wordstrip");
    testsupport::writeFile(Config() / "wordstrip/registry",
                           "; the test's own registry\n"
                           "[Software\\Cygnus Solutions\\Cygwin\\mounts v2]\n"
                           "cygdrive prefix=/cygdrive\n"
                           "[Software\\Cygnus Solutions\\Cygwin\\mounts v2\\/docs/library]\n"
                           "native=" + W("mounted") + "\n");
    const std::string plainRootless = W("plain").substr(1);
    const std::string viaDrive = "/cygdrive/e/" + plainRootless + "/b.doc";

    const RunResult mapped = Run({"-q", "/docs/library/a.doc", "/docs/library//*.doc", viaDrive});
    EXPECT_EQ(mapped.exitCode, 0) << mapped.err;
    EXPECT_EQ(Opened(), Ws({"mounted/a.doc", "mounted/a.doc", "plain/b.doc"}));

    fs::remove(RecordFile());
    const RunResult unmapped = Run({"-q", "-W", "-c", viaDrive});
    EXPECT_EQ(unmapped.exitCode, 3);
    EXPECT_EQ(unmapped.err, "Warning: " + viaDrive + ": File not found.\n[2] No such file or directory\n");

    // A mount point that does not cover the path leaves it alone.
    const RunResult outside = Run({"-q", "-w", W("plain/b.doc")});
    EXPECT_EQ(outside.exitCode, 0) << outside.err;
}

TEST_F(InputsRun, AnArgumentPastThePathLimitIsAnError)
{
    Doc("a.doc");
    const RunResult r = Run({"a.doc", std::string(5000, 'x')});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, "Error: An unexpected error has occurred.\n[36] File name too long\n");
    EXPECT_THAT(RecordOf({"Application.Quit"}).size(), 1u); // the office started for a.doc is shut down
}

} // namespace
} // namespace wstest
