#pragma once
// The converter's main sequence: parse, dump (-D), convert every argument, shut down.

#include "automation/ClassRegistry.h"

#include <string>
#include <vector>

namespace wordstrip {

// Runs the whole program over an argument vector (args[0] is the program) and returns the
// process exit code: 0 all arguments matched, 1 some matched nothing (or no arguments),
// 3 an error, a warning under -W, or an abort.
int RunWordstrip(std::vector<std::string> args, ClassRegistry classes = MakeStandardClassRegistry());

} // namespace wordstrip
