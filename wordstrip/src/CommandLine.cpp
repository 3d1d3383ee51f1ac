#include "CommandLine.h"

#include "Formats.h"
#include "PathLimits.h"
#include "ResolvePath.h"
#include "SystemError.h"
#include "TextCompare.h"
#include "UsageWriter.h"
#include "VersionWriter.h"

#include <array>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace wordstrip {
namespace {

struct OptionEntry {
    char id;
    bool takesParameter;
    std::string_view letters;
    std::string_view longName;
};

constexpr std::array<OptionEntry, 18> kOptions{{
    {'f', true, "f", "format"},
    {'o', true, "o", "outdir"},
    {'O', false, "O", "origdir"},
    {'e', true, "e", "change-extension"},
    {'E', true, "E", "append-extension"},
    {'s', false, "s", "stdout"},
    {'c', false, "c", "no-cygwin-path"},
    {'r', false, "r", "recursive"},
    {'w', false, "w", "overwrite"},
    {'k', false, "k", "skip-existing"},
    {'P', true, "P", "progid"},
    {'S', false, "S", "remove-style"},
    {'C', false, "C", "remove-comment"},
    {'W', false, "W", "exit-on-warning"},
    {'q', false, "q", "quiet"},
    {'D', false, "D", "debug"},
    {'v', false, "v", "version"},
    {'h', false, "h?", "help"},
}};

const OptionEntry* FindLetter(char letter)
{
    for (const auto& entry : kOptions)
        if (entry.letters.find(letter) != std::string_view::npos) return &entry;
    return nullptr;
}

const OptionEntry* FindLongName(std::string_view name)
{
    for (const auto& entry : kOptions)
        if (entry.longName == name) return &entry;
    return nullptr;
}

enum class OptionEvent { Found, BadCluster, InvalidLetter, MissingParameter, ParameterNotAllowed };
enum class HandlerResult { Applied, NotAnOption, Failed };

// One call of the option handler.
struct OptionCall {
    OptionEvent event;
    char letter;                                  // the option's identifying letter, or '\0'
    std::optional<std::string_view> parameter;
    std::string_view argument;                    // as typed
    std::optional<std::string_view> separateArgument; // the parameter's own argument
    bool slashForm = false;                       // the argument begins with "/"
    bool firstLetter = true;                      // the first letter of its argument
};

// What the scan has seen beyond the flags.
struct ScanState {
    bool outdirGiven = false;
    bool extensionGiven = false;
};

class OptionHandler {
public:
    OptionHandler(RunContext& ctx) : ctx_(ctx), opts_(ctx.options), reporter_(ctx.reporter) {}

    HandlerResult Handle(const OptionCall& call)
    {
        if (call.event != OptionEvent::Found) {
            // An argument that begins with "/" may be an absolute path: if its first letter is
            // not an option, it is a file; later letters that fail are ignored.
            if (call.slashForm) return call.firstLetter ? HandlerResult::NotAnOption : HandlerResult::Applied;
            switch (call.event) {
            case OptionEvent::BadCluster: reporter_.ReportMessage(msg::Unexpected, 0, {call.argument}); break;
            case OptionEvent::InvalidLetter:
                reporter_.ReportMessage(msg::InvalidOption, 0, {call.argument, call.letter});
                break;
            case OptionEvent::MissingParameter: reporter_.ReportMessage(msg::MissingParameter, 0, {call.argument}); break;
            case OptionEvent::ParameterNotAllowed:
                reporter_.ReportMessage(msg::ParameterNotAllowed, 0, {call.argument});
                break;
            case OptionEvent::Found: break;
            }
            return HandlerResult::Failed;
        }
        call_ = &call;
        Apply(call.letter, call.parameter.value_or(std::string_view()));
        return HandlerResult::Applied;
    }

private:
    void Conflict(char other)
    {
        if (call_->separateArgument)
            reporter_.ReportMessage(msg::ConflictSeparate, 0, {call_->argument, *call_->separateArgument, other});
        else
            reporter_.ReportMessage(msg::Conflict, 0, {call_->argument, other});
    }
    void UsedTwice()
    {
        if (call_->separateArgument)
            reporter_.ReportMessage(msg::UsedTwiceSeparate, 0, {call_->argument, *call_->separateArgument});
        else
            reporter_.ReportMessage(msg::UsedTwice, 0, {call_->argument});
    }
    void Invalid(std::string_view parameter, std::uint32_t code)
    {
        reporter_.ReportMessage(msg::InvalidParameter, code, {call_->argument, parameter});
    }
    void RequireParameter(std::string_view parameter)
    {
        if (parameter.empty()) reporter_.ReportMessage(msg::MissingParameter, 0, {call_->argument});
    }
    void Refuse(char letter, bool given)
    {
        if (given) Conflict(letter);
    }
    bool Has(std::uint32_t f) const { return opts_.Has(f); }

