#include "Console.h"

#include <cerrno>
#include <unistd.h>

namespace wordstrip {

bool Console::WriteText(Stream stream, std::string_view text) const
{
    const int fd = stream == Stream::Out ? outFd_ : errFd_;
    if (fd < 0) return false;
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
