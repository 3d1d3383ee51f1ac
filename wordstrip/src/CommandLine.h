#pragma once
// The command line: eighteen options with short letters, clusters and long names.

#include "RunContext.h"

#include <string>
#include <vector>

namespace wordstrip {

// Applies every option in command-line order and arranges the arguments so that the file
// arguments follow the options, in their own order; returns the position of the first file
// argument (args[0] is the program). Errors are reported (and end the run).
size_t ParseCommandLine(RunContext& ctx, std::vector<std::string>& args);

// The defaults that follow the scan: the format, the output folder and the extension.
// Reports 0xCFF2000A when no file argument is left.
void ApplyDefaults(RunContext& ctx, size_t fileCount);

} // namespace wordstrip
