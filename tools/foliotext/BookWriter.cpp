#include "BookWriter.h"

#include "FileIo.h"

#include "text/Cp1251.h"

namespace foliotext {

bool WriteBookLines(int fd, const std::vector<std::string>& lines, bool utf8, std::string& reason)
{
    constexpr size_t kFlushAt = 1 << 16;
    std::string buffer;
    buffer.reserve(2 * kFlushAt);
    for (const std::string& line : lines) {
        buffer += utf8 ? folio::cp1251::ToUtf8(line) : line;
        buffer += "\r\n";
        if (buffer.size() >= kFlushAt) {
            if (!WriteAll(fd, buffer.data(), buffer.size(), reason)) return false;
            buffer.clear();
        }
    }
    return WriteAll(fd, buffer.data(), buffer.size(), reason);
}

} // namespace foliotext
