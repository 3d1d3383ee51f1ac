#pragma once
// Output under -s: the office saves into a new temporary file "doc..." in the temporary folder,
// whose bytes are then copied to standard output; the file (and, for HTML, its ".files" folder)
// is always deleted.

#include "RunContext.h"

#include <optional>
#include <string>

namespace wordstrip {

class StdoutTemporary {
public:
    // Creates the empty temporary file; on failure reports 0x8FF10006 and gives nothing.
    static std::optional<StdoutTemporary> Create(RunContext& ctx);

    StdoutTemporary(StdoutTemporary&& other) noexcept;
    StdoutTemporary& operator=(StdoutTemporary&&) = delete;
    ~StdoutTemporary(); // removes what is left

    const std::string& Path() const { return path_; }

    // Copies the file to standard output (unless the run was aborted), removes it, and reports
    // 0x8FF10006 when the copy failed.
    void Deliver();
    // Deletes the file and, for HTML outside debug mode, its ".files" folder.
    void Remove();

private:
    StdoutTemporary(RunContext& ctx, std::string path) : ctx_(&ctx), path_(std::move(path)) {}
    RunContext* ctx_;
    std::string path_;
    bool removed_ = false;
};

// Copies a file's bytes to standard output, stopping at its end, at a failure or at an abort.
// Returns the number of bytes written; `error` receives the errno of a failure, else 0.
std::size_t CopyToStdout(const RunContext& ctx, const std::string& path, int& error);

} // namespace wordstrip
