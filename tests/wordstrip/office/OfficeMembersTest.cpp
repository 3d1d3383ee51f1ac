// Word's members over the real office, called through the automation layer in this process,
// and the inputs a run must survive.

#include "OfficeFixture.h"
#include "automation/InvokeMember.h"
#include "automation/OfficeApplication.h"

#include <gmock/gmock.h>

#include <cstdlib>
#include <optional>

namespace wstest {
namespace {

using namespace wordstrip;
using ::testing::HasSubstr;
using ::testing::Not;

std::shared_ptr<DispatchObject> Get(DispatchObject& from, CallKind kind, std::string_view name, std::string_view types = {},
                                    std::initializer_list<MemberArg> args = {})
{
    Variant v;
    const HRESULT hr = InvokeMember(from, kind, name, &v, types, args);
    EXPECT_EQ(hr, S_OK) << name;
    return AsObject(v);
}

std::int32_t CountOf(DispatchObject& collection)
{
    Variant v;
    EXPECT_EQ(InvokeMember(collection, CallKind::PropertyGet, "Count", &v), S_OK);
    return std::get<std::int32_t>(v);
}

// Styles of the document whose BuiltIn is false, as positions in the collection.
std::vector<std::int32_t> UserStyles(DispatchObject& document)
{
    const auto styles = Get(document, CallKind::PropertyGet, "Styles");
    std::vector<std::int32_t> user;
    for (std::int32_t n = 1; n <= CountOf(*styles); ++n) {
        const auto style = Get(*styles, CallKind::Method, "Item", "i", {n});
        Variant builtIn;
        EXPECT_EQ(InvokeMember(*style, CallKind::PropertyGet, "BuiltIn", &builtIn), S_OK);
        if (!std::get<bool>(builtIn)) user.push_back(n);
    }
    return user;
}

class OfficeMembers : public OfficeRunTest {
protected:
    OfficeMembers()
    {
        // The adapter in this process puts its office profile here, where TearDown looks.
        if (const char* old = std::getenv("TMPDIR")) savedTmp_ = old;
        ::setenv("TMPDIR", Tmp().c_str(), 1);
        fs::create_directories(Work() / "out");
        testsupport::writeFile(Work() / "book.rtf", BookRtf());
    }
    ~OfficeMembers() override
    {
        if (savedTmp_) ::setenv("TMPDIR", savedTmp_->c_str(), 1);
        else ::unsetenv("TMPDIR");
    }
    std::string Path(const std::string& relative) const { return (Work() / relative).string(); }

