#pragma once

#include "RunContext.h"

namespace wordstrip {

// The short usage on standard error (exit code 1) or the long usage on standard output
// (exit code 0), with the program's own name; ends the process.
[[noreturn]] void WriteUsage(RunContext& ctx, bool longUsage);

} // namespace wordstrip
