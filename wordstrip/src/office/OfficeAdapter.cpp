#include "OfficeAdapter.h"

#include "OfficeSession.h"
#include "automation/MemberTable.h"
#include "automation/WideString.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XNameContainer.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/style/XStyle.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextField.hpp>
#include <com/sun/star/text/XTextFieldsSupplier.hpp>
#include <com/sun/star/text/XTextTable.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace wordstrip::office {
namespace {

using rtl::OUString;

using css::uno::Sequence;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using Session = std::shared_ptr<OfficeSession>;

constexpr std::int32_t wdStyleNormal = -1;
constexpr std::int32_t wdStyleDefaultParagraphFont = -66;

// The save formats by Word's format number: the office's export filter and its options.
struct SaveFilter {
    const char* filter;
    const char* options;
};
// 3 and 5 ("line breaks") have no counterpart: the office has no text export that breaks
// lines as laid out, so they give what 2 and 4 give.
constexpr std::array<SaveFilter, 9> kSaveFilters{{
    {"MS Word 97", nullptr},
    {"MS Word 97 Vorlage", nullptr},
    {"Text (encoded)", "MS_1251,CRLF"},
    {"Text (encoded)", "MS_1251,CRLF"},
    {"Text (encoded)", "IBM_866,CRLF"},
    {"Text (encoded)", "IBM_866,CRLF"},
    {"Rich Text Format", nullptr},
    {"Text (encoded)", "UNICODE,CRLF"},
    {"HTML (StarWriter)", "EmbedImages"},
}};

OUString Ou(std::string_view utf8) { return OUString(utf8.data(), static_cast<sal_Int32>(utf8.size()), RTL_TEXTENCODING_UTF8); }

css::beans::PropertyValue Property(const char* name, const css::uno::Any& value)
{
    css::beans::PropertyValue p;
    p.Name = OUString::createFromAscii(name);
    p.Value = value;
    return p;
}

// Argument checks shared by the members.
bool IsMethod(CallKind kind) { return kind == CallKind::Method; }
bool IsGet(CallKind kind) { return kind == CallKind::PropertyGet; }

template <class T>
const T* Arg(std::span<const Variant> args, size_t n)
{
    return n < args.size() ? std::get_if<T>(&args[n]) : nullptr;
}

// The base of every object that lives in one office: its calls fail once that office is gone.
class OfficeObject : public MemberTableObject {
protected:
    explicit OfficeObject(Session session) : session_(std::move(session)), generation_(session_->Generation()) {}
    bool Alive() const { return session_->Running() && session_->Generation() == generation_; }
    HRESULT Call(Operation operation, const std::function<HRESULT()>& body)
    {
        if (!Alive()) return OFFICE_E_ENDED;
        return session_->Call(operation, body);
    }
    Session session_;
    unsigned generation_;
};

// ---- Comments ----

class Comment : public OfficeObject {
public:
    Comment(Session session, Reference<css::text::XTextField> field) : OfficeObject(std::move(session)), field_(std::move(field))
    {
        AddMember("Delete", [this](CallKind kind, std::span<const Variant>, Variant*) -> HRESULT {
            if (!IsMethod(kind)) return DISP_E_MEMBERNOTFOUND;
            return Call(Operation::Other, [this] {
                field_->getAnchor()->getText()->removeTextContent(Reference<css::text::XTextContent>(field_, UNO_QUERY_THROW));
                return S_OK;
            });
        });
    }

private:
    Reference<css::text::XTextField> field_;
};

// A collection taken when it is asked for: the office enumerates comments in no fixed order
// and has no index access, and Word's callers delete from the last item down.
template <class Item>
class Snapshot : public OfficeObject {
public:
    explicit Snapshot(Session session) : OfficeObject(std::move(session))
    {
        AddMember("Count", [this](CallKind kind, std::span<const Variant>, Variant* result) -> HRESULT {
            if (!IsGet(kind)) return DISP_E_MEMBERNOTFOUND;
            if (result) *result = static_cast<std::int32_t>(items_.size());
            return S_OK;
        });
        AddMember("Item", [this](CallKind kind, std::span<const Variant> args, Variant* result) -> HRESULT {
            if (!IsMethod(kind) && !IsGet(kind)) return DISP_E_MEMBERNOTFOUND;
            const auto* n = Arg<std::int32_t>(args, 0);
            if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
            if (!n) return DISP_E_TYPEMISMATCH;
            if (*n < 1 || static_cast<size_t>(*n) > items_.size()) return DISP_E_BADINDEX;
            if (result) *result = std::shared_ptr<DispatchObject>(items_[static_cast<size_t>(*n - 1)]);
            return S_OK;
        });
    }
    std::vector<std::shared_ptr<Item>> items_;
};

// ---- Styles ----

class Style : public OfficeObject {
public:
    Style(Session session, Reference<css::container::XNameContainer> family, OUString name, bool builtIn)
        : OfficeObject(std::move(session)), family_(std::move(family)), name_(std::move(name)), builtIn_(builtIn)
    {
        AddMember("BuiltIn", [this](CallKind kind, std::span<const Variant>, Variant* result) -> HRESULT {
            if (!IsGet(kind)) return DISP_E_MEMBERNOTFOUND;
            if (result) *result = builtIn_;
            return S_OK;
        });
        AddMember("Delete", [this](CallKind kind, std::span<const Variant>, Variant*) -> HRESULT {
            if (!IsMethod(kind)) return DISP_E_MEMBERNOTFOUND;
            if (builtIn_) return E_INVALIDARG; // the office keeps its own styles
            return Call(Operation::Other, [this] {
                family_->removeByName(name_);
                return S_OK;
            });
        });
    }

private:
    Reference<css::container::XNameContainer> family_;
    OUString name_; // read up front: the style object is dead once removed
    bool builtIn_;
};

// Word's styles are paragraph and character styles. The office also lists list definitions
// (WW8Num1...), table cell formats (all claiming to be user-defined) and character styles it
// makes for list labels on import ("ListLabel 1"...): none of these is a Word style.
bool IsImportArtefact(const OUString& family, const OUString& name)
{
    return family == "CharacterStyles" && name.startsWith("ListLabel ");
}

// ---- Range ----

// Sets a property on all of a text. A cursor from the start to the end of the text reaches the
// paragraphs of every table in between, but it cannot start inside a table: tables the text
// begins with are done cell by cell first.
void SetOnWholeText(const Reference<css::text::XText>& text, const OUString& name, const css::uno::Any& value)
{
    const Reference<css::container::XEnumeration> parts =
        Reference<css::container::XEnumerationAccess>(text, UNO_QUERY_THROW)->createEnumeration();
    while (parts->hasMoreElements()) {
        const Reference<css::text::XTextTable> table(parts->nextElement(), UNO_QUERY);
        if (!table.is()) break;
        const Sequence<OUString> cells = table->getCellNames();
        for (const OUString& cell : cells)
            SetOnWholeText(Reference<css::text::XText>(table->getCellByName(cell), UNO_QUERY_THROW), name, value);
    }
    const Reference<css::text::XTextCursor> cursor = text->createTextCursor();
    cursor->gotoStart(false);
    cursor->gotoEnd(true);
    Reference<css::beans::XPropertySet>(cursor, UNO_QUERY_THROW)->setPropertyValue(name, value);
}

class Range : public OfficeObject {
public:
    Range(Session session, Reference<css::text::XText> text) : OfficeObject(std::move(session)), text_(std::move(text))
    {
        AddMember("Style", [this](CallKind kind, std::span<const Variant> args, Variant*) -> HRESULT {
            if (kind != CallKind::PropertyPut) return DISP_E_MEMBERNOTFOUND;
            const auto* style = Arg<std::int32_t>(args, 0);
            if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
            if (!style) return DISP_E_TYPEMISMATCH;
            // "Standard" is the programmatic name of both the default paragraph style and of
            // "No Character Style".
            const char* property = *style == wdStyleNormal                ? "ParaStyleName"
                                   : *style == wdStyleDefaultParagraphFont ? "CharStyleName"
                                                                            : nullptr;
            if (!property) return E_INVALIDARG;
            return Call(Operation::Other, [this, property] {
                // The main text, table cells included, as Word's Range() covers.
                SetOnWholeText(text_, OUString::createFromAscii(property), css::uno::Any(OUString("Standard")));
                return S_OK;
            });
        });
    }

private:
    Reference<css::text::XText> text_;
};

// ---- Document ----

// The office's temporary files in a folder ("lu" letters and digits ".tmp") and its lock files
// (".~lock." name "#", made while it writes).
std::vector<std::string> OfficeScratchFiles(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if ((name.size() > 6 && name.starts_with("lu") && name.ends_with(".tmp") &&
             std::all_of(name.begin() + 2, name.end() - 4, [](unsigned char c) { return std::isalnum(c); })) ||
            (name.starts_with(".~lock.") && name.ends_with("#")))
            names.push_back(name);
    }
    return names;
}