    void Apply(char letter, std::string_view parameter)
    {
        switch (letter) {
        case 'f': {
            RequireParameter(parameter);
            const auto index = LookupFormat(parameter);
            if (!index) Invalid(parameter, 0);
            if (opts_.formatIndex != -1 && opts_.formatIndex != *index) UsedTwice();
            opts_.formatIndex = *index;
            break;
        }
        case 'o': {
            RequireParameter(parameter);
            Refuse('s', Has(flag::Stdout));
            Refuse('O', Has(flag::OrigDir));
            const auto resolved = ResolvePath(parameter, !Has(flag::NoCygwinPath), kMaxOutputFolder);
            std::string folder = resolved ? resolved->path : std::string();
            if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
            // Paths on this system are case-sensitive: folders differing in case differ.
            if (state_.outdirGiven && std::filesystem::path(folder).lexically_normal() !=
                                          std::filesystem::path(opts_.outputFolder).lexically_normal())
                UsedTwice();
            if (!resolved) Invalid(parameter, static_cast<std::uint32_t>(LastError()));
            struct stat st {};
            if (::stat(folder.c_str(), &st) != 0) Invalid(parameter, static_cast<std::uint32_t>(errno));
            if (!S_ISDIR(st.st_mode)) Invalid(parameter, ENOTDIR);
            opts_.outputFolder = folder;
            state_.outdirGiven = true;
            break;
        }
        case 'O':
            Refuse('s', Has(flag::Stdout));
            Refuse('o', state_.outdirGiven);
            opts_.flags |= flag::OrigDir;
            break;
        case 'e':
        case 'E': {
            RequireParameter(parameter);
            Refuse('s', Has(flag::Stdout));
            const bool append = letter == 'E';
            Refuse(append ? 'e' : 'E', state_.extensionGiven && Has(flag::AppendExtension) != append);
            std::string_view ext = parameter;
            if (ext.starts_with('.')) ext.remove_prefix(1);
            if (ext.size() >= 39) Invalid(parameter, ENAMETOOLONG);
            if (ext.find_first_of(":\\/<>|*?") != std::string_view::npos) Invalid(parameter, EINVAL);
            const std::string extension = "." + std::string(ext);
            if (state_.extensionGiven && extension != opts_.outputExtension) UsedTwice();
            opts_.outputExtension = extension;
            state_.extensionGiven = true;
            if (append) opts_.flags |= flag::AppendExtension;
            break;
        }
        case 's':
            Refuse('O', Has(flag::OrigDir));
            Refuse('o', state_.outdirGiven);
            Refuse('E', state_.extensionGiven && Has(flag::AppendExtension));
            Refuse('e', state_.extensionGiven && !Has(flag::AppendExtension));
            Refuse('w', Has(flag::Overwrite));
            Refuse('k', Has(flag::SkipExisting));
            opts_.flags |= flag::Stdout;
            break;
        case 'w':
            Refuse('s', Has(flag::Stdout));
            Refuse('k', Has(flag::SkipExisting));
            opts_.flags |= flag::Overwrite;
            break;
        case 'k':
            Refuse('s', Has(flag::Stdout));
            Refuse('w', Has(flag::Overwrite));
            opts_.flags |= flag::SkipExisting;
            break;
        case 'P':
            if (opts_.progId && !EqualsIgnoreCase(*opts_.progId, parameter)) UsedTwice();
            if (!opts_.progId) opts_.progId = std::string(parameter);
            break;
        case 'c': opts_.flags |= flag::NoCygwinPath; break;
        case 'r': opts_.flags |= flag::Recursive; break;
        case 'S': opts_.flags |= flag::RemoveStyle; break;
        case 'C': opts_.flags |= flag::RemoveComment; break;
        case 'W': opts_.flags |= flag::ExitOnWarning; break;
        case 'q': opts_.flags |= flag::Quiet; break;
        case 'D': opts_.flags |= flag::Debug; break;
        case 'v': WriteVersion(ctx_); break;
        case 'h': WriteUsage(ctx_, true); break;
        default: break;
        }
    }

    RunContext& ctx_;
    ConvertOptions& opts_;
    Reporter& reporter_;
    ScanState state_;
    const OptionCall* call_ = nullptr;
};

// On this system nearly every absolute path begins with "/", so such an argument is read as
// short options only when it could not be a path: it has no second "/" and names nothing
// that exists ("/q" is the quiet option, "/home/a.doc" is a file).
bool IsSlashPath(const std::string& arg)
{
    if (arg.size() < 2) return false;
    if (arg.find('/', 1) != std::string::npos) return true;
    struct stat st {};
    return ::lstat(arg.c_str(), &st) == 0;
}

} // namespace

