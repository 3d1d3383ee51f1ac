// Whole runs: options, their parameters, conflicts, usage and version.

#include "RunFixture.h"

#include <gmock/gmock.h>

namespace wstest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class CommandLineRun : public WordstripRunTest {};

const std::string kShortUsage = "Usage: wordstrip [-cr] [[-o DIR|-O] [-e|-E EXT] [-k|-w]|-s]\n"
                                "                   [-f FORMAT] [-CS] [WqDvh] [--] file [..-P PROGID] [-.]\n";

TEST_F(CommandLineRun, NoArgumentsGiveTheShortUsage)
{
    const RunResult r = RunPlain({});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, kShortUsage);
}

TEST_F(CommandLineRun, HelpGivesTheLongUsageAndStops)
{
    for (const char* help : {"-h", "-?", "--help", "/?"}) {
        SCOPED_TRACE(help);
        const RunResult r = RunPlain({"-q", help, "-x", "a.doc"});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(r.out.starts_with("Usage:\n  wordstrip [-cr] [[-o DIR|-O] [-e|-E EXT] [-k|-w]|-s]\n"
                                      "              [-f FORMAT] [-CS] [-P PROGID] [-WqDvh] [--] file [...]\n\nOptions:\n"
                                      "  -c, --no-cygwin-path        Does not support Cygwin 1.1 mount volumes.\n"))
            << r.out;
        EXPECT_THAT(r.out, HasSubstr("  -O, --origdir               Creates output files in the same directories as\n"
                                     "                              input files.\n"));
        EXPECT_THAT(r.out, HasSubstr("  -h, -?, --help              Displays this help.\n"
                                     "  --                          Indicates the end of option switches.\n\n"
                                     "Format Specifiers for -f Option:\n  0, w, wdFormatDocument, document, doc\n"));
        EXPECT_TRUE(r.out.ends_with("  7, u, wdFormatUnicodeText, unicodetext, unicode,\n"
                                    "        wdFormatEncodedText, encodedtext\n"
                                    "  8, h, wdFormatHTML, html, htm\n\n\n"));
    }
}