class Document : public OfficeObject {
public:
    Document(Session session, Reference<css::lang::XComponent> model) : OfficeObject(std::move(session)), model_(std::move(model))
    {
        AddMember("Comments", [this](CallKind kind, std::span<const Variant>, Variant* result) {
            return IsGet(kind) ? Comments(result) : DISP_E_MEMBERNOTFOUND;
        });
        AddMember("Styles", [this](CallKind kind, std::span<const Variant>, Variant* result) {
            return IsGet(kind) ? Styles(result) : DISP_E_MEMBERNOTFOUND;
        });
        AddMember("Range", [this](CallKind kind, std::span<const Variant>, Variant* result) -> HRESULT {
            if (!IsMethod(kind) && !IsGet(kind)) return DISP_E_MEMBERNOTFOUND;
            Reference<css::text::XText> text;
            const HRESULT hr = Call(Operation::Other, [&] {
                text = Reference<css::text::XTextDocument>(model_, UNO_QUERY_THROW)->getText();
                return S_OK;
            });
            if (Succeeded(hr) && result) *result = std::shared_ptr<DispatchObject>(std::make_shared<Range>(session_, text));
            return hr;
        });
        AddMember("SaveAs", [this](CallKind kind, std::span<const Variant> args, Variant*) {
            return IsMethod(kind) ? SaveAs(args) : DISP_E_MEMBERNOTFOUND;
        });
        AddMember("Close", [this](CallKind kind, std::span<const Variant>, Variant*) -> HRESULT {
            if (!IsMethod(kind)) return DISP_E_MEMBERNOTFOUND;
            Close();
            return S_OK;
        });
    }
    ~Document() override { Close(); }

private:
    HRESULT Comments(Variant* result)
    {
        auto comments = std::make_shared<Snapshot<Comment>>(session_);
        const HRESULT hr = Call(Operation::Other, [&] {
            const Reference<css::container::XEnumerationAccess> fields =
                Reference<css::text::XTextFieldsSupplier>(model_, UNO_QUERY_THROW)->getTextFields();
            const Reference<css::container::XEnumeration> e = fields->createEnumeration();
            while (e->hasMoreElements()) {
                Reference<css::text::XTextField> field(e->nextElement(), UNO_QUERY);
                Reference<css::lang::XServiceInfo> info(field, UNO_QUERY);
                if (info.is() && info->supportsService(OUString("com.sun.star.text.textfield.Annotation")))
                    comments->items_.push_back(std::make_shared<Comment>(session_, field));
            }
            return S_OK;
        });
        if (Succeeded(hr) && result) *result = std::shared_ptr<DispatchObject>(comments);
        return hr;
    }

