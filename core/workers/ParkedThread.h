#pragma once
// A background thread that is created parked and runs only while resumed: the shape of
// both workbench workers. The owner resumes it when there is work; the worker parks itself
// again when it runs out. Stop() ends it without waiting for the work in progress: the
// worker checks StopRequested() between its file operations, each of which is atomic, so
// stopping never leaves a file half-written.

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace folio {

class ParkedThread {
public:
    ParkedThread() = default;
    virtual ~ParkedThread();
    ParkedThread(const ParkedThread&) = delete;
    ParkedThread& operator=(const ParkedThread&) = delete;

    // Starts the thread, parked. Called once by the owner after construction.
    void Start();
    void Resume();
    // Parks the thread once the step in progress is done.
    void Suspend();
    bool Suspended() const;
    // Ends the thread: waits only for the file operation in progress. Safe to call twice.
    void Stop();

protected:
    // One step of work; the loop calls it again while the thread stays resumed.
    virtual void Step() = 0;
    bool StopRequested() const { return stop_.load(); }
    // Parks the thread after the current step (the worker found no more work), unless the
    // owner resumed it meanwhile: a resume is never lost.
    void SuspendSelf() { parkAfterStep_ = true; }

private:
    void Loop();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool suspended_ = true;
    unsigned long resumeCount_ = 0;
    bool parkAfterStep_ = false; // only touched by the worker thread
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace folio