size_t ParseCommandLine(RunContext& ctx, std::vector<std::string>& args)
{
    if (args.size() < 2) WriteUsage(ctx, false);

    OptionHandler handler(ctx);
    std::vector<std::string> options{args.empty() ? std::string() : args[0]};
    std::vector<std::string> files;
    bool endOfOptions = false;

    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (endOfOptions) {
            files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            endOfOptions = true;
            options.push_back(arg);
            continue;
        }
        if (arg.starts_with("--")) {
            const std::string_view body = std::string_view(arg).substr(2);
            const size_t eq = body.find('=');
            const OptionEntry* entry = FindLongName(body.substr(0, eq));
            OptionCall call{OptionEvent::Found, entry ? entry->id : '\0', std::nullopt, arg, std::nullopt};
            options.push_back(arg);
            if (!entry) {
                call.event = OptionEvent::InvalidLetter;
            } else if (eq != std::string_view::npos) {
                if (entry->takesParameter)
                    call.parameter = body.substr(eq + 1);
                else
                    call.event = OptionEvent::ParameterNotAllowed;
            } else if (entry->takesParameter) {
                if (i + 1 < args.size()) {
                    ++i;
                    call.parameter = args[i];
                    call.separateArgument = args[i];
                    options.push_back(args[i]);
                } else {
                    call.event = OptionEvent::MissingParameter;
                }
            }
            handler.Handle(call);
            continue;
        }
        const bool slash = arg.starts_with('/');
        if (!(slash || arg.starts_with('-')) || (slash && IsSlashPath(arg))) {
            files.push_back(arg);
            continue;
        }
        OptionCall call{OptionEvent::Found, '\0', std::nullopt, arg, std::nullopt, slash, true};
        if (arg.size() == 1) {
            // A lone "-" or "/" names no option at all.
            call.event = OptionEvent::InvalidLetter;
            call.slashForm = false;
            handler.Handle(call);
            continue;
        }
        const OptionEntry* first = FindLetter(arg[1]);
        call.letter = first ? first->id : arg[1];
        bool consumedNext = false;
        if (!first) {
            call.event = OptionEvent::InvalidLetter;
        } else if (first->takesParameter) {
            if (arg.size() > 2) {
                call.parameter = std::string_view(arg).substr(2);
            } else if (i + 1 < args.size()) {
                call.parameter = args[i + 1];
                call.separateArgument = args[i + 1];
                consumedNext = true;
            } else {
                call.event = OptionEvent::MissingParameter;
            }
        } else {
            for (size_t k = 2; k < arg.size(); ++k) {
                const OptionEntry* later = FindLetter(arg[k]);
                if (later && later->takesParameter) call.event = OptionEvent::BadCluster;
            }
        }
        if (handler.Handle(call) == HandlerResult::NotAnOption) {
            files.push_back(arg);
            continue;
        }
        options.push_back(arg);
        if (consumedNext) options.push_back(args[++i]);
        if (first && !first->takesParameter && call.event == OptionEvent::Found) {
            for (size_t k = 2; k < arg.size(); ++k) {
                const OptionEntry* entry = FindLetter(arg[k]);
                OptionCall next{entry ? OptionEvent::Found : OptionEvent::InvalidLetter, entry ? entry->id : arg[k],
                                std::nullopt, arg, std::nullopt, slash, false};
                handler.Handle(next);
            }
        }
    }

    const size_t firstFile = options.size();
    options.insert(options.end(), files.begin(), files.end());
    args = std::move(options);
    return firstFile;
}

void ApplyDefaults(RunContext& ctx, size_t fileCount)
{
    ConvertOptions& opts = ctx.options;
    if (fileCount == 0) ctx.reporter.ReportMessage(msg::NoFile, 0);
    if (opts.formatIndex == -1) opts.formatIndex = 2;
    if (opts.Has(flag::Stdout)) {
        std::error_code ec;
        opts.outputFolder = std::filesystem::temp_directory_path(ec).string();
        if (ec) opts.outputFolder = "/tmp";
    } else if (!opts.Has(flag::OrigDir) && opts.outputFolder.empty()) {
        std::error_code ec;
        opts.outputFolder = std::filesystem::current_path(ec).string();
        if (ec) ctx.reporter.ReportMessage(msg::Unexpected, static_cast<std::uint32_t>(ec.value()));
    }
    if (!opts.Has(flag::OrigDir) && !opts.outputFolder.ends_with('/')) opts.outputFolder += '/';
    if (opts.outputExtension.empty())
        opts.outputExtension = "." + std::string(SaveFormats()[static_cast<size_t>(opts.formatIndex)].extension);
}

} // namespace wordstrip