    HRESULT Styles(Variant* result)
    {
        auto styles = std::make_shared<Snapshot<Style>>(session_);
        const HRESULT hr = Call(Operation::Other, [&] {
            const Reference<css::container::XNameAccess> families =
                Reference<css::style::XStyleFamiliesSupplier>(model_, UNO_QUERY_THROW)->getStyleFamilies();
            for (const OUString& familyName : {OUString("ParagraphStyles"), OUString("CharacterStyles")}) {
                Reference<css::container::XNameContainer> family(families->getByName(familyName), UNO_QUERY_THROW);
                const Sequence<OUString> names = family->getElementNames();
                for (const OUString& name : names) {
                    if (IsImportArtefact(familyName, name)) continue;
                    Reference<css::style::XStyle> style(family->getByName(name), UNO_QUERY_THROW);
                    styles->items_.push_back(std::make_shared<Style>(session_, family, name, !style->isUserDefined()));
                }
            }
            return S_OK;
        });
        if (Succeeded(hr) && result) *result = std::shared_ptr<DispatchObject>(styles);
        return hr;
    }

    HRESULT SaveAs(std::span<const Variant> args)
    {
        if (args.empty() || args.size() > 5) return DISP_E_BADPARAMCOUNT;
        const auto* name = Arg<WideText>(args, 0);
        if (!name || !name->text) return DISP_E_TYPEMISMATCH;
        std::int32_t format = 0;
        if (args.size() > 1) {
            const auto* f = Arg<std::int32_t>(args, 1);
            if (!f) return DISP_E_TYPEMISMATCH;
            format = *f;
        }
        if (format < 0 || static_cast<size_t>(format) >= kSaveFilters.size()) return E_INVALIDARG;
        std::u16string password;
        if (args.size() > 3) {
            const auto* p = Arg<WideText>(args, 3);
            if (!p) return DISP_E_TYPEMISMATCH;
            if (p->text) password = *p->text;
        }
        std::string path = NarrowString(*name->text);
        // A closing "." means "no extension of your own"; the office would keep it in the name.
        if (path.ends_with('.')) path.pop_back();
        if (path.empty()) return E_INVALIDARG;
        const SaveFilter& target = kSaveFilters[static_cast<size_t>(format)];
        std::error_code ec;
        const bool existed = std::filesystem::exists(path, ec);
        const OfficeSession::SaveTarget where = session_->WritablePath(path);
        const std::filesystem::path folder = std::filesystem::path(path).parent_path();
        const std::vector<std::string> scratchBefore = OfficeScratchFiles(folder);
        HRESULT hr = Call(Operation::Write, [&] {
            std::vector<css::beans::PropertyValue> props{
                Property("FilterName", css::uno::Any(OUString::createFromAscii(target.filter))),
                Property("Overwrite", css::uno::Any(true)),
            };
            if (target.options) props.push_back(Property("FilterOptions", css::uno::Any(OUString::createFromAscii(target.options))));
            if (!password.empty())
                props.push_back(Property("Password", css::uno::Any(OUString(reinterpret_cast<const sal_Unicode*>(password.data()), static_cast<sal_Int32>(password.size())))));
            // storeToURL writes a copy and leaves the document where it was (no lock file in the
            // output folder, unlike storeAsURL).
            Reference<css::frame::XStorable>(model_, UNO_QUERY_THROW)
                ->storeToURL(Ou(FileUrl(where.officePath)),
                             Sequence<css::beans::PropertyValue>(props.data(), static_cast<sal_Int32>(props.size())));
            return S_OK;
        });
        if (!where.finalPath.empty()) {
            // Written under a UTF-8 name beside the target: now under its own name.
            if (Succeeded(hr) && ::rename(where.finalPath.c_str(), path.c_str()) != 0) hr = HresultFromErrno(errno);
            std::filesystem::remove(where.finalPath, ec);
        }
        // A save that failed half-way (the office hung or died while writing) must not leave a
        // file that looks like a result.
        if (Failed(hr) && !existed) std::filesystem::remove(path, ec);
        if (Failed(hr)) {
            // The office writes into a temporary file beside the target, locked, and renames it
            // at the end; an office killed on the way leaves both behind.
            for (const std::string& name : OfficeScratchFiles(folder))
                if (std::find(scratchBefore.begin(), scratchBefore.end(), name) == scratchBefore.end())
                    std::filesystem::remove(folder / name, ec);
        }
        return hr;
    }

