#include "FileIo.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace foliotext {
namespace {

bool ReadFd(int fd, std::string& bytes, std::string& reason)
{
    struct stat st{};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) bytes.reserve(static_cast<size_t>(st.st_size));
    char chunk[1 << 16];
    for (;;) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            reason = std::strerror(errno);
            return false;
        }
        bytes.append(chunk, static_cast<size_t>(n));
    }
}

} // namespace

bool WriteAll(int fd, const char* data, size_t size, std::string& reason)
{
    const char* p = data;
    size_t left = size;
    while (left > 0) {
        const ssize_t n = write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            reason = std::strerror(errno);
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

namespace {

mode_t DefaultFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

} // namespace

bool ReadStdin(std::string& bytes, std::string& reason) { return ReadFd(STDIN_FILENO, bytes, reason); }

bool ReadFile(const std::string& path, std::string& bytes, std::string& reason)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    const bool ok = ReadFd(fd, bytes, reason);
    close(fd);
    return ok;
}

bool WriteFileAtomically(const std::string& path, const FdWriter& write, std::string& reason)
{
    const std::filesystem::path target(path);
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    // Keep an existing file's permissions; a new file gets the usual ones.
    struct stat st{};
    const mode_t mode = stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : DefaultFileMode();
    bool ok = fchmod(fd, mode) == 0 && write(fd, reason) && fsync(fd) == 0;
    if (!ok && reason.empty()) reason = std::strerror(errno);
    if (close(fd) != 0 && ok) {
        ok = false;
        reason = std::strerror(errno);
    }
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        reason = std::strerror(errno);
    }
    if (!ok) unlink(temp.c_str());
    return ok;
}

} // namespace foliotext
