#include "SystemError.h"

#include "automation/Hresult.h"

#include <cstring>
#include <string_view>

namespace wordstrip {
namespace {

int lastError = 0;

std::optional<std::string> DescribeErrno(int code)
{
    // strerror names unknown codes too ("Unknown error 1234"): those count as unknown here.
    const char* text = std::strerror(code);
    if (!text || std::string_view(text).starts_with("Unknown error")) return std::nullopt;
    return std::string(text);
}

} // namespace

int LastError() { return lastError; }
void SetLastError(int code) { lastError = code; }

std::optional<std::string> DescribeSystemCode(std::uint32_t code)
{
    if (code < 0x10000) return DescribeErrno(static_cast<int>(code));
    if (auto text = DescribeHresult(code)) return std::string(*text);
    // Failures carried over from system calls (facility 7) are described as the call's errno.
    if ((code & 0xFFFF0000u) == 0x80070000u) return DescribeErrno(static_cast<int>(code & 0xFFFF));
    return std::nullopt;
}

} // namespace wordstrip
