#pragma once
// Whole-file reading and writing. A write goes to a temporary file in the target's folder
// which is then renamed over the target, so a reader (or a crash) only ever sees the old
// file or the new one, never a half-written one.
//
// There is no fsync: tables are released many times per click (every project-folder lookup
// writes "projects.tbl" back), and a sync per write made start-up with a few hundred projects
// take seconds. A process killed at any point leaves the old or the new file; after a power
// cut that holds where the file system orders a rename after the data it replaces (ext4's
// default, btrfs).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace folio {

// The file's bytes; throws folio::Error naming the file when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& file);
// The file's bytes, or nothing when the file does not exist. Other failures throw.
std::optional<std::string> ReadFileIfExists(const std::filesystem::path& file);
// Replaces the file atomically; throws folio::Error naming the file on failure, leaving the
// old file as it was and no temporary file behind.
void WriteFileAtomic(const std::filesystem::path& file, std::string_view bytes);

// Test hook: called between writing the temporary file and the rename.
using BeforeRenameHook = void (*)(const std::filesystem::path& temporaryFile);
void SetBeforeRenameHookForTesting(BeforeRenameHook hook);

} // namespace folio
