#include "OfficeSession.h"

#include "Abort.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XLoadable.hpp>
#include <com/sun/star/io/IOException.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/IllegalArgumentException.hpp>
#include <com/sun/star/task/ErrorCodeIOException.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <new>
#include <pthread.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace wordstrip::office {
namespace {

using rtl::OUString;

using css::uno::Sequence;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using namespace std::chrono_literals;

#ifndef WORDSTRIP_OFFICE_PROGRAM_DIR
#define WORDSTRIP_OFFICE_PROGRAM_DIR "/usr/lib/libreoffice/program"
#endif

// The office to start; its UNO runtime is the one this program is linked with, from the
// program folder named at build time.
std::string ProgramDir()
{
    const char* dir = std::getenv("WORDSTRIP_OFFICE_PROGRAM");
    return dir && *dir ? dir : WORDSTRIP_OFFICE_PROGRAM_DIR;
}

// Seconds from the environment, or the default.
std::chrono::milliseconds Limit(const char* name, std::chrono::milliseconds fallback)
{
    const char* text = std::getenv(name);
    if (!text || !*text) return fallback;
    char* end = nullptr;
    const double seconds = std::strtod(text, &end);
    if (end == text || *end || seconds <= 0) return fallback;
    return std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
}

// A call already running when Ctrl-C comes gets this much longer before the office is ended.
constexpr auto kAbortGrace = 5s;

// Blocks the abort signals while threads are made, so that they stay with the main thread.
class AbortSignalsBlocked {
public:
    AbortSignalsBlocked()
    {
        sigset_t set;
        sigemptyset(&set);
        for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, sig);
        pthread_sigmask(SIG_BLOCK, &set, &saved_);
    }
    ~AbortSignalsBlocked() { pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }

private:
    sigset_t saved_;
};

OUString Ou(std::string_view utf8) { return OUString(utf8.data(), static_cast<sal_Int32>(utf8.size()), RTL_TEXTENCODING_UTF8); }

css::beans::PropertyValue Property(const char* name, const css::uno::Any& value)
{
    css::beans::PropertyValue p;
    p.Name = OUString::createFromAscii(name);
    p.Value = value;
    return p;
}

// The local UNO context, made once per process. Without URE_BOOTSTRAP it would know only the
// runtime's types, and the first office call would crash in the bridge.
Reference<css::uno::XComponentContext> LocalContext()
{
    static Reference<css::uno::XComponentContext>* context = [] {
        rtl::Bootstrap::set(OUString("URE_BOOTSTRAP"), Ou("vnd.sun.star.pathname:" WORDSTRIP_OFFICE_PROGRAM_DIR "/fundamentalrc"));
        // Never destroyed: the runtime must outlive every reference released at exit.
        return new Reference<css::uno::XComponentContext>(cppu::defaultBootstrap_InitialComponentContext());
    }();
    return *context;
}

// LibreOffice's error codes: area, class (bits 8..12) and code.
HRESULT FromErrorCode(sal_Int32 code, Operation operation)
{
    const auto value = static_cast<std::uint32_t>(code);
    if ((value & 0x3FFFFFFF) == 0x1000F) return OFFICE_E_PASSWORD; // wrong (here: missing) password
    switch ((value >> 8) & 0x1F) {
    case 3: return STG_E_FILENOTFOUND;       // does not exist
    case 5: return OFFICE_E_ACCESS;          // access
    case 9: return HresultFromErrno(ENOSPC); // space
    case 10: return OFFICE_E_UNKNOWN_FORMAT; // not supported
    case 11: return OFFICE_E_READ;
    case 12: return OFFICE_E_WRITE;
    case 15: return OFFICE_E_DAMAGED;        // format
    default: break;
    }
    return operation == Operation::Read ? OFFICE_E_READ : operation == Operation::Write ? OFFICE_E_WRITE : OFFICE_E_FAILED;
}

// What a file that the office takes for plain text really holds, judged by its first megabyte.
enum class TextKind { Utf8, Utf16, SingleByte, Binary };

