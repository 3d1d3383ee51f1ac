// Whole runs: how the output name of each input is made.

#include "RunFixture.h"

#include <gmock/gmock.h>

namespace wstest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class OutputNamesRun : public WordstripRunTest {
protected:
    std::vector<std::string> Saved() const { return NamesPassedTo("Document.SaveAs"); }
};

TEST_F(OutputNamesRun, FolderAndExtensionRules)
{
    Doc("sub/a.doc");
    Doc("v1.2/README");
    Doc("sub/a.tar.doc");
    fs::create_directory(Work() / "out");
    struct Case {
        std::vector<std::string> args;
        std::string output;
    } cases[] = {
        {{"sub/a.doc"}, "a.txt"},
        {{"-o", "out", "sub/a.doc"}, "out/a.txt"},
        {{"-o", "out", "-E", "txt", "sub/a.doc"}, "out/a.doc.txt"},
        {{"-O", "sub/a.doc"}, "sub/a.txt"},
        {{"-O", "-f", "rtf", "sub/a.tar.doc"}, "sub/a.tar.rtf"},
        {{"-e", "rtf", "v1.2/README"}, "README.rtf"},
        {{"-O", "-e", "rtf", "v1.2/README"}, "v1.2/README.rtf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        fs::remove(RecordFile());
        const RunResult r = Run(c.args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_THAT(Saved(), ElementsAre(W(c.output)));
        EXPECT_TRUE(fs::exists(Work() / c.output));
        fs::remove(Work() / c.output);
    }
}

TEST_F(OutputNamesRun, ExistingOutputsGetUniqueNamesOrAreOverwrittenOrSkipped)
{
    Doc("a.tar.doc");
    Doc("a.txt", "old");
    Doc("a.tar.txt", "old");
    Doc("a (1).txt", "old");

    const RunResult unique = Run({"a.txt", "a.tar.doc"});
    EXPECT_EQ(unique.exitCode, 0) << unique.err;
    EXPECT_THAT(Saved(), ElementsAre(W("a (2).txt"), W("a (1).tar.txt")));
    EXPECT_EQ(testsupport::readFile(Work() / "a.txt"), "old");

    fs::remove(RecordFile());
    const RunResult overwrite = Run({"-w", "a.tar.doc"});
    EXPECT_EQ(overwrite.exitCode, 0);
    EXPECT_THAT(Saved(), ElementsAre(W("a.tar.txt")));
    EXPECT_NE(testsupport::readFile(Work() / "a.tar.txt"), "old");

    fs::remove(RecordFile());
    const RunResult skip = Run({"-k", "a.txt", "a (1).txt"});
    EXPECT_EQ(skip.exitCode, 0);
    EXPECT_EQ(skip.err, "Warning: " + W("a.txt") + ": Output file \"" + W("a.txt") + "\" already exists. Skipped.\n"
                        "Warning: " + W("a (1).txt") + ": Output file \"" + W("a (1).txt") + "\" already exists. Skipped.\n");
    EXPECT_THAT(Record(), IsEmpty()); // nothing was left to convert: the office was never started

    const RunResult debug = Run({"-D", "a.txt"});
    EXPECT_THAT(debug.out, HasSubstr("DEBUG: Output file \"" + W("a.txt") + "\" exists, creating a unique name.\n"));
}

TEST_F(OutputNamesRun, HundredTakenNamesSkipTheFile)
{
    Doc("a.doc");
    Doc("b.doc");
    Doc("a.txt", "old");
    for (int n = 1; n <= 100; ++n) Doc("a (" + std::to_string(n) + ").txt", "old");
    const RunResult r = Run({"a.doc", "b.doc"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "Warning: Unable to generate unique filename for output.\n");
    EXPECT_THAT(Saved(), ElementsAre(W("b.txt")));
}

// Names at the system's path limit are refused with a warning, never cut or overrun.
TEST_F(OutputNamesRun, NamesPastThePathLimitAreSkipped)
{
    // A deep output folder, and input names that bring the output to chosen lengths.
    fs::path deep = fs::weakly_canonical(Work()) / "out";
    while (deep.string().size() < 3800) deep /= std::string(200, 'd');
    fs::create_directories(deep);
    const size_t folder = deep.string().size() + 1;
    const auto nameFor = [&](size_t outputLength) { return std::string(outputLength - folder - 4, 'n'); };
    const size_t limit = PATH_MAX; // counted with the terminating zero

    const std::string fits = nameFor(limit - 1);        // the longest output that fits
    const std::string tooLong = nameFor(limit);         // one more
    const std::string crowded = nameFor(limit - 5);     // exists, and " (1)" would not fit
    const std::string roomy = nameFor(limit - 6);       // exists, and " (1)" fits
    for (const auto& name : {fits, tooLong, crowded, roomy}) Doc(name + ".doc");
    testsupport::writeFile(deep / (crowded + ".txt"), "old");
    testsupport::writeFile(deep / (roomy + ".txt"), "old");

    const RunResult r = Run({"-o", deep.string(), fits + ".doc", tooLong + ".doc", crowded + ".doc", roomy + ".doc"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "Warning: " + W(tooLong + ".doc") + ": Output filename will be too long.\n"
                     "Warning: " + W(crowded + ".doc") + ": Output filename will be too long.\n");
    EXPECT_THAT(Saved(), ElementsAre((deep / (fits + ".txt")).string(), (deep / (roomy + " (1).txt")).string()));
    EXPECT_TRUE(fs::exists(deep / (fits + ".txt")));
}

// Inserted names are shown as they are: a "%" in a file name is not a format.
TEST_F(OutputNamesRun, NamesWithSpacesQuotesPercentAndNonAsciiLetters)
{
    const std::vector<std::string> names = {"two words.doc", "quote\"d 'name'.doc", "100%1 %n.doc", "Книга ёлка.doc",
                                            "caf\xE9 latin1.doc"};
    for (const auto& name : names) Doc(name);
    std::vector<std::string> args = names;
    args.push_back("missing %1%n%%.doc");
    const RunResult r = Run(args);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Warning: missing %1%n%%.doc: File not found.\n[2] No such file or directory\n");
    std::vector<std::string> expected;
    for (const auto& name : names) expected.push_back(W(name.substr(0, name.size() - 4) + ".txt"));
    EXPECT_EQ(Saved(), expected);
    for (const auto& output : expected) EXPECT_TRUE(fs::exists(output)) << output;
    EXPECT_THAT(r.out, HasSubstr(W("100%1 %n.doc") + " --> " + W("100%1 %n.txt") + "\n"));
}

} // namespace
} // namespace wstest
