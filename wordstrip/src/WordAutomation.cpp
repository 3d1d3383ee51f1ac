#include "WordAutomation.h"

#include "Abort.h"
#include "OutputName.h"
#include "StdoutDelivery.h"
#include "automation/InvokeMember.h"

#include <optional>

namespace wordstrip {
namespace {

constexpr std::string_view kDefaultProgId = "Word.Application";
constexpr std::int32_t wdStyleNormal = -1;
constexpr std::int32_t wdStyleDefaultParagraphFont = -66;

bool Debugging(const RunContext& ctx) { return ctx.options.Has(flag::Debug); }

void Debug(const RunContext& ctx, std::string_view format, std::initializer_list<Insert> inserts = {})
{
    if (Debugging(ctx)) ctx.reporter.PrintFormatted(Stream::Out, format, inserts);
}

long long Code(HRESULT hr) { return static_cast<long long>(hr); }

// Gets an integer property, failing with DISP_E_TYPEMISMATCH when something else comes back.
HRESULT GetCount(DispatchObject& collection, std::int32_t& count)
{
    Variant v;
    HRESULT hr = InvokeMember(collection, CallKind::PropertyGet, "Count", &v);
    if (Failed(hr)) return hr;
    const auto* n = std::get_if<std::int32_t>(&v);
    if (!n) return DISP_E_TYPEMISMATCH;
    count = *n;
    return S_OK;
}

// Gets an object-valued member; a result that is no object is E_POINTER.
HRESULT GetObject(DispatchObject& from, CallKind kind, std::string_view name, std::shared_ptr<DispatchObject>& out,
                  std::string_view types = {}, std::initializer_list<MemberArg> args = {})
{
    Variant v;
    HRESULT hr = InvokeMember(from, kind, name, &v, types, args);
    if (Failed(hr)) return hr;
    out = AsObject(v);
    return out ? S_OK : E_POINTER;
}

} // namespace

void StartWord(RunContext& ctx)
{
    ConvertOptions& opts = ctx.options;
    Reporter& reporter = ctx.reporter;
    Debug(ctx, "DEBUG: Initializing Word Application object.\n");

    // Nothing has to be initialised for the automation layer itself on this system; each
    // server sets up what it needs when its instance is made.
    ctx.automationStarted = true;

    const std::string progId = opts.progId.value_or(std::string(kDefaultProgId));
    ClassId classId = 0;
    std::shared_ptr<DispatchObject> application;
    HRESULT hr = ctx.classes.ClassIdFromProgId(progId, classId);
    if (Succeeded(hr)) hr = ctx.classes.CreateInstance(classId, application);
    if (Failed(hr) || !application) {
        if (Succeeded(hr)) hr = E_POINTER;
        ctx.automationStarted = false;
        if (!opts.Has(flag::Quiet)) reporter.WriteText(Stream::Out, "\n");
        reporter.ReportMessage(msg::WordInitFailed, hr);
    }
    opts.application = application;

    std::shared_ptr<DispatchObject> documents;
    hr = GetObject(*application, CallKind::PropertyGet, "Documents", documents);
    if (Failed(hr)) {
        if (!opts.Has(flag::Quiet)) reporter.WriteText(Stream::Out, "\n");
        reporter.ReportMessage(msg::NoDocuments, hr);
    }
    opts.documents = documents;
}

HRESULT RemoveComments(RunContext& ctx, DispatchObject& document)
{
    Debug(ctx, "DEBUG: Trying to remove comments.\n");
    std::shared_ptr<DispatchObject> comments;
    HRESULT hr = GetObject(document, CallKind::PropertyGet, "Comments", comments);
    if (Failed(hr)) {
        Debug(ctx, "DEBUG: Failed to obtain Comments object (0x%1!08x!).\n", {Code(hr)});
        return hr;
    }
    std::int32_t count = 0;
    hr = GetCount(*comments, count);
    if (Failed(hr)) {
        Debug(ctx, "DEBUG: Comments.Count failed with 0x%1!08x!.\n", {Code(hr)});
        return hr;
    }
    Debug(ctx, "DEBUG: Comments.Count = %1!d!\n", {static_cast<long long>(count)});
    // From the last to the first, so that deleting does not move the items still to come.
    for (std::int32_t n = count; n >= 1 && !Aborting(); --n) {
        std::shared_ptr<DispatchObject> item;
        hr = GetObject(*comments, CallKind::Method, "Item", item, "i", {n});
        if (Failed(hr)) {
            Debug(ctx, "DEBUG: Comments->Item(%1!d!) failed with 0x%2!08x!.\n", {static_cast<long long>(n), Code(hr)});
            continue;
        }
        hr = InvokeMember(*item, CallKind::Method, "Delete", nullptr);
        if (Failed(hr))
            Debug(ctx, "DEBUG: Item(%1!d!)->Delete() failed with 0x%2!08x!.\n", {static_cast<long long>(n), Code(hr)});
    }
    return Aborting() ? E_ABORT : S_OK;
}

HRESULT RemoveUserStyles(RunContext& ctx, DispatchObject& document)
{
    Debug(ctx, "DEBUG: Trying to remove styles.\n");
    std::shared_ptr<DispatchObject> styles;
    HRESULT hr = GetObject(document, CallKind::PropertyGet, "Styles", styles);
    if (Failed(hr)) {
        Debug(ctx, "DEBUG: Document.Styles failed with 0x%1!08x!.\n", {Code(hr)});
        return hr;
    }
    std::int32_t count = 0;
    hr = GetCount(*styles, count);
    if (Failed(hr)) {
        Debug(ctx, "DEBUG: Styles.Count failed with 0x%1!08x!.\n", {Code(hr)});
        return hr;
    }
    Debug(ctx, "DEBUG: Styles.Count = %1!d!\n", {static_cast<long long>(count)});
    for (std::int32_t n = count; n >= 1 && !Aborting(); --n) {
        std::shared_ptr<DispatchObject> style;
        hr = GetObject(*styles, CallKind::Method, "Item", style, "i", {n});
        if (Failed(hr)) {
            Debug(ctx, "DEBUG: Styles->Item(%1!d!) failed with 0x%2!08x!.\n", {static_cast<long long>(n), Code(hr)});
            continue;
        }
        Variant builtIn;
        hr = InvokeMember(*style, CallKind::PropertyGet, "BuiltIn", &builtIn);
        const auto* isBuiltIn = std::get_if<bool>(&builtIn);
        if (Succeeded(hr) && !isBuiltIn) hr = DISP_E_TYPEMISMATCH;
        if (Failed(hr)) {
            Debug(ctx, "DEBUG: Item(%1!d!).BuiltIn failed with 0x%2!08x!.\n", {static_cast<long long>(n), Code(hr)});
            continue; // a style of unknown kind is kept
        }
        if (*isBuiltIn) continue;
        hr = InvokeMember(*style, CallKind::Method, "Delete", nullptr);
        if (Failed(hr))
            Debug(ctx, "DEBUG: Item(%1!d!)->Delete() failed with 0x%2!08x!.\n", {static_cast<long long>(n), Code(hr)});
    }
    return Aborting() ? E_ABORT : S_OK;
}

HRESULT ResetTextStyles(RunContext& ctx, DispatchObject& document)
{
    Debug(ctx, "DEBUG: Trying to reset text styles.\n");
    std::shared_ptr<DispatchObject> range;
    HRESULT hr = GetObject(document, CallKind::Method, "Range", range);
    if (Failed(hr)) {
        Debug(ctx, "DEBUG: Document.Range() failed with 0x%1!08x!.\n", {Code(hr)});
        return hr;
    }
    hr = InvokeMember(*range, CallKind::PropertyPut, "Style", nullptr, "i", {wdStyleNormal});
    if (Failed(hr)) Debug(ctx, "DEBUG: Setting Range.Style to wdStyleNormal failed with 0x%1!08x!.\n", {Code(hr)});
    hr = InvokeMember(*range, CallKind::PropertyPut, "Style", nullptr, "i", {wdStyleDefaultParagraphFont});
    if (Failed(hr))
        Debug(ctx, "DEBUG: Setting Range.Style to wdStyleDefaultParagraphFont failed with 0x%1!08x!.\n", {Code(hr)});
    return S_OK;
}

void ConvertFile(RunContext& ctx, const std::string& input)
{
    ConvertOptions& opts = ctx.options;
    Reporter& reporter = ctx.reporter;
    const bool toStdout = opts.Has(flag::Stdout);

    std::optional<StdoutTemporary> temporary = toStdout ? StdoutTemporary::Create(ctx) : std::nullopt;
    std::string output;
    if (toStdout) {
        if (!temporary) return;
        output = temporary->Path();
    } else {
        auto name = MakeOutputName(ctx, input);
        if (!name) return;
        output = *name;
    }

    if (!opts.application) StartWord(ctx);
    if (Aborting()) return;

    std::shared_ptr<DispatchObject> document;
    HRESULT hr = GetObject(*opts.documents, CallKind::Method, "Open", document, "sbbb",
                           {std::string_view(input), false, true, false});
    if (Failed(hr)) {
        if (temporary) temporary->Remove();
        reporter.ReportMessage(msg::OpenFailed, hr, {input});
        return;
    }

    if (!Aborting() && opts.Has(flag::RemoveComment)) RemoveComments(ctx, *document);
    if (!Aborting() && opts.Has(flag::RemoveStyle)) {
        RemoveUserStyles(ctx, *document);
        if (!Aborting()) ResetTextStyles(ctx, *document);
    }

    // After an abort nothing more is saved: the document is only closed.
    HRESULT saved = S_OK;
    if (!Aborting()) {
        if (!opts.Has(flag::Quiet) && !toStdout) reporter.PrintFormatted(Stream::Out, "%1 --> %2%n", {input, output});
        if (!opts.Has(flag::Debug)) {
            const std::string target = output + ".";
            saved = InvokeMember(*document, CallKind::Method, "SaveAs", nullptr, "sibSb",
                                 {std::string_view(target), static_cast<std::int32_t>(opts.formatIndex), false, nullptr, false});
        }
    }
    InvokeMember(*document, CallKind::Method, "Close", nullptr, "i", {std::int32_t{0}});
    document.reset();

    if (Failed(saved)) {
        if (temporary) temporary->Remove();
        reporter.ReportMessage(msg::SaveAsFailed, saved);
        return;
    }
    if (temporary) temporary->Deliver();
}

void QuitWord(RunContext& ctx)
{
    if (ctx.wordShutDown) return;
    ctx.wordShutDown = true;
    ConvertOptions& opts = ctx.options;

    if (opts.documents) {
        Debug(ctx, "DEBUG: Releasing Documents collection object.\n");
        opts.documents.reset();
    }
    if (opts.application) {
        // Released when this function is left, also when the warning below ends the run.
        const std::shared_ptr<DispatchObject> application = std::move(opts.application);
        const HRESULT hr = InvokeMember(*application, CallKind::Method, "Quit", nullptr, "i", {std::int32_t{0}});
        if (Failed(hr)) {
            // Shown before the warning, which may end the run under -W.
            InvokeMember(*application, CallKind::PropertyPut, "Visible", nullptr, "b", {true});
            ctx.reporter.ReportMessage(msg::QuitFailed, hr);
        } else {
            Debug(ctx, "DEBUG: Word successfully closed.\n");
        }
        Debug(ctx, "DEBUG: Releasing Application object.\n");
    }
    ctx.automationStarted = false;
}

} // namespace wordstrip