    void Close()
    {
        if (!model_.is()) return;
        if (Alive()) {
            Call(Operation::Other, [this] {
                Reference<css::util::XCloseable> closeable(model_, UNO_QUERY);
                if (closeable.is())
                    closeable->close(true);
                else
                    model_->dispose();
                return S_OK;
            });
        }
        model_.clear();
    }

    Reference<css::lang::XComponent> model_;
};

// ---- Documents and the application ----

class Documents : public MemberTableObject {
public:
    explicit Documents(Session session) : session_(std::move(session))
    {
        AddMember("Open", [this](CallKind kind, std::span<const Variant> args, Variant* result) -> HRESULT {
            if (!IsMethod(kind)) return DISP_E_MEMBERNOTFOUND;
            if (args.empty()) return DISP_E_BADPARAMCOUNT;
            const auto* name = Arg<WideText>(args, 0);
            if (!name || !name->text) return DISP_E_TYPEMISMATCH;
            // Word's ReadOnly is the third argument; ConfirmConversions (second) and
            // AddToRecentFiles (fourth) have nothing to do here: no prompts, no recent list.
            const auto* readOnly = Arg<bool>(args, 2);
            Reference<css::lang::XComponent> model;
            const HRESULT hr = session_->Load(NarrowString(*name->text), readOnly ? *readOnly : false, model);
            if (Succeeded(hr) && result) *result = std::shared_ptr<DispatchObject>(std::make_shared<Document>(session_, model));
            return hr;
        });
    }

private:
    Session session_;
};

