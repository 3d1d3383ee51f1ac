#include "io/FileIO.h"

#include "io/Error.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folio {
namespace {

std::atomic<BeforeRenameHook> beforeRenameHook{nullptr};

std::string quoted(const std::filesystem::path& p) { return "\"" + p.string() + "\""; }

[[noreturn]] void failOpen(const std::filesystem::path& file, int code)
{
    throw Error("Не удаётся открыть файл " + quoted(file) + ": " + DescribeErrno(code));
}

[[noreturn]] void failWrite(const std::filesystem::path& file, int code)
{
    throw Error("Не удаётся записать файл " + quoted(file) + ": " + DescribeErrno(code));
}

// Reads everything from fd; returns errno on failure, 0 on success.
int readAll(int fd, std::string& out)
{
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0) return 0;
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        out.append(buf, static_cast<size_t>(n));
    }
}

int writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
}

std::optional<std::string> readFile(const std::filesystem::path& file, bool missingIsError)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT && !missingIsError) return std::nullopt;
        failOpen(file, errno);
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        failOpen(file, EISDIR);
    }
    std::string bytes;
    if (st.st_size > 0) bytes.reserve(static_cast<size_t>(st.st_size));
    const int code = readAll(fd, bytes);
    ::close(fd);
    if (code != 0) failOpen(file, code);
    return bytes;
}

} // namespace

std::string ReadWholeFile(const std::filesystem::path& file) { return *readFile(file, true); }

std::optional<std::string> ReadFileIfExists(const std::filesystem::path& file) { return readFile(file, false); }

void WriteFileAtomic(const std::filesystem::path& file, std::string_view bytes)
{
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    std::string pattern = (folder / ("." + file.filename().string() + ".tmp-XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) failWrite(file, errno);
    const std::filesystem::path temporary = pattern;

    // Keep the mode of the file being replaced; a new file gets the usual 0644.
    struct stat st {};
    const mode_t mode = ::stat(file.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    int code = ::fchmod(fd, mode) == 0 ? 0 : errno;
    if (code == 0) code = writeAll(fd, bytes);
    if (::close(fd) != 0 && code == 0) code = errno;
    if (code == 0) {
        if (auto hook = beforeRenameHook.load()) hook(temporary);
        if (::rename(temporary.c_str(), file.c_str()) != 0) code = errno;
    }
    if (code != 0) {
        ::unlink(temporary.c_str());
        failWrite(file, code);
    }
}

void SetBeforeRenameHookForTesting(BeforeRenameHook hook) { beforeRenameHook = hook; }

} // namespace folio
