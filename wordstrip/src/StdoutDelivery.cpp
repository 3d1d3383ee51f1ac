#include "StdoutDelivery.h"

#include "Abort.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace wordstrip {

std::optional<StdoutTemporary> StdoutTemporary::Create(RunContext& ctx)
{
    std::string pattern = ctx.options.outputFolder + "docXXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkstemp(buffer.data());
    if (fd < 0) {
        ctx.reporter.ReportMessage(msg::StdoutWriteFailed, static_cast<std::uint32_t>(errno));
        return std::nullopt;
    }
    ::close(fd);
    return StdoutTemporary(ctx, std::string(buffer.data()));
}

StdoutTemporary::StdoutTemporary(StdoutTemporary&& other) noexcept
    : ctx_(other.ctx_), path_(std::move(other.path_)), removed_(other.removed_)
{
    other.removed_ = true;
}

StdoutTemporary::~StdoutTemporary() { Remove(); }

void StdoutTemporary::Remove()
{
    if (removed_) return;
    removed_ = true;
    ::unlink(path_.c_str());
    if (ctx_->options.formatIndex == 8 && !ctx_->options.Has(flag::Debug)) {
        // The companion folder of an HTML page: the name up to its last "." (looked for in the
        // file name only, never in the folders above it) and ".files".
        const size_t fileStart = path_.rfind('/') + 1;
        const size_t dot = path_.rfind('.');
        const std::string folder = (dot != std::string::npos && dot >= fileStart ? path_.substr(0, dot) : path_) + ".files";
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
}

void StdoutTemporary::Deliver()
{
    int error = 0;
    if (!Aborting()) {
        const std::size_t written = CopyToStdout(*ctx_, path_, error);
        if (written > 0) ctx_->reporter.WriteText(Stream::Out, "\n");
        if (Aborting()) error = 0;
    }
    Remove();
    if (error != 0) ctx_->reporter.ReportMessage(msg::StdoutWriteFailed, static_cast<std::uint32_t>(error));
}

std::size_t CopyToStdout(const RunContext& ctx, const std::string& path, int& error)
{
    error = 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return 0;
    }
    std::size_t total = 0;
    std::vector<char> buffer(64 * 1024);
    while (!Aborting()) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = errno;
            break;
        }
        if (n == 0) break;
        if (!ctx.console.WriteText(Stream::Out, std::string_view(buffer.data(), static_cast<size_t>(n)))) {
            error = errno != 0 ? errno : EIO;
            break;
        }
        total += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return total;
}

} // namespace wordstrip