class Application : public MemberTableObject {
public:
    explicit Application(Session session) : session_(std::move(session))
    {
        AddMember("Documents", [this](CallKind kind, std::span<const Variant>, Variant* result) -> HRESULT {
            if (!IsGet(kind)) return DISP_E_MEMBERNOTFOUND;
            if (result) *result = std::shared_ptr<DispatchObject>(std::make_shared<Documents>(session_));
            return S_OK;
        });
        AddMember("Quit", [this](CallKind kind, std::span<const Variant>, Variant*) -> HRESULT {
            if (!IsMethod(kind)) return DISP_E_MEMBERNOTFOUND;
            // Unsaved changes are dropped whatever the argument: documents are only ever
            // opened read-only. An office that does not quit is killed, so this cannot fail.
            session_->Quit();
            return S_OK;
        });
        AddMember("Visible", [this](CallKind kind, std::span<const Variant>, Variant* result) -> HRESULT {
            // The office runs without any window: there is nothing to show.
            if (IsGet(kind)) {
                if (result) *result = false;
                return S_OK;
            }
            return kind == CallKind::PropertyPut ? S_OK : DISP_E_MEMBERNOTFOUND;
        });
    }
    // Last resort when the run ends without Quit (an error): no office is left behind.
    ~Application() override { session_->Kill(); }

private:
    Session session_;
};

} // namespace

HRESULT CreateLibreOfficeApplication(std::shared_ptr<DispatchObject>& instance)
{
    instance.reset();
    try {
        auto session = std::make_shared<OfficeSession>();
        const HRESULT hr = session->Start();
        if (Failed(hr)) return hr;
        instance = std::make_shared<Application>(std::move(session));
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

} // namespace wordstrip::office