TEST_F(CommandLineRun, VersionIsWrittenAndNothingElseIsDone)
{
    Doc("a.doc");
    const RunResult r = Run({"a.doc", "-v", "-x"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "WORDSTRIP - Word OLE Document Converter, Ver.1.5\n"
                     "Copyright (C) 2026 The folioset developers. Free to use, copy and change.\n");
    EXPECT_THAT(Record(), IsEmpty());
    EXPECT_EQ(RunPlain({"--version"}).out, r.out);
}

// Every error of the command line: its message, exit code 3, nothing converted.
TEST_F(CommandLineRun, OptionErrorsEndTheRunBeforeAnythingIsConverted)
{
    Doc("a.doc");
    Doc("file.doc");
    fs::create_directory(Work() / "out");
    fs::create_directory(Work() / "other");
    struct Case {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"-q"}, "Error: No file to be processed.\n"},
        {{"-x", "a.doc"}, "Error: -x: Invalid option 'x' specified.\n"},
        {{"-rx", "a.doc"}, "Error: -rx: Invalid option 'x' specified.\n"},
        {{"-", "a.doc"}, "Error: -: Invalid option '' specified.\n"},
        {{"/", "a.doc"}, "Error: /: Invalid option '' specified.\n"},
        {{"--form", "a.doc"}, "Error: --form: Invalid option '' specified.\n"},
        {{"--Quiet", "a.doc"}, "Error: --Quiet: Invalid option '' specified.\n"},
        {{"a.doc", "--format"}, "Error: --format: Option requires a parameter.\n"},
        {{"a.doc", "-o"}, "Error: -o: Option requires a parameter.\n"},
        {{"--outdir=", "a.doc"}, "Error: --outdir=: Option requires a parameter.\n"},
        {{"-e", "", "a.doc"}, "Error: -e: Option requires a parameter.\n"},
        {{"--quiet=yes", "a.doc"}, "Error: --quiet=yes: Option does not take a parameter.\n"},
        {{"-ro", "out", "a.doc"}, "Error: An unexpected error has occurred.\n"},
        {{"-f", "9", "a.doc"}, "Error: -f: \"9\" is not a valid parameter for this option.\n"},
        {{"-fx", "a.doc"}, "Error: -fx: \"x\" is not a valid parameter for this option.\n"},
        {{"--format=pdf", "a.doc"}, "Error: --format=pdf: \"pdf\" is not a valid parameter for this option.\n"},
        {{"-f", "t", "-f", "T", "a.doc"}, "Error: -f T: Option cannot be used twice.\n"},
        {{"-ftxt", "-fT", "a.doc"}, "Error: -fT: Option cannot be used twice.\n"},
        {{"-o", "out", "-s", "a.doc"}, "Error: -s: Option cannot be used with 'o'.\n"},
        {{"-s", "-o", "out", "a.doc"}, "Error: -o out: Option cannot be used with 's'.\n"},
        {{"-s", "--outdir=out", "a.doc"}, "Error: --outdir=out: Option cannot be used with 's'.\n"},
        {{"-O", "-o", "out", "a.doc"}, "Error: -o out: Option cannot be used with 'O'.\n"},
        {{"-oout", "-O", "a.doc"}, "Error: -O: Option cannot be used with 'o'.\n"},
        {{"-k", "-w", "a.doc"}, "Error: -w: Option cannot be used with 'k'.\n"},
        {{"-wk", "a.doc"}, "Error: -wk: Option cannot be used with 'w'.\n"},
        {{"-s", "-k", "a.doc"}, "Error: -k: Option cannot be used with 's'.\n"},
        {{"-e", "rtf", "-E", "rtf", "a.doc"}, "Error: -E rtf: Option cannot be used with 'e'.\n"},
        {{"-E", "rtf", "-e", "rtf", "a.doc"}, "Error: -e rtf: Option cannot be used with 'E'.\n"},
        {{"-E", "rtf", "-E", "txt", "a.doc"}, "Error: -E txt: Option cannot be used twice.\n"},
        {{"-Ertf", "-E", "RTF", "a.doc"}, "Error: -E RTF: Option cannot be used twice.\n"},
        // -s names the first of O, o, E, e, w, k that was given before it.
        {{"-w", "-E", "x", "-s", "a.doc"}, "Error: -s: Option cannot be used with 'E'.\n"},
        {{"-w", "-e", "x", "-s", "a.doc"}, "Error: -s: Option cannot be used with 'e'.\n"},
        {{"-k", "-s", "a.doc"}, "Error: -s: Option cannot be used with 'k'.\n"},
        {{"-O", "-w", "-s", "a.doc"}, "Error: -s: Option cannot be used with 'O'.\n"},
        {{"-s", "-E", "x", "a.doc"}, "Error: -E x: Option cannot be used with 's'.\n"},
        {{"-o", "out", "-o", "other", "a.doc"}, "Error: -o other: Option cannot be used twice.\n"},
        {{"-P", "recording.application", "--progid=Two.App", "a.doc"}, "Error: --progid=Two.App: Option cannot be used twice.\n"},
        {{"-o", "nowhere", "a.doc"},
         "Error: -o: \"nowhere\" is not a valid parameter for this option.\n[2] No such file or directory\n"},
        {{"-o", "file.doc", "a.doc"},
         "Error: -o: \"file.doc\" is not a valid parameter for this option.\n[20] Not a directory\n"},
        {{"-e", "a:b", "a.doc"}, "Error: -e: \"a:b\" is not a valid parameter for this option.\n[22] Invalid argument\n"},
        {{"-E", "a/b", "a.doc"}, "Error: -E: \"a/b\" is not a valid parameter for this option.\n[22] Invalid argument\n"},
        {{"-e", "." + std::string(39, 'x'), "a.doc"},
         "Error: -e: \"." + std::string(39, 'x') + "\" is not a valid parameter for this option.\n[36] File name too long\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const RunResult r = Run(c.args);
        EXPECT_EQ(r.exitCode, 3);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
        EXPECT_THAT(Record(), IsEmpty());
    }
}