    std::shared_ptr<DispatchObject> Open(DispatchObject& documents, const std::string& path, HRESULT expected = S_OK)
    {
        Variant v;
        EXPECT_EQ(InvokeMember(documents, CallKind::Method, "Open", &v, "sbbb", {std::string_view(path), false, true, false}),
                  expected)
            << path;
        return AsObject(v);
    }
    HRESULT SaveAs(DispatchObject& document, const std::string& path, std::int32_t format, std::u16string_view password = {})
    {
        const std::string target = path + ".";
        if (password.empty())
            return InvokeMember(document, CallKind::Method, "SaveAs", nullptr, "sibSb", {std::string_view(target), format, false, nullptr, false});
        return InvokeMember(document, CallKind::Method, "SaveAs", nullptr, "sibSb", {std::string_view(target), format, false, password, false});
    }

private:
    std::optional<std::string> savedTmp_;
};

TEST_F(OfficeMembers, CommentsStylesRangeSaveAndQuit)
{
    std::shared_ptr<DispatchObject> app;
    ASSERT_EQ(CreateOfficeApplication(app), S_OK);
    const auto documents = Get(*app, CallKind::PropertyGet, "Documents");
    auto document = Open(*documents, Path("book.rtf"));
    ASSERT_NE(document, nullptr);

    // Comments: counted, reached by position (1-based), deleted one by one.
    auto comments = Get(*document, CallKind::PropertyGet, "Comments");
    ASSERT_EQ(CountOf(*comments), 2);
    Variant none;
    EXPECT_EQ(InvokeMember(*comments, CallKind::Method, "Item", &none, "i", {0}), DISP_E_BADINDEX);
    EXPECT_EQ(InvokeMember(*comments, CallKind::Method, "Item", &none, "i", {3}), DISP_E_BADINDEX);
    EXPECT_EQ(InvokeMember(*Get(*comments, CallKind::Method, "Item", "i", {2}), CallKind::Method, "Delete", nullptr), S_OK);
    EXPECT_EQ(CountOf(*Get(*document, CallKind::PropertyGet, "Comments")), 1);

    // Styles: the two user styles are the only ones not built in; built-in ones stay.
    const std::vector<std::int32_t> user = UserStyles(*document);
    ASSERT_EQ(user.size(), 2u);
    auto styles = Get(*document, CallKind::PropertyGet, "Styles");
    const std::int32_t total = CountOf(*styles);
    const std::int32_t builtInAt = user[0] == 1 ? 2 : 1;
    EXPECT_EQ(InvokeMember(*Get(*styles, CallKind::Method, "Item", "i", {builtInAt}), CallKind::Method, "Delete", nullptr), E_INVALIDARG);
    for (auto it = user.rbegin(); it != user.rend(); ++it)
        EXPECT_EQ(InvokeMember(*Get(*styles, CallKind::Method, "Item", "i", {*it}), CallKind::Method, "Delete", nullptr), S_OK);
    EXPECT_TRUE(UserStyles(*document).empty());
    EXPECT_EQ(CountOf(*Get(*document, CallKind::PropertyGet, "Styles")), total - 2);

    // Range over the whole text: the default paragraph style, then no character style.
    const auto range = Get(*document, CallKind::Method, "Range");
    EXPECT_EQ(InvokeMember(*range, CallKind::PropertyPut, "Style", nullptr, "i", {-1}), S_OK);
    EXPECT_EQ(InvokeMember(*range, CallKind::PropertyPut, "Style", nullptr, "i", {-66}), S_OK);
    EXPECT_EQ(InvokeMember(*range, CallKind::PropertyPut, "Style", nullptr, "i", {-2}), E_INVALIDARG);

    // Saved as RTF: one comment left, no user style, every paragraph in the default style.
    ASSERT_EQ(SaveAs(*document, Path("out/cleaned.rtf"), 6), S_OK);
    EXPECT_FALSE(fs::exists(Path("out/cleaned.rtf.")));
    const std::string rtf = testsupport::readFile(Work() / "out" / "cleaned.rtf");
    EXPECT_THAT(rtf, Not(HasSubstr("Glava")));
    EXPECT_THAT(rtf, Not(HasSubstr("Vydelenie")));
    size_t annotations = 0;
    for (size_t at = rtf.find("\\*\\annotation"); at != std::string::npos; at = rtf.find("\\*\\annotation", at + 1)) ++annotations;
    EXPECT_EQ(annotations, 1u);
    EXPECT_EQ(SaveAs(*document, Path("out/bad"), 9), E_INVALIDARG);

    EXPECT_EQ(InvokeMember(*document, CallKind::Method, "Close", nullptr, "i", {0}), S_OK);
    EXPECT_EQ(InvokeMember(*app, CallKind::PropertyPut, "Visible", nullptr, "b", {true}), S_OK);
    EXPECT_EQ(InvokeMember(*app, CallKind::Method, "Quit", nullptr, "i", {0}), S_OK);
    EXPECT_TRUE(ProcessesMentioning(fs::weakly_canonical(Tmp()).string()).empty()) << "the office has ended";
    // Nothing starts it again.
    Open(*documents, Path("book.rtf"), RPC_E_DISCONNECTED);
}


TEST_F(OfficeMembers, BadInputsEachGetTheirWarningAndTheRunGoesOn)
{
    {
        std::shared_ptr<DispatchObject> app;
        ASSERT_EQ(CreateOfficeApplication(app), S_OK);
        const auto documents = Get(*app, CallKind::PropertyGet, "Documents");
        const auto document = Open(*documents, Path("book.rtf"));
        ASSERT_NE(document, nullptr);
        ASSERT_EQ(SaveAs(*document, Path("book.doc"), 0), S_OK);
        ASSERT_EQ(SaveAs(*document, Path("secret.doc"), 0, u"пароль"), S_OK);
        InvokeMember(*document, CallKind::Method, "Close", nullptr, "i", {0});
        // Opened here, the protected copy fails for its password.
        Open(*documents, Path("secret.doc"), OFFICE_E_PASSWORD);
        EXPECT_EQ(InvokeMember(*app, CallKind::Method, "Quit", nullptr, "i", {0}), S_OK);
    }
    const std::string doc = testsupport::readFile(Work() / "book.doc");
    testsupport::writeFile(Work() / "empty.doc", "");
    std::string noise;
    for (std::uint32_t x = 12345, n = 0; n < 3000; ++n) noise += static_cast<char>((x = x * 1103515245 + 12345) >> 24);
    testsupport::writeFile(Work() / "noise.doc", noise);
    testsupport::writeFile(Work() / "half.doc", doc.substr(0, doc.size() / 2));
    testsupport::writeFile(Work() / "text.doc", Cp1251("Простой текст\r\nв кодировке Windows\r\n"));
    testsupport::writeFile(Work() / "utf8.doc", "Текст в UTF-8\n");

    const RunResult r = RunOffice({"-o", "out", "empty.doc", "noise.doc", "secret.doc", "half.doc", "missing.doc",
                                   "text.doc", "utf8.doc", "book.doc"});
    EXPECT_EQ(r.exitCode, 1) << "an argument matched no file";
    const auto openFailed = [&](const std::string& name, const std::string& reason) {
        return "Warning: " + W(name) + ": Documents.Open method failed.\n" + reason + "\n";
    };
    EXPECT_EQ(r.err, openFailed("empty.doc", "[8004020a] The file is empty") +
                         openFailed("noise.doc", "[8004020b] The file is neither a document nor text") +
                         openFailed("secret.doc", "[80040203] The document is protected by a password") +
                         openFailed("half.doc", "[8004020b] The file is neither a document nor text") +
                         "Warning: missing.doc: File not found.\n[2] No such file or directory\n");
    EXPECT_EQ(r.out, W("text.doc") + " --> " + W("out/text.txt") + "\n" + W("utf8.doc") + " --> " + W("out/utf8.txt") +
                         "\n" + W("book.doc") + " --> " + W("out/book.txt") + "\n");
    // A text file named .doc is read as text: Windows Cyrillic or UTF-8, whichever it is.
    EXPECT_EQ(testsupport::readFile(Work() / "out" / "text.txt"), Cp1251("Простой текст\r\nв кодировке Windows\r\n"));
    EXPECT_EQ(testsupport::readFile(Work() / "out" / "utf8.txt"), Cp1251("Текст в UTF-8\r\n"));
    EXPECT_EQ(testsupport::readFile(Work() / "out" / "book.txt"), BookText());
    EXPECT_FALSE(fs::exists(Work() / "out" / "empty.txt"));
    EXPECT_FALSE(fs::exists(Work() / "out" / "secret.txt"));

    // Under -W the first warning ends the run, and the office with it.
    fs::create_directories(Work() / "out-w");
    const RunResult w = RunOffice({"-W", "-o", "out-w", "noise.doc", "book.doc"});
    EXPECT_EQ(w.exitCode, 3);
    EXPECT_EQ(w.err, openFailed("noise.doc", "[8004020b] The file is neither a document nor text"));
    EXPECT_TRUE(fs::is_empty(Work() / "out-w"));
    EXPECT_TRUE(ProcessesMentioning(fs::weakly_canonical(Tmp()).string()).empty());
}

} // namespace
} // namespace wstest
