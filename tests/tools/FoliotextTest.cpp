// foliotext as a process: arguments and standard input in; output, messages, exit status out.
#include "TestFiles.h"

#include "text/Cp1251.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>
#include <vector>

namespace {

struct ProcessRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& arg)
{
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

ProcessRun Foliotext(const std::vector<std::string>& args, const std::string& stdinBytes = "")
{
    testsupport::TempDir dir;
    testsupport::writeFile(dir / "in", stdinBytes);
    std::string command = Quote(FOLIOTEXT_PATH);
    for (const auto& a : args) command += " " + Quote(a);
    command += " <" + Quote((dir / "in").string()) + " >" + Quote((dir / "out").string()) + " 2>" +
               Quote((dir / "err").string());
    const int raw = std::system(command.c_str());
    ProcessRun r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = testsupport::readFile(dir / "out");
    r.err = testsupport::readFile(dir / "err");
    return r;
}

std::string Cp(const char* utf8) { return folio::cp1251::FromUtf8(utf8); }

struct Case {
    const char* name;
    std::vector<std::string> args;
    std::string input;
    std::string expectedOut;
    std::string expectedErr;
};

// Long enough (over 34 characters) to be joined with the next line.
const std::string kAscii = "This line is long enough to be joined up.";

std::string Repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

const std::string kLong = "Первая строка, которая длиннее тридцати пяти знаков.";

TEST(Foliotext, OptionsReachTheEngine)
{
    const std::string heading = Cp("Заголовок\r\n\r\n") + Cp(kLong.c_str()) + Cp("\r\nВторая строка\r\n");
    const std::string indented = " a1\n a2\n a3\n a4\n a5\n a6\n";
    const Case cases[] = {
        {"lines end at CR LF, CR or LF; a final break adds none", {}, "a\r\nb\rc\nd\n",
         " a\r\n b\r\n c\r\n d\r\n", ""},
        {"empty input gives empty output", {}, "", "", ""},
        {"the engine joins and types", {}, Cp("Он ответил `да` и ушел, а она - \"нет\"\r\nи пере-\r\nшла."),
         Cp("   Он ответил «да» и ушел, а она — «нет» и перешла.\r\n"), ""},
        {"without after-empty-line", {}, heading,
         Cp("   Заголовок\r\n\r\n   ") + Cp(kLong.c_str()) + Cp(" Вторая строка\r\n"), ""},
        {"--after-empty-line", {"--after-empty-line"}, heading,
         Cp("   Заголовок\r\n\r\n   ") + Cp(kLong.c_str()) + Cp("\r\n   Вторая строка\r\n"), ""},
        {"--sentence-breaks", {"--sentence-breaks"}, heading,
         Cp("   Заголовок\r\n\r\n   ") + Cp(kLong.c_str()) + Cp("\r\n   Вторая строка\r\n"), ""},
        {"--recode-cp866", {"--recode-cp866"}, "\x8F\xE0\xA8\xA2\xA5\xE2", Cp("   Привет\r\n"), ""},
        {"--auto-recode on cp866", {"--auto-recode"}, "\x8F\xE0\xA8\xA2\xA5\xE2", Cp("   Привет\r\n"), ""},
        {"--auto-recode on cp1251", {"--auto-recode"}, Cp("Привет"), Cp("   Привет\r\n"), ""},
        {"--probe-indents with --sentence-breaks stops", {"--probe-indents", "--sentence-breaks", "--stats"},
         indented, "   a1\r\n   a2\r\n   a3\r\n   a4\r\n", "many-indents: yes\n"},
        {"--probe-indents alone does not stop", {"--probe-indents"}, indented,
         "   a1\r\n   a2\r\n   a3\r\n   a4\r\n   a5\r\n   a6\r\n", ""},
        {"--post-process", {"--post-process"}, Cp("Он ушел.-Куда? спросила она\n\n"),
         Cp("   Он ушел.\r\n   — Куда? спросила она\r\n\r\n"), ""},
        {"--mode auto reruns without sentence breaks", {"--mode", "auto", "--stats"}, Repeat(" " + kAscii + "\nB\n", 5),
         Repeat("   " + kAscii + " B\r\n", 5), "many-indents: yes\n"},
        {"--mode=on keeps sentence breaks", {"--mode=on"}, Repeat(" " + kAscii + "\nB\n", 2),
         Repeat("   " + kAscii + "\r\n B\r\n", 2), ""},
        {"--mode off", {"--mode", "off", "--stats"}, kAscii + "\nB\n", "   " + kAscii + " B\r\n",
         "many-indents: no\n"},
        {"--utf8 reads and writes UTF-8", {"--utf8"}, "«Ёлка» - да…", "   «Ёлка» — да...\r\n", ""},
        {"--detect cp1251", {"--detect"}, Cp("Привет, это обычный текст"), "cp1251\n", ""},
        {"--detect cp866", {"--detect"}, "\x8F\xE0\xA8\xA2\xA5\xE2, \xED\xE2\xAE \xAE\xA1\xEB\xE7\xAD\xEB\xA9",
         "cp866\n", ""},
        {"--translit", {"--translit", Cp("Юрий Ёж")}, "", "jurijev\n", ""},
        {"--translit with --utf8", {"--utf8", "--translit", "Щедрин"}, "", "shedrin\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ProcessRun r = Foliotext(c.args, c.input);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.expectedOut) << folio::cp1251::ToUtf8(r.out);
        EXPECT_EQ(r.err, c.expectedErr);
    }
}

TEST(Foliotext, UsageErrorsExitTwoWithOneLineAndTheHint)
{
    const std::vector<std::vector<std::string>> cases = {
        {"--bogus"}, {"-o"}, {"--mode", "sometimes"}, {"a.txt", "b.txt"},
        {"--mode", "on", "--sentence-breaks"}, {"--auto-recode", "--recode-cp866"},
        {"--utf8", "--detect"}, {"--translit"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.front());
        const ProcessRun r = Foliotext(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        const auto firstBreak = r.err.find('\n');
        ASSERT_NE(firstBreak, std::string::npos);
        EXPECT_EQ(r.err.rfind("foliotext: ", 0), 0u) << r.err;
        EXPECT_EQ(r.err.substr(firstBreak + 1), "Try 'foliotext --help' for more information.\n");
    }
    const ProcessRun help = Foliotext({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: foliotext [options] [FILE]\n", 0), 0u);
}

TEST(Foliotext, UnreadableInputNamesFileAndReasonAndKeepsTheOutput)
{
    testsupport::TempDir dir;
    const auto out = dir / "book.txt";
    testsupport::writeFile(out, "old book\r\n");
    const std::string missing = (dir / "missing.txt").string();
    const ProcessRun r = Foliotext({"-o", out.string(), missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "foliotext: cannot read '" + missing + "': No such file or directory\n");
    EXPECT_EQ(testsupport::readFile(out), "old book\r\n");

    const ProcessRun folder = Foliotext({dir.path().string()});
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find("Is a directory"), std::string::npos) << folder.err;
}

TEST(Foliotext, OutputFileIsReplacedWholeAndNothingElseIsLeft)
{
    testsupport::TempDir dir;
    const auto in = dir / "source.txt";
    const auto out = dir / "book.txt";
    testsupport::writeFile(in, Cp("Текст - раз\r\n"));
    testsupport::writeFile(out, std::string(5000, 'x'));
    const ProcessRun r = Foliotext({in.string(), "-o", out.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(testsupport::readFile(out), Cp("   Текст — раз\r\n"));
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 2u); // no temporary file stays behind

    const auto nowhere = dir / "no-such-folder" / "book.txt";
    const ProcessRun bad = Foliotext({in.string(), "-o", nowhere.string()});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err.rfind("foliotext: cannot write '" + nowhere.string() + "': ", 0), 0u) << bad.err;
    EXPECT_FALSE(std::filesystem::exists(nowhere));
}

} // namespace

TEST(Foliotext, ReplacementTablesBeforeAndAfterTheEngine)
{
    testsupport::TempDir dir;
    // Before: "ё" becomes "е" and a line break before a small letter joins the lines; "$1" in
    // a value stays as it is. After: the engine's typographic dash becomes "--".
    const std::string before = Cp("expression\tvalue\nё\tе\n\\r\\n(?=[а-я])\t \nX\t$1\n");
    const std::string after = "expression\tvalue\n\x97\t--\n";
    testsupport::writeFile(dir / "before.tbl", before);
    testsupport::writeFile(dir / "after.tbl", after);
    const std::string input = Cp("Шёл X\r\nдождь - сильный\r\n");

    const ProcessRun r = Foliotext({"--before", (dir / "before.tbl").string(), "--after",
                                    (dir / "after.tbl").string()},
                                   input);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, Cp("   Шел $1 дождь -- сильный\r\n"));
    // The tables are only read.
    EXPECT_EQ(testsupport::readFile(dir / "before.tbl"), before);
    EXPECT_EQ(testsupport::readFile(dir / "after.tbl"), after);
}

TEST(Foliotext, ABadExpressionEndsTheToolWithNoOutputFile)
{
    testsupport::TempDir dir;
    testsupport::writeFile(dir / "bad.tbl", "expression\tvalue\r\na\tb\r\n(unclosed\tx\r\n");
    for (const char* option : {"--before", "--after"}) {
        const ProcessRun r = Foliotext({option, (dir / "bad.tbl").string(), "-o", (dir / "out.txt").string()},
                                       "a line\r\n");
        EXPECT_EQ(r.status, 1) << option;
        EXPECT_NE(r.err.find("(unclosed"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("позиция"), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir / "out.txt")) << option;
    }
    const ProcessRun missing = Foliotext({"--before", (dir / "none.tbl").string()}, "x\r\n");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.tbl"), std::string::npos) << missing.err;
}
