#pragma once
// The "last error" of the run, and the descriptions of system codes shown after a message.
// Codes below 0x10000 are errno values (they stand where the Windows error codes were);
// larger ones are HRESULTs of the automation layer.

#include <cstdint>
#include <optional>
#include <string>

namespace wordstrip {

// Kept separately from errno, which the C library overwrites freely, so that a failure can be
// reported after other calls have run.
int LastError();
void SetLastError(int code);

// The description, or nothing when the system knows none.
std::optional<std::string> DescribeSystemCode(std::uint32_t code);

} // namespace wordstrip
