#include "OfficeProcess.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace wordstrip::office {
namespace {

std::string TempRoot()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string root = tmp && *tmp ? tmp : "/tmp";
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return root;
}

std::string UniqueSuffix()
{
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d_%u_%08x", static_cast<int>(::getpid()), ++counter, rd());
    return buffer;
}

} // namespace

std::string FileUrl(const std::string& path)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
        if (plain) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

bool IsUtf8(std::string_view text)
{
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const size_t extra = c < 0x80                          ? 0
                             : (c & 0xE0) == 0xC0 && c >= 0xC2 ? 1
                             : (c & 0xF0) == 0xE0              ? 2
                             : (c & 0xF8) == 0xF0 && c <= 0xF4 ? 3
                                                               : 9;
        if (extra == 9 || i + extra >= text.size()) return false;
        for (size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

std::string OfficeProcess::ScratchDir()
{
    if (!MakeProfile()) return {};
    const std::string dir = profileDir_ + "/names";
    std::error_code ec;
    std::filesystem::create_directory(dir, ec);
    return dir;
}

OfficeProcess::~OfficeProcess()
{
    End();
    if (!profileDir_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(profileDir_, ec);
    }
}

bool OfficeProcess::MakeProfile()
{
    if (!profileDir_.empty()) return true; // a restart keeps the run's profile
    std::string pattern = TempRoot() + "/wordstrip-office-XXXXXX";
    if (!::mkdtemp(pattern.data())) return false;
    profileDir_ = pattern;
    return true;
}

int OfficeProcess::Start(const std::string& programDir)
{
    End();
    if (!MakeProfile()) return errno;
    const std::string pipe = "wordstrip_" + UniqueSuffix();
    connectUrl_ = "uno:pipe,name=" + pipe + ";urp;StarOffice.ComponentContext";

    // oosplash is what the soffice script runs; it restarts the office after it has made a
    // new profile, which the office itself does not.
    const std::string program = programDir + "/oosplash";
    std::vector<std::string> args{program,
                                  "--headless",
                                  "--invisible",
                                  "--nologo",
                                  "--nodefault",
                                  "--norestore",
                                  "--nolockcheck",
                                  "--nofirststartwizard",
                                  "-env:UserInstallation=" + FileUrl(profileDir_),
                                  "--accept=pipe,name=" + pipe + ";urp;StarOffice.ComponentContext"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    // File names reach the office as UTF-8 URLs: it must run in a UTF-8 locale.
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string_view entry = *e;
        if (entry.starts_with("LC_ALL=") || entry.starts_with("LANGUAGE=")) continue;
        env.emplace_back(entry);
    }
    env.emplace_back("LC_ALL=C.UTF-8");
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Its output must never mix with ours (-s writes the document to standard output), and it
    // must not hold any other descriptor of ours open.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);

    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    // A group of its own: Ctrl-C at the terminal reaches us, not the office, and the whole
    // group can be killed. Our signal dispositions (SIGPIPE ignored) and mask are not passed on.
    posix_spawnattr_setpgroup(&attr, 0);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int sig : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&defaults, sig);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, program.c_str(), &actions, &attr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) return rc;
    pid_ = pid;
    StartReaper();
    return 0;
}

// A process of ours that outlives us only to end the office: were this program killed
// (SIGKILL, a crash), nothing else would. It waits on a pipe whose other end only we hold; an
// end of file without the word that the office is gone kills the group.
void OfficeProcess::StartReaper()
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    const pid_t group = pid_;
    // Forked, not spawned: it must know nothing but the pipe and the group. Other threads may
    // hold locks, so the child makes only async-signal-safe calls.
    const pid_t child = ::fork();
    if (child == 0) {
        if (fds[0] != 0) {
            ::dup2(fds[0], 0);
        }
        ::close_range(1, ~0U, 0);
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) ::sigaction(sig, &ignore, nullptr);
        char word = 0;
        ssize_t n;
        do {
            n = ::read(0, &word, 1);
        } while (n < 0 && errno == EINTR);
        if (n <= 0) ::kill(-group, SIGKILL);
        ::_exit(0);
    }
    ::close(fds[0]);
    if (child < 0) {
        ::close(fds[1]);
        return;
    }
    reaper_ = child;
    reaperPipe_ = fds[1];
}

void OfficeProcess::StopReaper()
{
    if (reaperPipe_ >= 0) {
        const char word = 'x';
        while (::write(reaperPipe_, &word, 1) < 0 && errno == EINTR) {
        }
        ::close(reaperPipe_);
        reaperPipe_ = -1;
    }
    if (reaper_ > 0) {
        while (::waitpid(reaper_, nullptr, 0) < 0 && errno == EINTR) {
        }
        reaper_ = -1;
    }
}

bool OfficeProcess::Exited() const
{
    if (pid_ <= 0) return true;
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return true;
    return info.si_pid == pid_;
}

bool OfficeProcess::WaitExit(std::chrono::milliseconds limit) const
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!Exited()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void OfficeProcess::End()
{
    if (pid_ <= 0) return;
    // The leader is not collected before the kill, so its group id cannot have been reused.
    ::kill(-pid_, SIGKILL);
    while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    StopReaper();
}

} // namespace wordstrip::office
