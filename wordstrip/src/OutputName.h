#pragma once
// The output file name of one input (not used under -s).

#include "RunContext.h"

#include <optional>
#include <string>

namespace wordstrip {

// The output path, or nothing when the input is skipped (the reason has been reported, except
// for an abort).
std::optional<std::string> MakeOutputName(RunContext& ctx, const std::string& input);

} // namespace wordstrip
