#pragma once
// One office process: started without a shell in a process group of its own, with a private
// profile folder and a pipe name nobody else uses, so that runs side by side never meet and
// the whole group can be ended at once.

#include <chrono>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace wordstrip::office {

class OfficeProcess {
public:
    OfficeProcess() = default;
    OfficeProcess(const OfficeProcess&) = delete;
    OfficeProcess& operator=(const OfficeProcess&) = delete;
    // Ends the group and removes the profile folder.
    ~OfficeProcess();

    // Starts the office listening on a new pipe. Returns 0 or an errno value.
    int Start(const std::string& programDir);

    // A folder of the run's own (inside the profile folder, removed with it).
    std::string ScratchDir();

    // The UNO address of the started office's component context.
    const std::string& ConnectUrl() const { return connectUrl_; }
    pid_t Group() const { return pid_; }
    bool Started() const { return pid_ > 0; }

    // The process we started has ended (it is kept as a zombie so the group id stays ours).
    bool Exited() const;
    // Waits until it has ended, at most the given time.
    bool WaitExit(std::chrono::milliseconds limit) const;
    // Kills whatever is left of the group and collects the process.
    void End();

private:
    bool MakeProfile();
    void StartReaper();
    void StopReaper();

    pid_t pid_ = -1;
    pid_t reaper_ = -1;   // kills the group should this process die without ending it
    int reaperPipe_ = -1; // its end of the reaper's pipe
    std::string profileDir_;
    std::string connectUrl_;
};

// A file URL for a local path, its bytes percent-encoded as they stand.
std::string FileUrl(const std::string& path);

bool IsUtf8(std::string_view text);

} // namespace wordstrip::office
