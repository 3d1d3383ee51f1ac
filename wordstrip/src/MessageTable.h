#pragma once
// The program's message table (English texts; lines end with LF).

#include "MessageIds.h"

#include <optional>
#include <string_view>

namespace wordstrip {

std::optional<std::string_view> LookupMessage(MessageId id);

} // namespace wordstrip
