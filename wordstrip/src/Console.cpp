#include "Console.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace wordstrip {

Console Console::Standard()
{
    bool open[3];
    for (int fd = 0; fd < 3; ++fd) open[fd] = ::fcntl(fd, F_GETFD) != -1 || errno != EBADF;
    for (int fd = 0; fd < 3; ++fd) {
        if (open[fd]) continue;
        // The lowest free descriptor is taken, which is this one: the ones below are open.
        const int placeholder = ::open("/dev/null", O_RDWR);
        if (placeholder >= 0 && placeholder != fd) ::close(placeholder);
    }
    return Console(open[1] ? 1 : -1, open[2] ? 2 : -1);
}

bool Console::WriteText(Stream stream, std::string_view text) const
{
    const int fd = stream == Stream::Out ? outFd_ : errFd_;
    if (fd < 0) {
        errno = EBADF;
        return false;
    }
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR) continue; // a signal arrived (Ctrl-C); the write itself goes on
            return false;
        }
        text.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

} // namespace wordstrip
