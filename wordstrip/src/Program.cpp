#include "Program.h"

#include "Abort.h"
#include "CommandLine.h"
#include "Formats.h"
#include "ProcessArgument.h"
#include "RunContext.h"
#include "SystemError.h"
#include "WordAutomation.h"

#include <csignal>
#include <new>

namespace wordstrip {
namespace {

void WriteDebugDump(RunContext& ctx, const std::vector<std::string>& args, size_t firstFile)
{
    const ConvertOptions& opts = ctx.options;
    Reporter& r = ctx.reporter;
    r.WriteText(Stream::Out, "DEBUG: Working in debug mode.\n\n");
    r.PrintFormatted(Stream::Out, "DEBUG: %1!d! arguments to be processed", {static_cast<long long>(args.size() - firstFile)});
    if (opts.Has(flag::Recursive)) r.WriteText(Stream::Out, " recursively");
    r.WriteText(Stream::Out, ".\n");
    for (size_t i = firstFile; i < args.size(); ++i)
        r.PrintFormatted(Stream::Out, "DEBUG:   argv[%1!d!] = %2%n", {static_cast<long long>(i), args[i]});
    r.PrintFormatted(Stream::Out, "DEBUG: Output format: %1!d! (%2)%n",
                     {static_cast<long long>(opts.formatIndex), SaveFormats()[static_cast<size_t>(opts.formatIndex)].names[0]});
    r.PrintFormatted(Stream::Out, "DEBUG: Output directory: %1%n",
                     {opts.outputFolder.empty() ? std::string_view("(input directory)") : std::string_view(opts.outputFolder)});
    r.PrintFormatted(Stream::Out, "DEBUG: Output extension: %1%2",
                     {opts.outputExtension, std::string_view(opts.Has(flag::AppendExtension) ? " (append)" : "")});
    r.WriteText(Stream::Out, "\n\n");
}

int MainSequence(RunContext& ctx, std::vector<std::string>& args)
{
    const size_t firstFile = ParseCommandLine(ctx, args);
    ApplyDefaults(ctx, args.size() - firstFile);
    if (ctx.options.Has(flag::Debug)) WriteDebugDump(ctx, args, firstFile);
    InstallAbortHandler();

    bool anyFailed = false;
    for (size_t i = firstFile; i < args.size() && !Aborting(); ++i) {
        if (ProcessArgument(ctx, args[i]) != 0) continue;
        if (Aborting()) break; // stopped before it could search: not a missing file
        anyFailed = true;
        ctx.reporter.ReportMessage(msg::FileNotFound, static_cast<std::uint32_t>(LastError()), {args[i]});
    }
    QuitWord(ctx);
    if (Aborting()) {
        ctx.reporter.ReportMessage(msg::Aborted, 0);
        return 3;
    }
    return anyFailed ? 1 : 0;
}

} // namespace

int RunWordstrip(std::vector<std::string> args, ClassRegistry classes)
{
    // A reader that goes away (a closed pipe) must not kill the run: writes just fail.
    std::signal(SIGPIPE, SIG_IGN);

    RunContext ctx(std::move(classes), Console::Standard());
    ctx.programName = args.empty() ? std::string("wordstrip") : args[0].substr(args[0].rfind('/') + 1);
    ctx.reporter.SetShutdown([&ctx] { QuitWord(ctx); });
    try {
        try {
            return MainSequence(ctx, args);
        } catch (const std::bad_alloc&) {
            ctx.reporter.ReportMessage(msg::NoMemory, 0);
        }
    } catch (const ProgramExit& exit) {
        return exit.code;
    }
    return 3;
}

} // namespace wordstrip
