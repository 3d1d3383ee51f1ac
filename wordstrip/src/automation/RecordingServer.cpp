#include "RecordingServer.h"

#include "MemberTable.h"
#include "RecordingDocument.h"
#include "WideString.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <unistd.h>

namespace wordstrip {
namespace {

// Where the calls go, and what the run as a whole is told to fail.
struct Recorder {
    int logFd = -1;
    int notifyFd = -1;
    std::map<std::string, HRESULT> failures;

    ~Recorder()
    {
        if (logFd >= 0) ::close(logFd);
    }
    void Record(const std::string& line) const
    {
        if (logFd < 0) return;
        const std::string text = line + "\n";
        // One write per line, appended: the record stays whole even if the process is stopped.
        [[maybe_unused]] ssize_t n = ::write(logFd, text.data(), text.size());
    }
};

std::map<std::string, HRESULT> ParseFailures(const char* setting)
{
    std::map<std::string, HRESULT> out;
    std::string_view rest = setting ? setting : "";
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        const std::string_view item = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        const size_t eq = item.find('=');
        if (eq == std::string_view::npos) continue;
        out[std::string(item.substr(0, eq))] =
            static_cast<HRESULT>(std::strtoul(std::string(item.substr(eq + 1)).c_str(), nullptr, 16));
    }
    return out;
}

// Blocks until one of the abort signals arrives; the notice is written with the signals held
// back, so a signal sent as soon as it is read cannot be lost.
void PauseForSignal(int notifyFd)
{
    sigset_t block, old;
    sigemptyset(&block);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&block, sig);
    sigprocmask(SIG_BLOCK, &block, &old);
    if (notifyFd >= 0) [[maybe_unused]] ssize_t n = ::write(notifyFd, "paused\n", 7);
    sigset_t wait = old;
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigdelset(&wait, sig);
    sigsuspend(&wait);
    sigprocmask(SIG_SETMASK, &old, nullptr);
}

std::string Quote(const std::string& s)
{
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string DescribeArg(const Variant& v)
{
    if (auto* b = std::get_if<bool>(&v)) return *b ? "true" : "false";
    if (auto* i = std::get_if<std::int32_t>(&v)) return std::to_string(*i);
    if (auto* w = std::get_if<WideText>(&v)) return w->text ? Quote(NarrowString(*w->text)) : "null";
    if (std::holds_alternative<std::shared_ptr<DispatchObject>>(v)) return "object";
    return "empty";
}

std::string Hex(HRESULT hr)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08x", hr);
    return buffer;
}

// Saving as HTML leaves a companion folder as the office does: the name up to its last "."
// and ".files", holding the page's pictures.
void SaveHtmlCompanion(const std::string& path)
{
    const size_t fileStart = path.rfind('/') + 1;
    const size_t dot = path.rfind('.');
    const std::string folder = (dot != std::string::npos && dot >= fileStart ? path.substr(0, dot) : path) + ".files";
    std::error_code ec;
    std::filesystem::create_directory(folder, ec);
    std::ofstream(folder + "/image001.png", std::ios::binary) << "picture";
}

// The open document with stable identities for its comments and styles, so that an item
// fetched before another one was deleted still deletes itself.
struct DocumentState {
    RecordedDocument doc;
    std::vector<int> commentIds;
    std::vector<int> styleIds;
    int nextId = 1;
    bool closed = false;
};

class RecordingObject : public MemberTableObject {
protected:
    RecordingObject(std::shared_ptr<Recorder> recorder, std::string name, std::shared_ptr<DocumentState> doc = nullptr)
        : recorder_(std::move(recorder)), name_(std::move(name)), doc_(std::move(doc))
    {
    }

    HRESULT BeforeCall(DispId id, CallKind, std::span<const Variant>) override
    {
        const std::string key = name_ + "." + MemberName(id);
        if (doc_) {
            if (std::find(doc_->doc.pauses.begin(), doc_->doc.pauses.end(), key) != doc_->doc.pauses.end())
                PauseForSignal(recorder_->notifyFd);
            if (auto it = doc_->doc.failures.find(key); it != doc_->doc.failures.end()) return it->second;
        }
        if (auto it = recorder_->failures.find(key); it != recorder_->failures.end()) return it->second;
        return S_OK;
    }

