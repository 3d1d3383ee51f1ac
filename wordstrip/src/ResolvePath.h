#pragma once
// From a path argument to a full path: Windows, Cygwin (POSIX) and shell-style forms accepted.

#include "PathLimits.h"

#include <optional>
#include <string>
#include <string_view>

namespace wordstrip {

// The path syntax of the arguments, made plain: "/" and "\" are both separators and a run of
// them is one; "//d/..." is drive d; a leading "\\" (a network path) is kept; a leading "~" is
// %HOME%; $NAME and ${NAME} become %NAME%. Nothing when the text is empty or the result would
// not fit in `size` (counting the terminating zero; last error ENAMETOOLONG).
std::optional<std::string> ConvertPathSyntax(std::string_view text, std::size_t size = kMaxPath);

// %NAME% references replaced by their values; an undefined one stays as written.
std::string ExpandEnvironmentReferences(std::string_view text);

struct ResolvedPath {
    std::string path;           // full path
    std::size_t lastComponent;  // where its last component begins
};

// The argument as a full path: Cygwin mount mapping for "/..." when allowed, the syntax above,
// %NAME% expansion, then made absolute against the current folder with "." and ".." resolved.
// A drive letter ("c:/...") stands for the root of the file system. Nothing on failure, with
// the last error set (EINVAL for an empty argument, ENAMETOOLONG past `size`).
std::optional<ResolvedPath> ResolvePath(std::string_view argument, bool allowCygwin, std::size_t size = kMaxPath);

} // namespace wordstrip