TextKind ClassifyText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> data(1 << 20);
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    const size_t size = static_cast<size_t>(in.gcount());
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(data[i]); };
    if (size >= 2 && ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF))) return TextKind::Utf16;
    // Control characters other than tab, line and page breaks and the old end-of-file mark
    // do not occur in text: such a file is a damaged document or something else entirely.
    for (size_t i = 0; i < size; ++i) {
        const unsigned char c = byte(i);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x1A) return TextKind::Binary;
    }
    for (size_t i = 0; i < size;) {
        const unsigned char c = byte(i);
        const size_t extra = c < 0x80                          ? 0
                             : (c & 0xE0) == 0xC0 && c >= 0xC2 ? 1
                             : (c & 0xF0) == 0xE0              ? 2
                             : (c & 0xF8) == 0xF0 && c <= 0xF4 ? 3
                                                               : 9;
        if (extra == 9) return TextKind::SingleByte;
        for (size_t k = 1; k <= extra; ++k) {
            if (i + k >= size) return TextKind::Utf8; // cut at the end of the sample
            if ((byte(i + k) & 0xC0) != 0x80) return TextKind::SingleByte;
        }
        i += extra + 1;
    }
    return TextKind::Utf8;
}

} // namespace

// ---- Watchdog ----

Watchdog::Watchdog()
{
    AbortSignalsBlocked blocked;
    thread_ = std::thread([this] { Run(); });
}

Watchdog::~Watchdog()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void Watchdog::Arm(pid_t group, std::chrono::milliseconds limit)
{
    std::lock_guard lock(mutex_);
    armed_ = true;
    fired_ = false;
    shortened_ = false;
    group_ = group;
    deadline_ = std::chrono::steady_clock::now() + limit;
    wake_.notify_all();
}

bool Watchdog::Disarm()
{
    std::lock_guard lock(mutex_);
    armed_ = false;
    return fired_;
}

bool Watchdog::Fired()
{
    std::lock_guard lock(mutex_);
    return fired_;
}

bool Watchdog::FiredForAbort()
{
    std::lock_guard lock(mutex_);
    return fired_ && shortened_;
}

void Watchdog::Run()
{
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (!armed_) {
            wake_.wait(lock);
            continue;
        }
        // The abort flag is set by a signal handler and cannot notify: it is polled.
        wake_.wait_for(lock, 100ms);
        if (!armed_ || stop_) continue;
        const auto now = std::chrono::steady_clock::now();
        if (Aborting() && !shortened_ && deadline_ > now + kAbortGrace) {
            shortened_ = true;
            deadline_ = now + kAbortGrace;
        }
        if (now >= deadline_) {
            // Any call blocked on the office now fails at once (the bridge is disposed).
            ::kill(-group_, SIGKILL);
            fired_ = true;
            armed_ = false;
        }
    }
}

// ---- OfficeSession ----

OfficeSession::OfficeSession()
    : callLimit_(Limit("WORDSTRIP_OFFICE_TIMEOUT", 120s)), startLimit_(Limit("WORDSTRIP_OFFICE_START_TIMEOUT", 60s))
{
}

OfficeSession::~OfficeSession() { Kill(); }

void OfficeSession::Forget()
{
    // Proxies of a dead bridge may be released safely; nothing more is called on them.
    detection_.clear();
    desktop_.clear();
    factory_.clear();
    context_.clear();
    running_ = false;
}

void OfficeSession::Kill()
{
    Forget();
    process_.End();
}

HRESULT OfficeSession::Start()
{
    Kill();
    AbortSignalsBlocked blocked;
    Reference<css::uno::XComponentContext> local;
    try {
        local = LocalContext();
    } catch (const css::uno::Exception&) {
        return CO_E_SERVER_EXEC_FAILURE;
    }
    const int error = process_.Start(ProgramDir());
    if (error != 0) return HresultFromErrno(error);

    HRESULT hr = CO_E_SERVER_EXEC_FAILURE;
    watchdog_.Arm(process_.Group(), startLimit_);
    try {
        const auto resolver = css::bridge::UnoUrlResolver::create(local);
        const OUString url = Ou(process_.ConnectUrl());
        Reference<css::uno::XInterface> remote;
        // The office listens after a few seconds; until then the pipe does not exist.
        while (!remote.is() && !watchdog_.Fired() && !process_.Exited()) {
            try {
                remote = resolver->resolve(url);
            } catch (const css::connection::NoConnectException&) {
                std::this_thread::sleep_for(50ms);
            }
        }
        if (remote.is()) {
            context_.set(remote, UNO_QUERY_THROW);
            factory_.set(context_->getServiceManager(), css::uno::UNO_SET_THROW);
            desktop_ = css::frame::Desktop::create(context_);
            detection_.set(factory_->createInstanceWithContext(OUString("com.sun.star.document.TypeDetection"), context_),
                           UNO_QUERY_THROW);
            hr = S_OK;
        }
    } catch (const css::uno::Exception&) {
        hr = CO_E_SERVER_EXEC_FAILURE;
    }
    if (watchdog_.Disarm()) hr = OFFICE_E_NOT_RESPONDING;
    if (Failed(hr)) {
        Kill();
        return hr;
    }
    running_ = true;
    ++generation_;
    return S_OK;
}