    void AfterCall(DispId id, CallKind kind, std::span<const Variant> args, HRESULT hr) override
    {
        std::string line = name_ + "." + MemberName(id);
        line += kind == CallKind::Method ? " call" : kind == CallKind::PropertyGet ? " get" : " put";
        for (const auto& arg : args) line += " " + DescribeArg(arg);
        recorder_->Record(line + " -> " + Hex(hr));
    }

    std::shared_ptr<Recorder> recorder_;
    std::string name_;
    std::shared_ptr<DocumentState> doc_;
};

// Argument checks shared by the members.
HRESULT Expect(std::span<const Variant> args, size_t count)
{
    return args.size() == count ? S_OK : DISP_E_BADPARAMCOUNT;
}
template <typename T>
const T* Arg(std::span<const Variant> args, size_t n)
{
    return n < args.size() ? std::get_if<T>(&args[n]) : nullptr;
}
HRESULT SetObject(Variant* result, std::shared_ptr<DispatchObject> object)
{
    if (!result) return E_POINTER;
    *result = std::move(object);
    return S_OK;
}

class CommentObject : public RecordingObject {
public:
    CommentObject(std::shared_ptr<Recorder> r, std::shared_ptr<DocumentState> d, int id)
        : RecordingObject(std::move(r), "Comment", std::move(d)), id_(id)
    {
        AddMember("Delete", [this](CallKind kind, std::span<const Variant> args, Variant*) -> HRESULT {
            if (kind != CallKind::Method) return DISP_E_MEMBERNOTFOUND;
            if (Failed(Expect(args, 0))) return DISP_E_BADPARAMCOUNT;
            auto it = std::find(doc_->commentIds.begin(), doc_->commentIds.end(), id_);
            if (it == doc_->commentIds.end()) return E_FAIL; // already deleted
            const auto index = it - doc_->commentIds.begin();
            doc_->commentIds.erase(it);
            doc_->doc.comments.erase(doc_->doc.comments.begin() + index);
            return S_OK;
        });
    }

private:
    int id_;
};

class StyleObject : public RecordingObject {
public:
    StyleObject(std::shared_ptr<Recorder> r, std::shared_ptr<DocumentState> d, int id)
        : RecordingObject(std::move(r), "Style", std::move(d)), id_(id)
    {
        AddMember("BuiltIn", [this](CallKind kind, std::span<const Variant>, Variant* result) -> HRESULT {
            if (kind != CallKind::PropertyGet || !result) return DISP_E_MEMBERNOTFOUND;
            const auto index = Index();
            if (index < 0) return E_FAIL;
            *result = doc_->doc.styles[static_cast<size_t>(index)].builtIn;
            return S_OK;
        });
        AddMember("Delete", [this](CallKind kind, std::span<const Variant> args, Variant*) -> HRESULT {
            if (kind != CallKind::Method) return DISP_E_MEMBERNOTFOUND;
            if (Failed(Expect(args, 0))) return DISP_E_BADPARAMCOUNT;
            const auto index = Index();
            if (index < 0) return E_FAIL;
            const RecordedStyle style = doc_->doc.styles[static_cast<size_t>(index)];
            if (style.builtIn) return E_FAIL; // built-in styles cannot be deleted
            doc_->doc.styles.erase(doc_->doc.styles.begin() + index);
            doc_->styleIds.erase(doc_->styleIds.begin() + index);
            // Text of a deleted style falls back to the defaults, as in the office.
            for (auto& p : doc_->doc.paragraphs) {
                if (p.style == style.name) p.style = kNormalStyle;
                if (p.charStyle == style.name) p.charStyle = kDefaultParagraphFont;
            }
            return S_OK;
        });
    }

private:
    std::ptrdiff_t Index() const
    {
        auto it = std::find(doc_->styleIds.begin(), doc_->styleIds.end(), id_);
        return it == doc_->styleIds.end() ? -1 : it - doc_->styleIds.begin();
    }
    int id_;
};

