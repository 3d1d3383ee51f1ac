#pragma once
// The connection to one office process for the whole run: started on demand, every call made
// under a watchdog that ends a hung office, office exceptions turned into HRESULTs, and a new
// office started after one has died.

#include "OfficeProcess.h"
#include "automation/Hresult.h"

#include <com/sun/star/document/XTypeDetection.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace wordstrip::office {

namespace css = com::sun::star;
using css::uno::Reference;

// Kills the office's process group when a call outlives its limit.
class Watchdog {
public:
    Watchdog();
    ~Watchdog();
    void Arm(pid_t group, std::chrono::milliseconds limit);
    // Returns whether it fired since it was armed.
    bool Disarm();
    bool Fired();
    // It fired because a Ctrl-C cut the call short.
    bool FiredForAbort();

private:
    void Run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread thread_;
    bool stop_ = false;
    bool armed_ = false;
    bool fired_ = false;
    bool shortened_ = false;
    pid_t group_ = -1;
    std::chrono::steady_clock::time_point deadline_;
};

// What a call was doing, for the meaning of a generic input/output failure.
enum class Operation { Read, Write, Other };

class OfficeSession {
public:
    OfficeSession();
    ~OfficeSession();

    HRESULT Start();
    // Starts a new office when the last one has ended.
    HRESULT EnsureRunning() { return running_ ? S_OK : quit_ ? RPC_E_DISCONNECTED : Start(); }
    bool Running() const { return running_; }
    // Increases with every office started; objects of an earlier one are dead.
    unsigned Generation() const { return generation_; }

    // Runs body under the watchdog; exceptions become HRESULTs, and an office that hung or
    // died is ended (the next EnsureRunning starts another).
    HRESULT Call(Operation operation, const std::function<HRESULT()>& body);

    // Opens a document without a view, read-only, macros off. The result is the model.
    HRESULT Load(const std::string& path, bool readOnly, Reference<css::lang::XComponent>& document);

    // Paths the office can take. It reads file URLs as UTF-8: a path that is not UTF-8 (a
    // Windows Cyrillic file name) is reached through a symbolic link of the run's own, and
    // saved under a UTF-8 name in its folder and renamed afterwards.
    std::string ReadablePath(const std::string& path);
    struct SaveTarget {
        std::string officePath; // where the office writes
        std::string finalPath;  // where it must end up (empty: the same)
    };
    SaveTarget WritablePath(const std::string& path);

    // Ends the office: terminate, wait, then kill what is left of its group.
    void Quit();
    // Ends the office at once (last resort).
    void Kill();

    const Reference<css::uno::XComponentContext>& Context() const { return context_; }
    const Reference<css::lang::XMultiComponentFactory>& Factory() const { return factory_; }

private:
    void Forget();
    HRESULT LoadOnce(const std::string& url, const std::string& path, bool readOnly,
                     Reference<css::lang::XComponent>& document, bool& officeLost);

    OfficeProcess process_;
    Watchdog watchdog_;
    bool running_ = false;
    bool quit_ = false; // after Quit nothing starts the office again
    unsigned links_ = 0;
    unsigned generation_ = 0;
    std::chrono::milliseconds callLimit_;
    std::chrono::milliseconds startLimit_;
    Reference<css::uno::XComponentContext> context_;
    Reference<css::lang::XMultiComponentFactory> factory_;
    Reference<css::frame::XDesktop2> desktop_;
    Reference<css::document::XTypeDetection> detection_;
};

} // namespace wordstrip::office
