#include "workers/ParkedThread.h"

namespace folio {

ParkedThread::~ParkedThread()
{
    // Derived classes stop the thread in their own destructor, while their members still
    // exist; this is the last line of defence.
    Stop();
}

void ParkedThread::Start()
{
    if (!thread_.joinable()) thread_ = std::thread(&ParkedThread::Loop, this);
}

void ParkedThread::Resume()
{
    {
        std::lock_guard lock(mutex_);
        suspended_ = false;
        ++resumeCount_;
    }
    wake_.notify_all();
}

void ParkedThread::Suspend()
{
    std::lock_guard lock(mutex_);
    suspended_ = true;
}

bool ParkedThread::Suspended() const
{
    std::lock_guard lock(mutex_);
    return suspended_;
}

void ParkedThread::Stop()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void ParkedThread::Loop()
{
    for (;;) {
        unsigned long resumesBefore;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stop_.load() || !suspended_; });
            if (stop_) return;
            resumesBefore = resumeCount_;
        }
        parkAfterStep_ = false;
        Step();
        if (parkAfterStep_) {
            std::lock_guard lock(mutex_);
            if (resumeCount_ == resumesBefore) suspended_ = true;
        }
    }
}

} // namespace folio
