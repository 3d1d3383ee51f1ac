#pragma once
// Runs the real wordstrip program: arguments in; standard output, standard error and the exit
// code out. The child gets a clean environment of its own: no registry of the user, a private
// temporary folder, and the recording server's variables only when a test sets them.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace wstest {

struct RunResult {
    int exitCode = -1;  // or 128 + signal when killed
    std::string out;
    std::string err;
};

struct RunSetup {
    std::filesystem::path cwd;                  // required
    std::map<std::string, std::string> env;     // added to (and overriding) the base environment
    std::vector<int> keepFds;                   // descriptors the child inherits
    // Standard output as a pipe read by the test, closed in the child, or a pipe whose
    // reader has gone away before the child writes.
    enum class Stdout { Pipe, Closed, ReaderGone } stdoutMode = Stdout::Pipe;
};

// The program's environment for a test: the parent's, minus the variables that would reach
// outside the test (XDG_CONFIG_HOME, TMPDIR, WORDSTRIP_*), plus setup.env.
std::vector<std::string> ChildEnvironment(const RunSetup& setup);

RunResult RunWordstrip(const std::vector<std::string>& args, const RunSetup& setup);

// Reads both pipes to their end (together, so a child that fills one cannot block on it) and
// waits for the child. Returns its exit code, or 128 + the signal that killed it. A descriptor
// of -1 is not read.
int DrainAndWait(int pid, int outFd, int errFd, std::string& out, std::string& err);

// A started program whose output is collected when it is waited for.
class RunningWordstrip {
public:
    RunningWordstrip(const std::vector<std::string>& args, const RunSetup& setup);
    ~RunningWordstrip();
    int Pid() const { return pid_; }
    RunResult Wait();

private:
    int pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    bool waited_ = false;
};

} // namespace wstest