HRESULT OfficeSession::Call(Operation operation, const std::function<HRESULT()>& body)
{
    if (!running_) return OFFICE_E_ENDED;
    watchdog_.Arm(process_.Group(), callLimit_);
    HRESULT hr = S_OK;
    bool lost = false;
    bool unsure = false;
    try {
        hr = body();
    } catch (const css::lang::DisposedException&) {
        hr = OFFICE_E_ENDED;
        lost = true;
    } catch (const css::task::ErrorCodeIOException& e) {
        hr = FromErrorCode(e.ErrCode, operation);
    } catch (const css::lang::IllegalArgumentException&) {
        hr = E_INVALIDARG;
    } catch (const css::io::IOException&) {
        hr = operation == Operation::Read ? OFFICE_E_READ : operation == Operation::Write ? OFFICE_E_WRITE : OFFICE_E_FAILED;
    } catch (const css::uno::RuntimeException&) {
        // Also what a broken bridge throws: checked below.
        hr = OFFICE_E_FAILED;
        unsure = true;
    } catch (const css::uno::Exception&) {
        hr = OFFICE_E_FAILED;
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
    }
    if (watchdog_.Disarm()) {
        hr = watchdog_.FiredForAbort() ? E_ABORT : OFFICE_E_NOT_RESPONDING;
        lost = true;
    } else if (unsure) {
        watchdog_.Arm(process_.Group(), 10s);
        try {
            context_->getServiceManager(); // a round trip: answers only if the office is alive
        } catch (const css::uno::Exception&) {
            lost = true;
        }
        if (watchdog_.Disarm()) lost = true;
        if (lost) hr = OFFICE_E_ENDED;
    }
    // After a crash the office may hang in its crash handler: the group is always killed.
    if (lost) Kill();
    return hr;
}

HRESULT OfficeSession::LoadOnce(const std::string& url, const std::string& path, bool readOnly,
                                Reference<css::lang::XComponent>& document, bool& officeLost)
{
    bool detected = false;
    HRESULT hr = Call(Operation::Read, [&]() -> HRESULT {
        Sequence<css::beans::PropertyValue> descriptor(1);
        descriptor.getArray()[0] = Property("URL", css::uno::Any(Ou(url)));
        const OUString type = detection_->queryTypeByDescriptor(descriptor, true);
        detected = true;
        if (type.isEmpty()) return OFFICE_E_UNKNOWN_FORMAT;

        OUString filter;
        for (const auto& p : std::as_const(descriptor))
            if (p.Name == "FilterName") p.Value >>= filter;
        if (filter.isEmpty()) {
            Reference<css::container::XNameAccess> types(detection_, UNO_QUERY);
            Sequence<css::beans::PropertyValue> typeProps;
            if (types.is() && (types->getByName(type) >>= typeProps))
                for (const auto& p : std::as_const(typeProps))
                    if (p.Name == "PreferredFilter") p.Value >>= filter;
        }
        if (filter.isEmpty()) return OFFICE_E_UNKNOWN_FORMAT;

        OUString options;
        if (type == "generic_Text") {
            // Whatever the office cannot place is offered as plain text, random bytes and
            // damaged documents included. Its plain text import reads UTF-8 only: other text is
            // read as Russian Windows text, as a Russian Word reads it.
            switch (ClassifyText(path)) {
            case TextKind::Binary: return OFFICE_E_NOT_DOCUMENT;
            case TextKind::Utf16:
                filter = "Text (encoded)";
                options = "UNICODE";
                break;
            case TextKind::SingleByte:
                filter = "Text (encoded)";
                options = "MS_1251,CRLF";
                break;
            case TextKind::Utf8: break;
            }
        }

        std::vector<css::beans::PropertyValue> props{
            Property("URL", css::uno::Any(Ou(url))),
            Property("FilterName", css::uno::Any(filter)),
            Property("ReadOnly", css::uno::Any(readOnly)),
            Property("MacroExecutionMode", css::uno::Any(sal_Int16(0))), // never
            Property("UpdateDocMode", css::uno::Any(sal_Int16(0))),      // no update of links
        };
        if (!options.isEmpty()) props.push_back(Property("FilterOptions", css::uno::Any(options)));

        // A model without a frame or view: no layout, and no comment windows (which cannot be
        // built without the office's dialog files and crash it).
        Reference<css::frame::XLoadable> loadable(
            factory_->createInstanceWithContext(OUString("com.sun.star.text.TextDocument"), context_), UNO_QUERY_THROW);
        try {
            loadable->load(Sequence<css::beans::PropertyValue>(props.data(), static_cast<sal_Int32>(props.size())));
        } catch (...) {
            try {
                Reference<css::util::XCloseable>(loadable, UNO_QUERY_THROW)->close(true);
            } catch (const css::uno::Exception&) {
            }
            throw;
        }
        document.set(loadable, UNO_QUERY_THROW);
        return S_OK;
    });
    officeLost = !running_ && !detected;
    return hr;
}

