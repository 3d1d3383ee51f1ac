#pragma once
// TVtFTPSend: the background FTP sender. The window hands it one job while it is
// suspended and resumes it; it stores that job and parks itself again.

#include "workers/ParkedThread.h"

#include <functional>
#include <mutex>
#include <string>

namespace folio {

class TVtFTPSend : public ParkedThread {
public:
    // Sends one job file; must return between file operations when `stop` says so.
    using SendJob = std::function<void(const std::string& jobFile, const std::function<bool()>& stop)>;
    using CloseConnection = std::function<void()>;

    TVtFTPSend(SendJob send, CloseConnection disconnect);
    ~TVtFTPSend() override;

    // Only while suspended: the job the next resume sends.
    void SetJob(std::string jobFile);
    // Closes the connection to the server, if one is open.
    void Disconnect();

protected:
    void Step() override;

private:
    SendJob send_;
    CloseConnection disconnect_;
    std::mutex jobMutex_;
    std::string job_;
};

} // namespace folio