// A collection over one list of ids of the document: Count and 1-based Item.
template <typename ItemObject>
class CollectionObject : public RecordingObject {
public:
    CollectionObject(std::shared_ptr<Recorder> r, std::shared_ptr<DocumentState> d, std::string name,
                     std::vector<int> DocumentState::*ids)
        : RecordingObject(std::move(r), std::move(name), std::move(d)), ids_(ids)
    {
        AddMember("Count", [this](CallKind kind, std::span<const Variant>, Variant* result) -> HRESULT {
            if (kind != CallKind::PropertyGet || !result) return DISP_E_MEMBERNOTFOUND;
            *result = static_cast<std::int32_t>(((*doc_).*ids_).size());
            return S_OK;
        });
        AddMember("Item", [this](CallKind, std::span<const Variant> args, Variant* result) -> HRESULT {
            if (Failed(Expect(args, 1))) return DISP_E_BADPARAMCOUNT;
            const auto* n = Arg<std::int32_t>(args, 0);
            if (!n) return DISP_E_TYPEMISMATCH;
            const auto& list = (*doc_).*ids_;
            if (*n < 1 || static_cast<size_t>(*n) > list.size()) return DISP_E_BADINDEX;
            return SetObject(result, std::make_shared<ItemObject>(recorder_, doc_, list[static_cast<size_t>(*n - 1)]));
        });
    }

private:
    std::vector<int> DocumentState::*ids_;
};

class RangeObject : public RecordingObject {
public:
    RangeObject(std::shared_ptr<Recorder> r, std::shared_ptr<DocumentState> d)
        : RecordingObject(std::move(r), "Range", std::move(d))
    {
        AddMember("Style", [this](CallKind kind, std::span<const Variant> args, Variant*) -> HRESULT {
            if (kind != CallKind::PropertyPut) return DISP_E_MEMBERNOTFOUND;
            const auto* style = Arg<std::int32_t>(args, 0);
            if (!style) return DISP_E_TYPEMISMATCH;
            for (auto& p : doc_->doc.paragraphs) {
                if (*style == -1) // wdStyleNormal
                    p.style = kNormalStyle;
                else if (*style == -66) // wdStyleDefaultParagraphFont
                    p.charStyle = kDefaultParagraphFont;
                else
                    return E_INVALIDARG;
            }
            return S_OK;
        });
    }
};

class DocumentObject : public RecordingObject {
public:
    DocumentObject(std::shared_ptr<Recorder> r, std::shared_ptr<DocumentState> d)
        : RecordingObject(std::move(r), "Document", std::move(d))
    {
        AddMember("Comments", [this](CallKind kind, std::span<const Variant>, Variant* result) -> HRESULT {
            if (kind != CallKind::PropertyGet) return DISP_E_MEMBERNOTFOUND;
            return SetObject(result, std::make_shared<CollectionObject<CommentObject>>(recorder_, doc_, "Comments",
                                                                                       &DocumentState::commentIds));
        });
        AddMember("Styles", [this](CallKind kind, std::span<const Variant>, Variant* result) -> HRESULT {
            if (kind != CallKind::PropertyGet) return DISP_E_MEMBERNOTFOUND;
            return SetObject(result, std::make_shared<CollectionObject<StyleObject>>(recorder_, doc_, "Styles",
                                                                                     &DocumentState::styleIds));
        });
        AddMember("Range", [this](CallKind kind, std::span<const Variant>, Variant* result) -> HRESULT {
            if (kind != CallKind::Method) return DISP_E_MEMBERNOTFOUND;
            return SetObject(result, std::make_shared<RangeObject>(recorder_, doc_));
        });
        AddMember("SaveAs", [this](CallKind kind, std::span<const Variant> args, Variant*) -> HRESULT {
            if (kind != CallKind::Method) return DISP_E_MEMBERNOTFOUND;
            if (Failed(Expect(args, 5))) return DISP_E_BADPARAMCOUNT;
            const auto* name = Arg<WideText>(args, 0);
            const auto* format = Arg<std::int32_t>(args, 1);
            if (!name || !name->text || !format) return DISP_E_TYPEMISMATCH;
            std::string path = NarrowString(*name->text);
            // The caller ends the name with "." so that no extension of the office's own is
            // added; the dot itself is not part of the file name.
            if (path.ends_with('.')) path.pop_back();
            const std::string bytes = SerializeRecordedDocument(doc_->doc, *format);
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
            if (fd < 0) return HresultFromErrno(errno);
            const bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
            const int err = errno;
            ::close(fd);
            if (!ok) return HresultFromErrno(err);
            if (*format == 8) SaveHtmlCompanion(path);
            return S_OK;
        });
        AddMember("Close", [this](CallKind kind, std::span<const Variant> args, Variant*) -> HRESULT {
            if (kind != CallKind::Method) return DISP_E_MEMBERNOTFOUND;
            if (Failed(Expect(args, 1))) return DISP_E_BADPARAMCOUNT;
            doc_->closed = true;
            return S_OK;
        });
    }
};