// Forms that mean the same thing, and values given twice alike, are accepted.
TEST_F(CommandLineRun, EquivalentFormsAreAccepted)
{
    Doc("a.doc");
    fs::create_directory(Work() / "out");
    struct Case {
        std::vector<std::string> args;
        std::string output;
    } cases[] = {
        {{"-rq", "a.doc"}, "a.txt"},
        {{"-r", "-q", "a.doc"}, "a.txt"},
        {{"--recursive", "--quiet", "a.doc"}, "a.txt"},
        {{"/q", "a.doc"}, "a.txt"},
        {{"-q", "-E", ".rtf", "-E", "rtf", "a.doc"}, "a.doc.rtf"},
        {{"-q", "-e", ".rtf", "a.doc"}, "a.rtf"},
        {{"-q", "--change-extension=rtf", "a.doc"}, "a.rtf"},
        {{"-q", "-f", "T", "-e", "t3", "a.doc"}, "a.t3"},
        {{"-q", "-f", "HTML", "-f", "Html", "a.doc"}, "a.html"},
        {{"-q", "-f", "wdFormatEncodedText", "-f", "unicodeTEXT", "a.doc"}, "a.txt"},
        {{"-q", "-o", "out", "--outdir", "./out/", "a.doc"}, "out/a.txt"},
        {{"-q", "-oout", "a.doc"}, "out/a.txt"},
        {{"-q", "-P", "recording.APPLICATION", "a.doc"}, "a.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        fs::remove(RecordFile());
        const RunResult r = Run(c.args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_THAT(RecordOf({"Document.SaveAs"}), ElementsAre(HasSubstr("\"" + W(c.output) + ".\"")));
        fs::remove(Work() / c.output);
    }
}

TEST_F(CommandLineRun, FormatLookupChoosesTheIndexPassedToTheOffice)
{
    Doc("a.doc");
    struct Case {
        std::string format;
        int index;
    } cases[] = {
        {"0", 0}, {"8", 8}, {"w", 0}, {"l", 1}, {"t", 2}, {"T", 3}, {"d", 4}, {"D", 5}, {"r", 6}, {"u", 7}, {"h", 8},
        {"doc", 0}, {"DOT", 1}, {"Txt", 2}, {"richtext", 6}, {"unicode", 7}, {"encodedtext", 7}, {"htm", 8},
        {"wdFormatDocument", 0}, {"template", 1}, {"TEXT", 2}, {"textlinebreaks", 3}, {"wdformatdostext", 4},
        {"DOSTextLineBreaks", 5}, {"rtf", 6}, {"wdFormatUnicodeText", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        fs::remove(RecordFile());
        const RunResult r = Run({"-q", "-w", "-f", c.format, "a.doc"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_THAT(RecordOf({"Document.SaveAs"}), ElementsAre(HasSubstr(".\" " + std::to_string(c.index) + " false")));
    }
}

// "-or" makes the single letter r the output folder; -o given after a document still applies
// to it, as all options apply before any file.
TEST_F(CommandLineRun, OptionsApplyBeforeAnyFileWhereverTheyStand)
{
    Doc("a.doc");
    Doc("b.doc");
    fs::create_directory(Work() / "r");
    const RunResult r = Run({"a.doc", "-or", "b.doc"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fs::exists(Work() / "r/a.txt"));
    EXPECT_TRUE(fs::exists(Work() / "r/b.txt"));
}

// The debug dump shows the file arguments where the options have been moved in front of them.
TEST_F(CommandLineRun, DebugDumpShowsTheArrangedArgumentsAndTheSettings)
{
    fs::create_directory(Work() / "out");
    struct Case {
        std::vector<std::string> args;
        std::string dump;
    } cases[] = {
        {{"-D", "x.doc", "-o", "out", "y*.doc", "-E", ".rtf"},
         "DEBUG: 2 arguments to be processed.\n"
         "DEBUG:   argv[8] = x.doc\n"
         "DEBUG:   argv[9] = y*.doc\n"
         "DEBUG: Output format: 2 (wdFormatText)\n"
         "DEBUG: Output directory: " + W("out") + "/\n"
         "DEBUG: Output extension: .rtf (append)\n\n"},
        {{"-D", "-r", "-O", "-f", "u", "--", "-x.doc"},
         "DEBUG: 1 arguments to be processed recursively.\n"
         "DEBUG:   argv[9] = -x.doc\n"
         "DEBUG: Output format: 7 (wdFormatUnicodeText)\n"
         "DEBUG: Output directory: (input directory)\n"
         "DEBUG: Output extension: .txt\n\n"},
        {{"-D", "-s", "-f", "8", "x.doc"},
         "DEBUG: 1 arguments to be processed.\n"
         "DEBUG:   argv[7] = x.doc\n"
         "DEBUG: Output format: 8 (wdFormatHTML)\n"
         "DEBUG: Output directory: " + fs::weakly_canonical(Tmp()).string() + "/\n"
         "DEBUG: Output extension: .html\n\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const RunResult r = Run(c.args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.out.starts_with("DEBUG: Working in debug mode.\n\n" + c.dump)) << r.out;
    }
}

// Arguments that are files even though they look like options.
TEST_F(CommandLineRun, FileArgumentsAreNeverTakenForOptions)
{
    Doc("-q.doc");
    Doc("dir/home.doc");
    const RunResult dashed = Run({"--", "-q.doc"});
    EXPECT_EQ(dashed.exitCode, 0) << dashed.err;
    EXPECT_EQ(dashed.out, W("-q.doc") + " --> " + W("-q.txt") + "\n");

    // Absolute paths begin with "/": one whose first letter is an option letter ("h", "o",
    // "v"...) or is no option letter at all is still a file.
    const std::string absolute = W("dir/home.doc");
    const RunResult slashed = Run({absolute, "/usr/no/such.doc"});
    EXPECT_EQ(slashed.exitCode, 1);
    EXPECT_EQ(slashed.out, absolute + " --> " + W("home.txt") + "\n");
    EXPECT_EQ(slashed.err, "Warning: /usr/no/such.doc: File not found.\n[2] No such file or directory\n");

    // A "/" argument whose first letter cannot be applied is a file, silently.
    const RunResult unknown = Run({"/zz", "/o"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(unknown.err, "Warning: /zz: File not found.\n[2] No such file or directory\n"
                           "Warning: /o: File not found.\n[2] No such file or directory\n");
}

} // namespace
} // namespace wstest