HRESULT OfficeSession::Load(const std::string& path, bool readOnly, Reference<css::lang::XComponent>& document)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return errno == ENOENT ? STG_E_FILENOTFOUND : HresultFromErrno(errno);
    if (!S_ISREG(st.st_mode)) return OFFICE_E_UNKNOWN_FORMAT;
    // The office would make an empty document of it: there is nothing to convert.
    if (st.st_size == 0) return OFFICE_E_EMPTY;

    const std::string url = FileUrl(ReadablePath(path));
    for (int attempt = 0;; ++attempt) {
        HRESULT hr = EnsureRunning();
        if (Failed(hr)) return hr;
        bool lostBeforeReading = false;
        hr = LoadOnce(url, path, readOnly, document, lostBeforeReading);
        // An office that was already gone before this file was looked at is not the file's
        // fault: one more try on a new office.
        if (hr == OFFICE_E_ENDED && lostBeforeReading && attempt == 0) continue;
        return hr;
    }
}

namespace {
// The extension of a path when it is plain ASCII (type detection looks at it), else nothing.
std::string AsciiExtension(const std::string& path)
{
    const std::string ext = std::filesystem::path(path).extension().string();
    for (unsigned char c : ext)
        if (c >= 0x80 || c == '/') return {};
    return ext;
}
} // namespace

std::string OfficeSession::ReadablePath(const std::string& path)
{
    if (IsUtf8(path)) return path;
    const std::string scratch = process_.ScratchDir();
    if (scratch.empty()) return path;
    const std::string link = scratch + "/in" + std::to_string(++links_) + AsciiExtension(path);
    return ::symlink(path.c_str(), link.c_str()) == 0 ? link : path;
}

OfficeSession::SaveTarget OfficeSession::WritablePath(const std::string& path)
{
    if (IsUtf8(path)) return {path, {}};
    const std::filesystem::path target(path);
    const std::string scratch = process_.ScratchDir();
    if (scratch.empty()) return {path, {}};
    const std::string folderLink = scratch + "/out" + std::to_string(++links_);
    const std::string folder = target.parent_path().empty() ? "." : target.parent_path().string();
    if (::symlink(std::filesystem::absolute(folder).c_str(), folderLink.c_str()) != 0) return {path, {}};
    // In the target's own folder, so that the rename cannot cross file systems.
    const std::string name = ".wordstrip-" + std::to_string(::getpid()) + "-" + std::to_string(links_) + AsciiExtension(path);
    return {folderLink + "/" + name, (target.parent_path() / name).string()};
}

void OfficeSession::Quit()
{
    quit_ = true;
    if (running_) {
        watchdog_.Arm(process_.Group(), 20s);
        try {
            desktop_->terminate();
        } catch (const css::uno::Exception&) {
            // The office may go away before it answers.
        }
        watchdog_.Disarm();
    }
    Forget();
    if (process_.Started()) process_.WaitExit(10s);
    process_.End();
}

} // namespace wordstrip::office
