#pragma once
// One file argument: resolved, searched (wildcards in its last component, -r for sub-folders)
// and every file found converted.

#include "RunContext.h"

#include <string>

namespace wordstrip {

// Returns the number of files found, whether or not their conversion succeeded. When it is 0
// the last error says why (ENOENT when nothing matched).
std::size_t ProcessArgument(RunContext& ctx, const std::string& argument);

} // namespace wordstrip
