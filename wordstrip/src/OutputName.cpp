#include "OutputName.h"

#include "Abort.h"
#include "PathLimits.h"

#include <sys/stat.h>

namespace wordstrip {
namespace {

bool Exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool TooLong(const std::string& path) { return path.size() + 1 > kMaxPath; }

// Room for the shortest suffix of a unique name, " (1)" and a dot.
constexpr std::size_t kUniqueSuffixRoom = 5;

} // namespace

std::optional<std::string> MakeOutputName(RunContext& ctx, const std::string& input)
{
    const ConvertOptions& opts = ctx.options;
    Reporter& reporter = ctx.reporter;

    std::string name = opts.Has(flag::OrigDir) ? input : opts.outputFolder + input.substr(input.rfind('/') + 1);
    if (TooLong(name)) {
        reporter.ReportMessage(msg::OutputNameTooLong, 0, {input});
        return std::nullopt;
    }
    const size_t fileStart = name.rfind('/') + 1;
    if (!opts.Has(flag::AppendExtension)) {
        const size_t dot = name.rfind('.');
        if (dot != std::string::npos && dot >= fileStart) name.resize(dot);
    }
    name += opts.outputExtension;
    if (TooLong(name)) {
        reporter.ReportMessage(msg::OutputNameTooLong, 0, {input});
        return std::nullopt;
    }
    if (!Exists(name)) return name;
    if (opts.Has(flag::Overwrite)) return name;
    if (opts.Has(flag::SkipExisting)) {
        reporter.ReportMessage(msg::OutputExists, 0, {input, name});
        return std::nullopt;
    }

    if (TooLong(name + std::string(kUniqueSuffixRoom, ' '))) {
        reporter.ReportMessage(msg::OutputNameTooLong, 0, {input});
        return std::nullopt;
    }
    if (opts.Has(flag::Debug))
        reporter.PrintFormatted(Stream::Out, "DEBUG: Output file \"%1\" exists, creating a unique name.\n", {name});
    size_t insertAt = name.find('.', fileStart);
    if (insertAt == std::string::npos) insertAt = name.size();
    const std::string stem = name.substr(0, insertAt);
    const std::string suffix = name.substr(insertAt);
    for (int n = 1; n <= 100; ++n) {
        if (Aborting()) return std::nullopt;
        std::string candidate = stem + " (" + std::to_string(n) + ")" + suffix;
        // Longer numbers make longer names: each one is checked against the limit.
        if (TooLong(candidate)) {
            reporter.ReportMessage(msg::OutputNameTooLong, 0, {input});
            return std::nullopt;
        }
        if (!Exists(candidate)) return candidate;
    }
    reporter.ReportMessage(msg::NoUniqueName, 0);
    return std::nullopt;
}

} // namespace wordstrip
