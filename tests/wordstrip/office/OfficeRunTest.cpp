// Whole runs of wordstrip against the real office, on documents the tests make themselves.

#include "OfficeFixture.h"

#include <gmock/gmock.h>

#include <cctype>
#include <csignal>
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
