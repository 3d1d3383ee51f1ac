#pragma once
// The message reporter: numbered messages of the message table, routed by severity and by the
// quiet, debug and exit-on-warning options; errors (and warnings under -W) end the run.

#include "Console.h"
#include "ConvertOptions.h"
#include "MessageFormat.h"
#include "MessageIds.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string_view>

namespace wordstrip {

// Thrown to end the process with an exit code once everything has been said and the office
// has been shut down; caught only at the program's entry.
struct ProgramExit {
    int code;
};

class Reporter {
public:
    Reporter(const ConvertOptions& options, const Console& console) : options_(options), console_(console) {}

    // Run once before the process ends on an error (QuitWord).
    void SetShutdown(std::function<void()> shutdown) { shutdown_ = std::move(shutdown); }

    // systemCode: 0, an errno value, or an HRESULT (0x10000 and above) explained after the text.
    void ReportMessage(MessageId id, std::uint32_t systemCode, std::initializer_list<Insert> inserts = {});

    // Writes a format with inserts; a format that cannot be filled is written as it stands.
    void PrintFormatted(Stream stream, std::string_view format, std::initializer_list<Insert> inserts = {}) const;
    void WriteText(Stream stream, std::string_view text) const { console_.WriteText(stream, text); }

    // Ends the process: the shutdown runs, then ProgramExit carries the code out.
    [[noreturn]] void EndProcess(int code);

private:
    const ConvertOptions& options_;
    const Console& console_;
    std::function<void()> shutdown_;
};

} // namespace wordstrip
