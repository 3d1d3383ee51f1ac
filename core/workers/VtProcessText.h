#pragma once
// TVtProcessText: the background processing worker. It takes queued projects one by one
// and processes them; with nothing queued it parks itself.

#include "workers/ParkedThread.h"

#include <functional>
#include <optional>

namespace folio {

class TVtProcessText : public ParkedThread {
public:
    // Asks the window (on its thread) for the next queued project id; empty when the queue
    // is empty. Set by the owner before the first Resume().
    using TakeNextProject = std::function<std::optional<long long>()>;
    // Processes one project; must return between file operations when `stop` says so.
    using ProcessProject = std::function<void(long long projectId, const std::function<bool()>& stop)>;

    TVtProcessText(TakeNextProject takeNext, ProcessProject process);
    ~TVtProcessText() override;

protected:
    void Step() override;

private:
    TakeNextProject takeNext_;
    ProcessProject process_;
};

} // namespace folio
