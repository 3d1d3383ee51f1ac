#include "VersionWriter.h"

namespace wordstrip {

const VersionStrings& ProgramVersion()
{
    static const VersionStrings version{
        "Word OLE Document Converter",
        "1.5",
        "",
        "Copyright (C) 2026 The folioset developers. Free to use, copy and change.",
    };
    return version;
}

[[noreturn]] void WriteVersion(RunContext& ctx)
{
    const VersionStrings& v = ProgramVersion();
    Reporter& r = ctx.reporter;
    r.WriteText(Stream::Out, "WORDSTRIP");
    if (!v.fileDescription.empty()) r.PrintFormatted(Stream::Out, " - %1", {v.fileDescription});
    if (!v.productVersion.empty()) r.PrintFormatted(Stream::Out, ", Ver.%1", {v.productVersion});
    if (!v.specialBuild.empty()) r.PrintFormatted(Stream::Out, " (%1)", {v.specialBuild});
    if (!v.legalCopyright.empty()) r.PrintFormatted(Stream::Out, "%n%1", {v.legalCopyright});
    r.WriteText(Stream::Out, "\n");
    r.EndProcess(0);
}

} // namespace wordstrip
