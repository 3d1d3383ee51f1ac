#include "ProcessArgument.h"

#include "Abort.h"
#include "PathLimits.h"
#include "ResolvePath.h"
#include "SystemError.h"
#include "Wildcard.h"
#include "WordAutomation.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace wordstrip {
namespace {

struct Entry {
    std::string name;
    bool folder;  // a real folder (a link to one is not descended into)
    bool regular; // a file, or a link to one
};

// The folder's entries in name order, "." and ".." left out; false (errno set) when it
// cannot be listed.
bool ListFolder(const std::string& folder, std::vector<Entry>& entries)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return false;
    while (const dirent* d = ::readdir(dir)) {
        const std::string name = d->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = folder + name;
        struct stat own {}, target {};
        if (::lstat(path.c_str(), &own) != 0) continue;
        const bool followed = ::stat(path.c_str(), &target) == 0;
        entries.push_back({name, S_ISDIR(own.st_mode), followed && S_ISREG(target.st_mode)});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return true;
}

class Search {
public:
    Search(RunContext& ctx, std::string typedPattern) : ctx_(ctx), typedPattern_(std::move(typedPattern)) {}

    // Converts the files of one folder that match the pattern, then (with -r) descends.
    std::size_t Level(const std::string& folder, const std::string& pattern)
    {
        if (ctx_.options.Has(flag::Debug))
            ctx_.reporter.PrintFormatted(Stream::Out, "DEBUG: Searching \"%1\"...\n", {folder + pattern});
        std::size_t count = 0;
        const bool wildcards = HasWildcards(pattern);
        const bool recursive = ctx_.options.Has(flag::Recursive);
        std::vector<Entry> entries;
        if ((wildcards || recursive) && !ListFolder(folder, entries)) NoteError(errno);
        if (wildcards) {
            for (const Entry& entry : entries) {
                if (Aborting()) return count;
                if (!entry.regular || !MatchWildcard(pattern, entry.name)) continue;
                count += Convert(folder, entry.name);
            }
        } else {
            // A plain name is looked up directly: its folder need not be readable.
            struct stat st {};
            if (::stat((folder + pattern).c_str(), &st) != 0)
                NoteError(errno);
            else if (S_ISREG(st.st_mode))
                count += Convert(folder, pattern);
        }
        if (!recursive) return count;
        for (const Entry& entry : entries) {
            if (Aborting()) return count;
            if (!entry.folder) continue;
            if (folder.size() + entry.name.size() + 1 + typedPattern_.size() + 1 > kMaxPath) {
                ctx_.reporter.ReportMessage(msg::OutputNameTooLong, 0, {folder + entry.name});
                continue;
            }
            count += Level(folder + entry.name + "/", typedPattern_);
        }
        return count;
    }

    int SearchError() const { return searchError_; }

private:
    std::size_t Convert(const std::string& folder, const std::string& name)
    {
        if (folder.size() + name.size() + 1 > kMaxPath) {
            ctx_.reporter.ReportMessage(msg::OutputNameTooLong, 0, {folder});
            return 0;
        }
        ConvertFile(ctx_, folder + name);
        return 1;
    }
    void NoteError(int error)
    {
        if (searchError_ == 0) searchError_ = error;
    }

    RunContext& ctx_;
    std::string typedPattern_;
    int searchError_ = 0;
};

} // namespace

std::size_t ProcessArgument(RunContext& ctx, const std::string& argument)
{
    if (Aborting()) return 0;
    const auto resolved = ResolvePath(argument, !ctx.options.Has(flag::NoCygwinPath));
    if (!resolved) ctx.reporter.ReportMessage(msg::Unexpected, static_cast<std::uint32_t>(LastError()));

    // Sub-folders are searched with the last component as it was typed.
    const size_t cut = argument.find_last_of("\\/:");
    Search search(ctx, cut == std::string::npos ? argument : argument.substr(cut + 1));
    const std::string folder = resolved->path.substr(0, resolved->lastComponent);
    const std::string pattern = resolved->path.substr(resolved->lastComponent);
    const std::size_t count = search.Level(folder, pattern);
    if (count == 0) SetLastError(search.SearchError() != 0 ? search.SearchError() : ENOENT);
    return count;
}

} // namespace wordstrip
