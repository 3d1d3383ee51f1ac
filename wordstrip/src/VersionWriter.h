#pragma once

#include "RunContext.h"

#include <string_view>

namespace wordstrip {

// The program's version strings, compiled in.
struct VersionStrings {
    std::string_view fileDescription;
    std::string_view productVersion;
    std::string_view specialBuild;
    std::string_view legalCopyright;
};
const VersionStrings& ProgramVersion();

// "WORDSTRIP - <description>, Ver.<version> (<special build>)" and the legal notice on the
// next line, each part only when it is not empty; ends the process with code 0.
[[noreturn]] void WriteVersion(RunContext& ctx);

} // namespace wordstrip
