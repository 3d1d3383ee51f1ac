// Whole runs of wordstrip against the real office, on documents the tests make themselves.

#include "OfficeFixture.h"

#include <gmock/gmock.h>

#include <cctype>
#include <csignal>
#include <functional>
#include <future>

namespace wstest {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::string Read(const fs::path& path) { return testsupport::readFile(path); }

// The characters an RTF file writes as \uN escapes (the office writes every Cyrillic letter so),
// in order; whatever else is between them is dropped.
std::u16string RtfUnicode(const std::string& rtf)
{
    std::u16string out;
    for (size_t at = rtf.find("\\u"); at != std::string::npos; at = rtf.find("\\u", at + 2)) {
        size_t end = at + 2;
        while (end < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[end]))) ++end;
        if (end > at + 2) out += static_cast<char16_t>(std::stoi(rtf.substr(at + 2, end - at - 2)));
    }
    return out;
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

class OfficeRun : public OfficeRunTest {
protected:
    // book.rtf written by hand; book.docx made by the office; book.doc made by wordstrip.
    void MakeBooks()
    {
        fs::create_directories(Work() / "src");
        testsupport::writeFile(Work() / "src" / "book.rtf", BookRtf());
        ASSERT_NO_FATAL_FAILURE(OfficeConvert("docx", {Work() / "src" / "book.rtf"}, Work() / "src"));
        const RunResult r = RunOffice({"-q", "-f", "doc", "-o", "src", "src/book.rtf"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        ASSERT_TRUE(fs::exists(Work() / "src" / "book.doc"));
        ASSERT_TRUE(fs::exists(Work() / "src" / "book.docx"));
    }
};

TEST_F(OfficeRun, DocDocxAndRtfWithAndWithoutCleanUp)
{
    ASSERT_NO_FATAL_FAILURE(MakeBooks());
    const std::vector<std::string> kinds{"doc", "docx", "rtf"};
    fs::create_directories(Work() / "plain");
    fs::create_directories(Work() / "clean");
    fs::create_directories(Work() / "text");

    // Three documents in one run each: one office, and every output in its place.
    RunResult r = RunOffice({"-f", "rtf", "-E", "rtf", "-o", "plain", "src/book.doc", "src/book.docx", "src/book.rtf"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, W("src/book.doc") + " --> " + W("plain/book.doc.rtf") + "\n" + W("src/book.docx") + " --> " +
                         W("plain/book.docx.rtf") + "\n" + W("src/book.rtf") + " --> " + W("plain/book.rtf.rtf") + "\n");
    r = RunOffice({"-q", "-C", "-S", "-f", "rtf", "-E", "rtf", "-o", "clean", "src/book.doc", "src/book.docx", "src/book.rtf"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = RunOffice({"-q", "-C", "-S", "-E", "txt", "-o", "text", "src/book.doc", "src/book.docx", "src/book.rtf"});
    ASSERT_EQ(r.exitCode, 0) << r.err;

    // In debug mode every step runs and says so, none fails, and nothing is saved.
    fs::create_directories(Work() / "debug");
    r = RunOffice({"-D", "-C", "-S", "-o", "debug", "src/book.doc", "src/book.docx", "src/book.rtf"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_THAT(r.out, Not(HasSubstr("failed")));
    EXPECT_EQ(Count(r.out, "DEBUG: Initializing Word Application object.\n"), 1u);
    EXPECT_EQ(Count(r.out, "DEBUG: Comments.Count = 2\n"), 3u);
    EXPECT_EQ(Count(r.out, "DEBUG: Trying to reset text styles.\n"), 3u);
    EXPECT_EQ(Count(r.out, " --> "), 3u);
    EXPECT_TRUE(r.out.ends_with("DEBUG: Releasing Documents collection object.\nDEBUG: Word successfully closed.\n"
                                "DEBUG: Releasing Application object.\n"))
        << r.out;
    EXPECT_TRUE(fs::is_empty(Work() / "debug"));

    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind);
        const std::string plain = Read(Work() / "plain" / ("book." + kind + ".rtf"));
        const std::string clean = Read(Work() / "clean" / ("book." + kind + ".rtf"));
        // Comments and user styles came through the conversion, and -C and -S remove them.
        EXPECT_EQ(Count(plain, "\\*\\annotation"), 2u);
        EXPECT_THAT(plain, HasSubstr("Glava"));
        EXPECT_THAT(plain, HasSubstr("Vydelenie"));
        EXPECT_EQ(Count(clean, "\\*\\annotation"), 0u);
        EXPECT_THAT(clean, Not(HasSubstr("Glava")));
        EXPECT_THAT(clean, Not(HasSubstr("Vydelenie")));
        // The comment's text is gone from the document, the body text is all there.
        EXPECT_NE(RtfUnicode(plain).find(u"Замечаниередактора"), std::u16string::npos);
        EXPECT_EQ(RtfUnicode(clean).find(u"Замечание"), std::u16string::npos);
        EXPECT_NE(RtfUnicode(clean).find(u"Второйабзацёж"), std::u16string::npos);
        EXPECT_EQ(Read(Work() / "text" / ("book." + kind + ".txt")), BookText());
    }
}

TEST_F(OfficeRun, WorkbenchCallGivesCp1251TextBesideTheDocument)
{
    ASSERT_NO_FATAL_FAILURE(MakeBooks());
    const std::string dir = W("src");
    const RunResult r = RunOffice({"-o" + dir + "/", dir + "/book.doc"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, dir + "/book.doc --> " + dir + "/book.txt\n");
    EXPECT_EQ(Read(Work() / "src" / "book.txt"), BookText());
}

} // namespace
} // namespace wstest

namespace wstest {
namespace {

std::string Cp866(const std::u16string& text)
{
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) out += static_cast<char>(c);
        else if (c >= u'А' && c <= u'п') out += static_cast<char>(0x80 + (c - u'А'));
        else if (c >= u'р' && c <= u'я') out += static_cast<char>(0xE0 + (c - u'р'));
        else if (c == u'Ё') out += '\xF0';
        else if (c == u'ё') out += '\xF1';
    }
    return out;
}

std::string Utf16WithBom(const std::u16string& text)
{
    std::string out = "\xFF\xFE";
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

// The flags word of a Word 97 file information block (found by its magic and the version this
// office writes), or -1.
int WordFibFlags(const std::string& file)
{
    const size_t at = file.find(std::string("\xEC\xA5\x01\x01", 4));
    if (at == std::string::npos || at + 12 > file.size()) return -1;
    return static_cast<unsigned char>(file[at + 10]) | (static_cast<unsigned char>(file[at + 11]) << 8);
}

TEST_F(OfficeRun, EveryFormatGivesAFileOfItsKind)
{
    fs::create_directories(Work() / "out");
    testsupport::writeFile(Work() / "book.rtf", BookRtf());
    const std::u16string text = u"Глава первая\r\nПривет, мир!\r\nВторой абзац, ёж.\r\n";
    const std::string ole2("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    struct Case {
        int format;
        std::function<void(const std::string&)> check;
    } cases[] = {
        {0, [&](const std::string& f) { EXPECT_TRUE(f.starts_with(ole2)); EXPECT_GE(WordFibFlags(f), 0); EXPECT_EQ(WordFibFlags(f) & 1, 0); }},
        {1, [&](const std::string& f) { EXPECT_TRUE(f.starts_with(ole2)); EXPECT_GE(WordFibFlags(f), 0); EXPECT_EQ(WordFibFlags(f) & 1, 1) << "a template"; }},
        {2, [&](const std::string& f) { EXPECT_EQ(f, BookText()); }},
        {3, [&](const std::string& f) { EXPECT_EQ(f, BookText()); }},
        {4, [&](const std::string& f) { EXPECT_EQ(f, Cp866(text)); }},
        {5, [&](const std::string& f) { EXPECT_EQ(f, Cp866(text)); }},
        {6, [&](const std::string& f) { EXPECT_TRUE(f.starts_with("{\\rtf1")); EXPECT_NE(RtfUnicode(f).find(u"Второйабзацёж"), std::u16string::npos); }},
        {7, [&](const std::string& f) { EXPECT_EQ(f, Utf16WithBom(text)); }},
        {8, [&](const std::string& f) {
             EXPECT_THAT(f, HasSubstr("<html"));
             EXPECT_THAT(f, HasSubstr("charset=utf-8"));
             EXPECT_THAT(f, HasSubstr("абзац, ёж."));
         }},
    };
    // Three runs at a time, side by side: each has its own office and profile.
    std::vector<std::future<RunResult>> runs;
    for (const Case& c : cases) {
        const std::string n = std::to_string(c.format);
        runs.push_back(std::async(std::launch::async, [this, n] {
            return RunOffice({"-q", "-f", n, "-e", "f" + n, "-o", "out", "book.rtf"});
        }));
        if (runs.size() % 3 == 0)
            for (size_t i = runs.size() - 3; i < runs.size(); ++i) runs[i].wait();
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        const RunResult r = runs[static_cast<size_t>(c.format)].get();
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out + r.err, "");
        const fs::path output = Work() / "out" / ("book.f" + std::to_string(c.format));
        ASSERT_TRUE(fs::exists(output));
        c.check(Read(output));
    }
}

TEST_F(OfficeRun, HtmlKeepsItsPicturesInsideTheFile)
{
    testsupport::writeFile(Work() / "pic.rtf", PictureRtf());
    // Written to standard output through a temporary file: nothing of it stays behind.
    const RunResult r = RunOffice({"-s", "-f", "html", "pic.rtf"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("<img src=\"data:image/png;base64,"));
    EXPECT_TRUE(fs::is_empty(Tmp()));
}

} // namespace
} // namespace wstest

namespace wstest {
namespace {

// The number of the paragraph style in force where the text appears in an RTF file.
int RtfStyleBefore(const std::string& rtf, const std::string& text)
{
    const size_t at = rtf.find(text);
    if (at == std::string::npos) return -1;
    int style = -1;
    for (size_t s = rtf.rfind("\\s", at); s != std::string::npos && style < 0; s = s ? rtf.rfind("\\s", s - 1) : std::string::npos) {
        size_t end = s + 2;
        while (end < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[end]))) ++end;
        if (end > s + 2 && end < rtf.size() && rtf[end] == '\\') style = std::stoi(rtf.substr(s + 2, end - s - 2));
        if (s == 0) break;
    }
    return style;
}

TEST_F(OfficeRun, StyleResetReachesEveryParagraphTablesIncluded)
{
    // A table first (a cursor over the text cannot start in it), a paragraph, a table last;
    // every paragraph in the built-in style "heading 1".
    testsupport::writeFile(Work() / "tables.rtf",
                           "{\\rtf1\\ansi{\\stylesheet{\\s0 Normal;}{\\s1\\sbasedon0 \\b heading 1;}}\n"
                           "\\trowd\\cellx2000\\cellx4000 \\pard\\intbl\\s1 AAA\\cell \\pard\\intbl\\s1 BBB\\cell\\row\n"
                           "\\pard\\s1 CCC\\par\n"
                           "\\trowd\\cellx2000 \\pard\\intbl\\s1 DDD\\cell\\row\n}\n");
    fs::create_directories(Work() / "kept");
    fs::create_directories(Work() / "reset");
    ASSERT_EQ(RunOffice({"-q", "-f", "rtf", "-o", "kept", "tables.rtf"}).exitCode, 0);
    ASSERT_EQ(RunOffice({"-q", "-S", "-f", "rtf", "-o", "reset", "tables.rtf"}).exitCode, 0);
    const std::string kept = Read(Work() / "kept" / "tables.rtf");
    const std::string reset = Read(Work() / "reset" / "tables.rtf");
    for (const char* text : {"AAA", "BBB", "CCC", "DDD"}) {
        SCOPED_TRACE(text);
        EXPECT_GT(RtfStyleBefore(kept, text), 0);
        EXPECT_EQ(RtfStyleBefore(reset, text), 0);
    }
}

} // namespace
} // namespace wstest

namespace wstest {
namespace {

TEST_F(OfficeRun, WindowsCyrillicFileNamesAreOpenedAndSavedAsFound)
{
    // "книга.rtf" in a folder "папка", both named in cp1251: not UTF-8, as old archives have them.
    const std::string folder = Cp1251("папка");
    const std::string name = Cp1251("книга");
    fs::create_directories(Work() / folder);
    testsupport::writeFile(Work() / folder / (name + ".rtf"), BookRtf());
    const RunResult r = RunOffice({"-q", "-o", folder, folder + "/" + name + ".rtf"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Read(Work() / folder / (name + ".txt")), BookText());
    EXPECT_EQ(std::distance(fs::directory_iterator(Work() / folder), fs::directory_iterator()), 2) << "nothing else left";
}

} // namespace
} // namespace wstest
