#include "OfficeFixture.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace wstest {
namespace {

// UTF-8 Cyrillic (U+0410..U+044F, Ё, ё) and ASCII to cp1251.
std::string ToCp1251(const std::string& utf8)
{
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        const unsigned code = ((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
        if (code >= 0x410 && code <= 0x44F) out += static_cast<char>(0xC0 + (code - 0x410));
        else if (code == 0x401) out += static_cast<char>(0xA8);
        else if (code == 0x451) out += static_cast<char>(0xB8);
        else throw std::runtime_error("not in the test alphabet");
    }
    return out;
}

void Spawn(pid_t& pid, const std::vector<std::string>& argv, const RunSetup& setup, int outFd, int errFd, bool ownGroup)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    posix_spawn_file_actions_adddup2(&actions, errFd, 2);
    posix_spawn_file_actions_addchdir_np(&actions, setup.cwd.c_str());
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    if (ownGroup) {
        posix_spawnattr_setpgroup(&attr, 0);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    }
    std::vector<std::string> args = argv;
    std::vector<char*> argp;
    for (auto& a : args) argp.push_back(a.data());
    argp.push_back(nullptr);
    std::vector<std::string> env = ChildEnvironment(setup);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    const int rc = posix_spawn(&pid, args[0].c_str(), &actions, &attr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) throw std::runtime_error(std::string("posix_spawn: ") + std::strerror(rc));
}

} // namespace

std::string Cp1251(const std::string& utf8) { return ToCp1251(utf8); }

std::string RtfText(const std::string& utf8)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : ToCp1251(utf8)) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += "\\'";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

// The same text with every Cyrillic letter as a \uN escape: the office's RTF import reads
// \'xx escapes in comments as cp1252 whatever the document's code page.
std::string RtfUnicodeText(const std::string& utf8)
{
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        const unsigned code = ((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
        out += "\\u" + std::to_string(code) + "?";
    }
    return out;
}

namespace {
const char* kRtfHead = "{\\rtf1\\ansi\\ansicpg1251\\deff0\n"
                       "{\\fonttbl{\\f0\\froman\\fcharset204 Times New Roman;}}\n"
                       "{\\stylesheet{\\s0 Normal;}{\\s15\\sbasedon0 \\b\\fs32 Glava;}{\\*\\cs16 \\i Vydelenie;}}\n";
}

std::string BookRtf()
{
    return std::string(kRtfHead) + "{\\pard\\s15\\b\\fs32 " + RtfText("Глава первая") + "\\par}\n" +
           "{\\pard\\s0 " + RtfText("Привет, ") + "{\\cs16\\i " + RtfText("мир") + "}!" +
           "{\\*\\atnid AB}{\\*\\atnauthor Ivan}\\chatn{\\*\\annotation " + RtfUnicodeText("Замечание редактора") + "}\\par}\n" +
           "{\\pard\\s0 " + RtfText("Второй абзац, ёж.") + "{\\*\\atnid CD}{\\*\\atnauthor Petr}\\chatn{\\*\\annotation second}\\par}\n}\n";
}

std::string LargeRtf()
{
    std::string rtf = kRtfHead;
    const std::string line = "{\\pard\\s0 " + RtfText("Длинная строка текста для проверки записи, номер ") ;
    for (int n = 0; n < 10000; ++n) rtf += line + std::to_string(n) + "\\par}\n";
    return rtf + "}\n";
}

std::string PictureRtf()
{
    // 8 by 8 pixels, red.
    static const char* kPng = "89504e470d0a1a0a0000000d49484452000000080000000808020000004b6d29dc0000001249444154789c63f8"
                              "cfc0801561171db4120028ff3fc16eecdf610000000049454e44ae426082";
    return std::string("{\\rtf1\\ansi{\\pard Picture: {\\pict\\pngblip\\picw8\\pich8\\picwgoal600\\pichgoal600 ") + kPng +
           "}\\par}}\n";
}

std::string BookText() { return Cp1251("Глава первая\r\nПривет, мир!\r\nВторой абзац, ёж.\r\n"); }

std::vector<std::pair<pid_t, std::string>> ProcessesMentioning(const std::string& text)
{
    std::vector<std::pair<pid_t, std::string>> found;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream in(entry.path() / "cmdline", std::ios::binary);
        std::string cmdline((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (char& c : cmdline)
            if (c == '\0') c = ' ';
        if (cmdline.find(text) != std::string::npos) found.emplace_back(std::stoi(name), cmdline);
    }
    return found;
}

LiveRun::LiveRun(const std::vector<std::string>& argv, const RunSetup& setup)
{
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    Spawn(pid_, argv, setup, out[1], err[1], true);
    ::close(out[1]);
    ::close(err[1]);
    outFd_ = out[0];
    errFd_ = err[0];
}

LiveRun::~LiveRun()
{
    if (!waited_ && pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (outFd_ >= 0) ::close(outFd_);
    if (errFd_ >= 0) ::close(errFd_);
}

bool LiveRun::WaitForOutput(const std::string& text)
{
    while (out_.find(text) == std::string::npos) {
        char buffer[4096];
        const ssize_t n = ::read(outFd_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        out_.append(buffer, static_cast<size_t>(n));
    }
    return true;
}

RunResult LiveRun::Finish()
{
    RunResult result;
    result.exitCode = DrainAndWait(pid_, outFd_, errFd_, out_, err_);
    waited_ = true;
    result.out = out_;
    result.err = err_;
    return result;
}

void OfficeRunTest::TearDown()
{
    const std::string marker = fs::weakly_canonical(Tmp()).string();
    const auto left = ProcessesMentioning(marker);
    for (const auto& [pid, cmdline] : left) {
        ADD_FAILURE() << "office process left behind: " << pid << " " << cmdline;
        ::kill(pid, SIGKILL);
    }
    for (const auto& entry : fs::directory_iterator(Tmp()))
        EXPECT_FALSE(entry.path().filename().string().starts_with("wordstrip-office-")) << "profile left: " << entry.path();
}

RunResult OfficeRunTest::RunOffice(const std::vector<std::string>& args, RunSetup setup) const
{
    return RunWordstrip(args, setup);
}

LiveRun OfficeRunTest::StartOffice(const std::vector<std::string>& args, const RunSetup& setup) const
{
    std::vector<std::string> argv{WORDSTRIP_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    return LiveRun(argv, setup);
}

void OfficeRunTest::OfficeConvert(const std::string& format, const std::vector<fs::path>& inputs, const fs::path& outdir) const
{
    const fs::path profile = Tmp() / "fixture-profile";
    std::vector<std::string> argv{std::string(WORDSTRIP_OFFICE_PROGRAM_DIR) + "/soffice",
                                  "-env:UserInstallation=file://" + profile.string(),
                                  "--headless", "--norestore", "--convert-to", format, "--outdir", outdir.string()};
    for (const auto& in : inputs) argv.push_back(in.string());
    RunSetup setup = Setup();
    setup.env["LC_ALL"] = "C.UTF-8";
    LiveRun run(argv, setup);
    const pid_t group = run.Pid();
    const RunResult r = run.Finish();
    ::kill(-group, SIGKILL); // anything of it still around
    ASSERT_EQ(r.exitCode, 0) << r.err;
}

} // namespace wstest
