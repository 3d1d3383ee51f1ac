#include "WordstripProcess.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace wstest {

std::vector<std::string> ChildEnvironment(const RunSetup& setup)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        if (name == "XDG_CONFIG_HOME" || name == "TMPDIR" || name.starts_with("WORDSTRIP_")) continue;
        if (setup.env.contains(name)) continue;
        env.push_back(entry);
    }
    for (const auto& [name, value] : setup.env) env.push_back(name + "=" + value);
    return env;
}

RunningWordstrip::RunningWordstrip(const std::vector<std::string>& args, const RunSetup& setup)
{
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (setup.stdoutMode == RunSetup::Stdout::Closed)
        posix_spawn_file_actions_addclose(&actions, 1);
    else
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    for (int fd : setup.keepFds) {
        // Clear close-on-exec in the child only: a dup2 onto itself does that.
        posix_spawn_file_actions_adddup2(&actions, fd, fd);
    }
    posix_spawn_file_actions_addchdir_np(&actions, setup.cwd.c_str());

    std::vector<std::string> argv{WORDSTRIP_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> argp;
    for (auto& a : argv) argp.push_back(a.data());
    argp.push_back(nullptr);
    std::vector<std::string> env = ChildEnvironment(setup);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    if (setup.stdoutMode == RunSetup::Stdout::ReaderGone) {
        // Gone before the child starts, so that its very first write already fails.
        ::close(out[0]);
        out[0] = -1;
    }
    const int rc = posix_spawn(&pid_, WORDSTRIP_PROGRAM, &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    outFd_ = out[0];
    errFd_ = err[0];
    if (rc != 0) throw std::runtime_error(std::string("posix_spawn: ") + std::strerror(rc));
}

RunningWordstrip::~RunningWordstrip()
{
    if (!waited_ && pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (outFd_ >= 0) ::close(outFd_);
    if (errFd_ >= 0) ::close(errFd_);
}

int DrainAndWait(int pid, int outFd, int errFd, std::string& out, std::string& err)
{
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* sinks[2] = {&out, &err};
    int open = (outFd >= 0 ? 1 : 0) + (errFd >= 0 ? 1 : 0);
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char buffer[65536];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<size_t>(n));
            } else {
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

RunResult RunningWordstrip::Wait()
{
    RunResult result;
    result.exitCode = DrainAndWait(pid_, outFd_, errFd_, result.out, result.err);
    waited_ = true;
    return result;
}

RunResult RunWordstrip(const std::vector<std::string>& args, const RunSetup& setup)
{
    RunningWordstrip running(args, setup);
    return running.Wait();
}

} // namespace wstest
