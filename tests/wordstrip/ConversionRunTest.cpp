// Whole runs: the conversion sequence as the automation server sees it, and what the user sees.

#include "RunFixture.h"

#include <gmock/gmock.h>

namespace wstest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class ConversionRun : public WordstripRunTest {};

TEST_F(ConversionRun, ThreeDocumentsShareOneStartAndOneQuit)
{
    for (const char* name : {"a.doc", "b.doc", "c.doc"}) Doc(name);
    fs::create_directory(Work() / "out");
    const RunResult r = Run({"-o", "out", "a.doc", "b.doc", "c.doc"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, W("a.doc") + " --> " + W("out/a.txt") + "\n" + W("b.doc") + " --> " + W("out/b.txt") + "\n" +
                         W("c.doc") + " --> " + W("out/c.txt") + "\n");
    std::vector<std::string> expected{"CreateInstance Recording.Application", "Application.Documents get -> 0x00000000"};
    for (const char* name : {"a", "b", "c"}) {
        expected.push_back("Documents.Open call \"" + W(std::string(name) + ".doc") + "\" false true false -> 0x00000000");
        expected.push_back("Document.SaveAs call \"" + W("out/" + std::string(name) + ".txt") + ".\" 2 false null false -> 0x00000000");
        expected.push_back("Document.Close call 0 -> 0x00000000");
    }
    expected.push_back("Application.Quit call 0 -> 0x00000000");
    expected.push_back("Application released");
    EXPECT_EQ(Record(), expected);
    EXPECT_EQ(testsupport::readFile(Work() / "out/b.txt"),
              "format 2\nbuiltin Normal\nbuiltin Default Paragraph Font\npara Normal|Default Paragraph Font|text\n");
}

TEST_F(ConversionRun, FormatIndexIsPassedToSaveAsAndChoosesTheExtension)
{
    Doc("a.doc");
    const RunResult r = Run({"-f", "wdFormatRTF", "a.doc"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_THAT(RecordOf({"Document.SaveAs"}),
                ElementsAre("Document.SaveAs call \"" + W("a.rtf") + ".\" 6 false null false -> 0x00000000"));
    EXPECT_TRUE(fs::exists(Work() / "a.rtf"));
}

TEST_F(ConversionRun, NoFileFoundNeverStartsTheServer)
{
    const RunResult r = Run({"missing.doc", "*.none"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Warning: missing.doc: File not found.\n[2] No such file or directory\n"
                     "Warning: *.none: File not found.\n[2] No such file or directory\n");
    EXPECT_THAT(Record(), IsEmpty());
}

TEST_F(ConversionRun, DebugModeOpensAndCleansButSavesNothing)
{
    Doc("a.doc", "style Mine\ncomment note\npara Mine|Default Paragraph Font|x\n");
    const RunResult r = Run({"-D", "-C", "-S", "a.doc"});
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_FALSE(fs::exists(Work() / "a.txt"));
    EXPECT_THAT(RecordOf({"Document.SaveAs"}), IsEmpty());
    EXPECT_THAT(RecordOf({"Documents.Open", "Document.Close", "Application.Quit"}).size(), 3u);
    EXPECT_EQ(r.out, "DEBUG: Working in debug mode.\n\n"
                     "DEBUG: 1 arguments to be processed.\n"
                     "DEBUG:   argv[6] = a.doc\n"
                     "DEBUG: Output format: 2 (wdFormatText)\n"
                     "DEBUG: Output directory: " + W("") + "\n"
                     "DEBUG: Output extension: .txt\n\n"
                     "DEBUG: Searching \"" + W("a.doc") + "\"...\n"
                     "DEBUG: Initializing Word Application object.\n"
                     "DEBUG: Trying to remove comments.\n"
                     "DEBUG: Comments.Count = 1\n"
                     "DEBUG: Trying to remove styles.\n"
                     "DEBUG: Styles.Count = 3\n"
                     "DEBUG: Trying to reset text styles.\n" +
                         W("a.doc") + " --> " + W("a.txt") + "\n"
                     "DEBUG: Releasing Documents collection object.\n"
                     "DEBUG: Word successfully closed.\n"
                     "DEBUG: Releasing Application object.\n");
}

// The clean-up steps remove exactly what they should: user styles (never built-in ones) and
// comments, and reset all text to the default styles.
TEST_F(ConversionRun, CleanUpStepsRemoveWhatTheyShould)
{
    const std::string doc = "builtin Heading 1\nstyle Quote\nstyle Accent\ncomment first\ncomment second\n"
                            "para Heading 1|Accent|Title\npara Quote|Default Paragraph Font|Body\n";
    const std::string keptHead = "builtin Normal\nbuiltin Default Paragraph Font\nbuiltin Heading 1\n";
    struct Case {
        std::vector<std::string> options;
        std::string saved;
    } cases[] = {
        {{}, keptHead + "style Quote\nstyle Accent\ncomment first\ncomment second\n"
                        "para Heading 1|Accent|Title\npara Quote|Default Paragraph Font|Body\n"},
        {{"-C"}, keptHead + "style Quote\nstyle Accent\npara Heading 1|Accent|Title\npara Quote|Default Paragraph Font|Body\n"},
        {{"-S"}, keptHead + "comment first\ncomment second\n"
                            "para Normal|Default Paragraph Font|Title\npara Normal|Default Paragraph Font|Body\n"},
        {{"-CS"}, keptHead + "para Normal|Default Paragraph Font|Title\npara Normal|Default Paragraph Font|Body\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.options));
        Doc("a.doc", doc);
        fs::remove(Work() / "a.txt");
        std::vector<std::string> args = c.options;
        args.push_back("a.doc");
        const RunResult r = Run(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(testsupport::readFile(Work() / "a.txt"), "format 2\n" + c.saved);
    }
}

TEST_F(ConversionRun, CleanUpFailuresShowOnlyInDebugMode)
{
    Doc("a.doc", "style Mine\ncomment one\nfail Comment.Delete 80004005\nfail Style.BuiltIn 80020005\n"
                 "fail Range.Style 80070057\n");
    const RunResult quiet = Run({"-CS", "a.doc"});
    EXPECT_EQ(quiet.exitCode, 0);
    EXPECT_EQ(quiet.err, "");
    EXPECT_THAT(quiet.out, Not(HasSubstr("DEBUG")));

    const RunResult debug = Run({"-D", "-CS", "a.doc"});
    EXPECT_THAT(debug.out, HasSubstr("DEBUG: Item(1)->Delete() failed with 0x80004005.\n"));
    EXPECT_THAT(debug.out, HasSubstr("DEBUG: Item(3).BuiltIn failed with 0x80020005.\n"));
    EXPECT_THAT(debug.out, HasSubstr("DEBUG: Setting Range.Style to wdStyleNormal failed with 0x80070057.\n"
                                     "DEBUG: Setting Range.Style to wdStyleDefaultParagraphFont failed with 0x80070057.\n"));
    // A style whose kind is unknown is kept: nothing is deleted.
    EXPECT_THAT(RecordOf({"Style.Delete"}), IsEmpty());
}

TEST_F(ConversionRun, CollectionFailuresStopOnlyTheirStep)
{
    Doc("a.doc", "fail Document.Comments 80004005\nfail Styles.Count 8002000e\nfail Document.Range 80004001\n");
    const RunResult r = Run({"-D", "-CS", "a.doc"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_THAT(r.out, HasSubstr("DEBUG: Failed to obtain Comments object (0x80004005).\n"));
    EXPECT_THAT(r.out, HasSubstr("DEBUG: Styles.Count failed with 0x8002000e.\n"));
    EXPECT_THAT(r.out, HasSubstr("DEBUG: Document.Range() failed with 0x80004001.\n"));
    EXPECT_THAT(r.out, HasSubstr(W("a.doc") + " --> " + W("a.txt")));
}

TEST_F(ConversionRun, FailingOpenOrSaveAsWarnsAndTheRunGoesOn)
{
    Doc("a.doc", "fail Documents.Open 80030002\n");
    Doc("b.doc", "fail Document.SaveAs 800a1066\n");
    Doc("c.doc");
    const RunResult r = Run({"a.doc", "b.doc", "c.doc"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "Warning: " + W("a.doc") + ": Documents.Open method failed.\n"
                     "[80030002] The file could not be found\n"
                     "Warning: Document.SaveAs method failed.\n"
                     "[800a1066] (Unknown error)\n");
    EXPECT_EQ(r.out, W("b.doc") + " --> " + W("b.txt") + "\n" + W("c.doc") + " --> " + W("c.txt") + "\n");
    // The document whose save failed is still closed; the last one is converted.
    EXPECT_THAT(RecordOf({"Document.", "Documents.Open"}),
                ElementsAre(HasSubstr("a.doc\" false true false -> 0x80030002"), HasSubstr("b.doc\""),
                            HasSubstr("b.txt.\" 2 false null false -> 0x800a1066"), "Document.Close call 0 -> 0x00000000",
                            HasSubstr("c.doc\""), HasSubstr("c.txt.\""), "Document.Close call 0 -> 0x00000000"));
    EXPECT_TRUE(fs::exists(Work() / "c.txt"));
}

TEST_F(ConversionRun, ExitOnWarningEndsAtTheFirstWarning)
{
    Doc("a.doc", "fail Documents.Open 80030002\n");
    Doc("b.doc");
    const RunResult r = Run({"-W", "a.doc", "b.doc"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, "Warning: " + W("a.doc") + ": Documents.Open method failed.\n[80030002] The file could not be found\n");
    EXPECT_THAT(RecordOf({"Documents.Open"}), ElementsAre(HasSubstr("a.doc")));
    EXPECT_THAT(RecordOf({"Application.Quit"}).size(), 1u);
    EXPECT_FALSE(fs::exists(Work() / "b.txt"));
}

TEST_F(ConversionRun, QuietSilencesWarningsAndProgressButNotErrors)
{
    Doc("a.doc");
    const RunResult warned = Run({"-q", "a.doc", "missing.doc"});
    EXPECT_EQ(warned.exitCode, 1);
    EXPECT_EQ(warned.out, "");
    EXPECT_EQ(warned.err, "");
    EXPECT_TRUE(fs::exists(Work() / "a.txt"));

    const RunResult exitOnWarning = Run({"-q", "-W", "missing.doc", "a.doc"});
    EXPECT_EQ(exitOnWarning.exitCode, 3);
    EXPECT_EQ(exitOnWarning.err, "Warning: missing.doc: File not found.\n[2] No such file or directory\n");

    const RunResult error = Run({"-q", "-f", "pdf", "a.doc"});
    EXPECT_EQ(error.exitCode, 3);
    EXPECT_EQ(error.err, "Error: -f: \"pdf\" is not a valid parameter for this option.\n");
}

TEST_F(ConversionRun, DebugModeSendsWarningsToStandardOutput)
{
    const RunResult r = Run({"-D", "missing.doc"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "");
    EXPECT_THAT(r.out, HasSubstr("Warning: missing.doc: File not found.\n[2] No such file or directory\n"));
}

TEST_F(ConversionRun, StdoutDeliversTheSavedBytesAndLeavesNoTemporaryFile)
{
    Doc("a.doc", "para Normal|Default Paragraph Font|first\n");
    Doc("b.doc", "para Normal|Default Paragraph Font|second\n");
    const RunResult r = Run({"-s", "a.doc", "b.doc"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string head = "format 2\nbuiltin Normal\nbuiltin Default Paragraph Font\n";
    EXPECT_EQ(r.out, head + "para Normal|Default Paragraph Font|first\n\n" + head +
                         "para Normal|Default Paragraph Font|second\n\n");
    // The office saved into a "doc..." file of the temporary folder.
    const auto saves = RecordOf({"Document.SaveAs"});
    ASSERT_EQ(saves.size(), 2u);
    EXPECT_THAT(saves[0], HasSubstr("\"" + fs::weakly_canonical(Tmp()).string() + "/doc"));
    EXPECT_TRUE(fs::is_empty(Tmp()));
}

TEST_F(ConversionRun, StdoutTemporaryFilesAreDeletedAfterEveryOutcome)
{
    Doc("html.doc");
    Doc("unopenable.doc", "fail Documents.Open 80030002\n");
    Doc("unsavable.doc", "fail Document.SaveAs 800a1066\n");
    struct Case {
        std::vector<std::string> args;
        int exitCode;
    } cases[] = {
        {{"-s", "-f", "html", "html.doc"}, 0}, // with the page's ".files" folder
        {{"-s", "unopenable.doc"}, 0},
        {{"-s", "unsavable.doc"}, 0},
        {{"-s", "-D", "html.doc"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const RunResult r = Run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        EXPECT_TRUE(fs::is_empty(Tmp())) << fs::directory_iterator(Tmp())->path();
    }
}

// A standard output that cannot take the bytes is reported, never taken for success, and
// does not end the run.
TEST_F(ConversionRun, StdoutThatCannotBeWrittenIsReported)
{
    Doc("a.doc");
    Doc("b.doc");
    struct Case {
        RunSetup::Stdout mode;
        std::string systemText;
    } cases[] = {
        {RunSetup::Stdout::Closed, "[9] Bad file descriptor\n"},
        {RunSetup::Stdout::ReaderGone, "[32] Broken pipe\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.systemText);
        fs::remove(RecordFile());
        RunSetup setup = Setup();
        setup.stdoutMode = c.mode;
        const RunResult r = RunWith(setup, {"-s", "a.doc", "b.doc"});
        EXPECT_EQ(r.exitCode, 0);
        const std::string warning = "Warning: Failed to write conversion result to stdout.\n" + c.systemText;
        EXPECT_EQ(r.err, warning + warning);
        EXPECT_EQ(RecordOf({"Document.SaveAs"}).size(), 2u);
        EXPECT_TRUE(fs::is_empty(Tmp()));
    }
}

TEST_F(ConversionRun, UnknownProgramIdentifierFailsTheClassLookup)
{
    Doc("a.doc");
    const RunResult r = RunPlain({"-P", "No.Such.Application", "a.doc"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.out, "\n");
    EXPECT_EQ(r.err, "Error: Failed to initialize the Word application.\n[800401f3] Invalid class string\n");
    EXPECT_FALSE(fs::exists(Work() / "a.txt"));
}

TEST_F(ConversionRun, OfficeThatCannotStartIsAnError)
{
    Doc("a.doc");
    const fs::path dead = Work() / "dead-office";
    fs::create_directories(dead);
    fs::create_symlink("/bin/false", dead / "oosplash");
    struct Case {
        std::string programDir;
        std::string err;
    } cases[] = {
        {(Work() / "no-office").string(), "Error: Failed to initialize the Word application.\n[80070002] No such file or directory\n"},
        {dead.string(), "Error: Failed to initialize the Word application.\n[80080005] Server execution failed\n"},
    };
    for (const Case& c : cases) {
        RunSetup setup = Setup();
        setup.env["WORDSTRIP_OFFICE_PROGRAM"] = c.programDir;
        const RunResult r = RunWordstrip({"-q", "a.doc"}, setup);
        EXPECT_EQ(r.exitCode, 3) << c.programDir;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
        EXPECT_TRUE(fs::is_empty(Tmp())) << "the private office profile is removed";
    }
}

TEST_F(ConversionRun, StartFailuresAreErrors)
{
    Doc("a.doc");
    struct Case {
        std::string failures;
        std::string err;
    } cases[] = {
        {"CreateInstance=80004005", "Error: Failed to initialize the Word application.\n[80004005] Unspecified error\n"},
        {"Application.Documents=80020003",
         "Error: Failed to obtain Documents collection object.\n[80020003] Member not found\n"},
    };
    for (const Case& c : cases) {
        RunSetup setup = Setup();
        setup.env["WORDSTRIP_RECORDING_FAIL"] = c.failures;
        const RunResult r = RunWith(setup, {"a.doc"});
        EXPECT_EQ(r.exitCode, 3);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "\n");
    }
}

TEST_F(ConversionRun, OfficeThatWillNotQuitIsMadeVisibleAndReported)
{
    Doc("a.doc");
    RunSetup setup = Setup();
    setup.env["WORDSTRIP_RECORDING_FAIL"] = "Application.Quit=80010108";
    const std::string warning =
        "Warning: Failed to terminate Word application. Use Task Manager to kill the process.\n[80010108] The object invoked has disconnected from its clients\n";

    const RunResult r = RunWith(setup, {"a.doc"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, warning);
    EXPECT_THAT(RecordOf({"Application.Quit", "Application.Visible"}),
                ElementsAre("Application.Quit call 0 -> 0x80010108", "Application.Visible put true -> 0x00000000"));

    // Under -W the warning ends the run, and the shutdown is not entered a second time.
    fs::remove(RecordFile());
    const RunResult w = RunWith(setup, {"-W", "-w", "a.doc"});
    EXPECT_EQ(w.exitCode, 3);
    EXPECT_EQ(w.err, warning);
    EXPECT_THAT(RecordOf({"Application.Quit"}).size(), 1u);

    // Debug mode does not call a failed quit a success.
    const RunResult d = RunWith(setup, {"-D", "a.doc"});
    EXPECT_THAT(d.out, Not(HasSubstr("successfully closed")));
    EXPECT_THAT(d.out, HasSubstr("DEBUG: Releasing Application object.\n"));
}

} // namespace
} // namespace wstest