class DocumentsObject : public RecordingObject {
public:
    explicit DocumentsObject(std::shared_ptr<Recorder> r) : RecordingObject(std::move(r), "Documents")
    {
        AddMember("Open", [this](CallKind kind, std::span<const Variant> args, Variant* result) -> HRESULT {
            if (kind != CallKind::Method) return DISP_E_MEMBERNOTFOUND;
            if (Failed(Expect(args, 4))) return DISP_E_BADPARAMCOUNT;
            const auto* name = Arg<WideText>(args, 0);
            if (!name || !name->text) return DISP_E_TYPEMISMATCH;
            std::ifstream in(NarrowString(*name->text), std::ios::binary);
            if (!in) return STG_E_FILENOTFOUND;
            const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            auto state = std::make_shared<DocumentState>();
            state->doc = ParseRecordingFixture(bytes);
            for (size_t n = 0; n < state->doc.comments.size(); ++n) state->commentIds.push_back(state->nextId++);
            for (size_t n = 0; n < state->doc.styles.size(); ++n) state->styleIds.push_back(state->nextId++);
            // A document may ask for its own opening to fail or to wait.
            const std::string key = "Documents.Open";
            if (std::find(state->doc.pauses.begin(), state->doc.pauses.end(), key) != state->doc.pauses.end())
                PauseForSignal(recorder_->notifyFd);
            if (auto it = state->doc.failures.find(key); it != state->doc.failures.end()) return it->second;
            return SetObject(result, std::make_shared<DocumentObject>(recorder_, state));
        });
    }
};

class ApplicationObject : public RecordingObject {
public:
    explicit ApplicationObject(std::shared_ptr<Recorder> r) : RecordingObject(std::move(r), "Application")
    {
        AddMember("Documents", [this](CallKind kind, std::span<const Variant>, Variant* result) -> HRESULT {
            if (kind != CallKind::PropertyGet) return DISP_E_MEMBERNOTFOUND;
            if (!documents_) documents_ = std::make_shared<DocumentsObject>(recorder_);
            return SetObject(result, documents_);
        });
        AddMember("Quit", [](CallKind kind, std::span<const Variant> args, Variant*) -> HRESULT {
            if (kind != CallKind::Method) return DISP_E_MEMBERNOTFOUND;
            return Expect(args, 1);
        });
        AddMember("Visible", [](CallKind kind, std::span<const Variant> args, Variant*) -> HRESULT {
            if (kind != CallKind::PropertyPut) return DISP_E_MEMBERNOTFOUND;
            return Arg<bool>(args, 0) ? S_OK : DISP_E_TYPEMISMATCH;
        });
    }
    ~ApplicationObject() override { recorder_->Record("Application released"); }

private:
    std::shared_ptr<DispatchObject> documents_;
};

} // namespace

HRESULT CreateRecordingApplication(std::shared_ptr<DispatchObject>& instance)
{
    auto recorder = std::make_shared<Recorder>();
    if (const char* log = std::getenv("WORDSTRIP_RECORDING_LOG"); log && *log) {
        recorder->logFd = ::open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
        if (recorder->logFd < 0) return HresultFromErrno(errno);
    }
    if (const char* fd = std::getenv("WORDSTRIP_RECORDING_NOTIFY_FD"); fd && *fd) recorder->notifyFd = std::atoi(fd);
    recorder->failures = ParseFailures(std::getenv("WORDSTRIP_RECORDING_FAIL"));
    recorder->Record("CreateInstance " + std::string(kRecordingProgId));
    if (auto it = recorder->failures.find("CreateInstance"); it != recorder->failures.end()) return it->second;
    instance = std::make_shared<ApplicationObject>(recorder);
    return S_OK;
}

} // namespace wordstrip
