#include "Reporter.h"

#include "MessageTable.h"
#include "SystemError.h"

#include <span>

namespace wordstrip {

void Reporter::PrintFormatted(Stream stream, std::string_view format, std::initializer_list<Insert> inserts) const
{
    const auto text = FormatMessageText(format, std::span<const Insert>(inserts.begin(), inserts.size()));
    console_.WriteText(stream, text ? std::string_view(*text) : format);
}

void Reporter::EndProcess(int code)
{
    if (shutdown_) {
        // Taken out first: a warning raised while shutting down must not shut down again.
        auto shutdown = std::move(shutdown_);
        shutdown_ = nullptr;
        shutdown();
    }
    throw ProgramExit{code};
}

void Reporter::ReportMessage(MessageId id, std::uint32_t systemCode, std::initializer_list<Insert> inserts)
{
    const Severity severity = SeverityOf(id);
    const bool plain = severity == Severity::Success || severity == Severity::Informational;
    const Stream stream = plain || options_.Has(flag::Debug) ? Stream::Out : Stream::Err;

    if (options_.Has(flag::Quiet)) {
        if (severity == Severity::Success) return;
        if (severity == Severity::Warning && !options_.Has(flag::ExitOnWarning)) return;
    }

    const std::string_view severityName = severity == Severity::Error ? "Error" : "Warning";
    if (const auto format = LookupMessage(id)) {
        if (!plain) PrintFormatted(stream, "%1: ", {severityName});
        // The filled text goes out as it is: a "%" that came in with a file name stays a "%".
        const auto text = FormatMessageText(*format, std::span<const Insert>(inserts.begin(), inserts.size()));
        WriteText(stream, text ? std::string_view(*text) : *format);
    } else {
        if (plain) return;
        PrintFormatted(stream, "%1 0x%2!08x! has occurred.\n", {severityName, static_cast<long long>(id)});
    }
    if (plain) return;

    if (systemCode != 0) {
        if (systemCode >= 0x10000)
            PrintFormatted(stream, "[%1!08x!] ", {static_cast<long long>(systemCode)});
        else
            PrintFormatted(stream, "[%1!d!] ", {static_cast<long long>(systemCode)});
        const auto description = DescribeSystemCode(systemCode);
        WriteText(stream, description ? *description + "\n" : std::string("(Unknown error)\n"));
    }

    if (severity == Severity::Error || options_.Has(flag::ExitOnWarning)) EndProcess(3);
}

} // namespace wordstrip
