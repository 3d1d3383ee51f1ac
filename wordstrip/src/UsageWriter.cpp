#include "UsageWriter.h"

#include "MessageTable.h"
#include "SystemError.h"

namespace wordstrip {

[[noreturn]] void WriteUsage(RunContext& ctx, bool longUsage)
{
    const auto format = LookupMessage(longUsage ? msg::LongUsage : msg::ShortUsage);
    const Insert name{std::string_view(ctx.programName)};
    const auto text = format ? FormatMessageText(*format, std::span<const Insert>(&name, 1)) : std::nullopt;
    if (!text) ctx.reporter.ReportMessage(msg::Unexpected, static_cast<std::uint32_t>(LastError()));
    ctx.reporter.WriteText(longUsage ? Stream::Out : Stream::Err, *text);
    ctx.reporter.EndProcess(longUsage ? 0 : 1);
}

} // namespace wordstrip
