#include "workers/VtFTPSend.h"

namespace folio {

TVtFTPSend::TVtFTPSend(SendJob send, CloseConnection disconnect)
    : send_(std::move(send)), disconnect_(std::move(disconnect))
{
}

TVtFTPSend::~TVtFTPSend() { Stop(); }

void TVtFTPSend::SetJob(std::string jobFile)
{
    std::lock_guard lock(jobMutex_);
    job_ = std::move(jobFile);
}

void TVtFTPSend::Disconnect()
{
    if (disconnect_) disconnect_();
}

void TVtFTPSend::Step()
{
    std::string job;
    {
        std::lock_guard lock(jobMutex_);
        job.swap(job_);
    }
    if (!job.empty() && send_) send_(job, [this] { return StopRequested(); });
    SuspendSelf();
}

} // namespace folio
