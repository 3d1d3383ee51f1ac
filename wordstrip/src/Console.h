#pragma once
// The two standard streams, written straight to their descriptors: no buffering, no conversion,
// so messages and the bytes of a converted file reach the user in the order they were written.

#include <string_view>

namespace wordstrip {

enum class Stream { Out, Err };

class Console {
public:
    Console() = default;
    Console(int outFd, int errFd) : outFd_(outFd), errFd_(errFd) {}

    // The process's own standard streams. One that the process was started without stays
    // unavailable (writes fail with EBADF), and its descriptor is taken by /dev/null so that no
    // file opened later can take its place and receive the messages.
    static Console Standard();

    // Writes the bytes as they are. A closed or unavailable descriptor fails silently.
    // Returns false when not every byte could be written.
    bool WriteText(Stream stream, std::string_view text) const;

private:
    int outFd_ = 1;
    int errFd_ = 2;
};

} // namespace wordstrip
