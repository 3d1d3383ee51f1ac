#pragma once
// Cygwin mount points, read from the user registry's copy of the Cygwin mount table
// ("Software\Cygnus Solutions\Cygwin\mounts v2"): the cygdrive prefix and one sub-key per mount
// point, named by its POSIX path, whose value "native" is the folder it stands for.

#include "PathLimits.h"

#include <optional>
#include <string>
#include <string_view>

namespace wordstrip {

class UserRegistry;

// The mapped path, or nothing when the table, the prefix or a mount point does not apply.
std::optional<std::string> MapCygwinPath(std::string_view text, const UserRegistry& registry, std::size_t size = kMaxPath);
// The same over the user's registry file.
std::optional<std::string> MapCygwinPath(std::string_view text, std::size_t size = kMaxPath);

} // namespace wordstrip
